// The main window's picture: the program's version and build date drawn
// over its bottom left corner, and the drop target for source files.
#include "app/VellumixWindow.h"

#include "framework/application/RkApplication.h"
#include "framework/core/RkColor.h"
#include "framework/ui/RkDrag.h"
#include "framework/ui/RkFileDropper.h"
#include "framework/ui/RkGraphicsImp.h"
#include "framework/ui/RkImage.h"

namespace {

constexpr uint32_t kSplashImage = 1;
constexpr uint32_t kSplashHighlightImage = 2;
// The text's distance from the picture's left and bottom edges.
constexpr int32_t kTextMargin = 8;
constexpr char16_t kBuildDate[] = u"Jul  3 2008";

} // namespace

CVellumixWindow::Splash::Splash(CRkContainer* parent, uint32_t id)
    : CRkImagePanel(parent, nullptr, id),
      m_normal(CRkImage::FromResource(kSplashImage)),
      m_highlight(CRkImage::FromResource(kSplashHighlightImage)),
      m_dropper(std::make_unique<CRkFileDropper>(this))
{
    SetImage(m_normal);
    // The picture's size, even if a resource could not be read.
    SetPreferredSize(266, 246);
    RegisterDragType(CRkString(u"File"));
    m_dropper->AddSuffix(CRkString(u".lml"));
    m_dropper->AddSuffix(CRkString(u".txt"));
    AddHandler(m_dropper.get(), false);
    SetDropTarget(true);
}

CVellumixWindow::Splash::~Splash()
{
    RemoveHandler(m_dropper.get());
    SetImage(nullptr);
    if (m_normal)
        m_normal->Release();
    if (m_highlight)
        m_highlight->Release();
}

void CVellumixWindow::Splash::OnDragFeedback(bool accepting)
{
    SetImage(accepting && m_highlight ? m_highlight : m_normal);
}

void CVellumixWindow::Splash::Draw(IRkGraphicsContextImp& context)
{
    CRkImagePanel::Draw(context);
    const IRkFontImp& font = GetFont();
    const CRkColor color(7, 51, 104);
    const int32_t line = font.GetLineHeight();
    const int32_t dateTop = GetSize().height - kTextMargin - line;
    CRkString version(u"Version ");
    if (CRkApplication* app = CRkApplication::Get())
        version.Append(app->GetVersion());
    context.DrawText(kTextMargin, dateTop - line, version, color, font);
    context.DrawText(kTextMargin, dateTop, CRkString(kBuildDate), color, font);
}
