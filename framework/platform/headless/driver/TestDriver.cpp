#include "framework/platform/headless/driver/TestDriver.h"

#include "framework/application/RkApplication.h"
#include "framework/platform/headless/HeadlessApplicationImp.h"
#include "framework/platform/headless/HeadlessMenuBarImp.h"
#include "framework/platform/posix/FileImpPosix.h"

namespace {

void CollectControls(const CRkHeadlessNode* node, std::vector<CRkHeadlessNode*>& out)
{
    for (CRkHeadlessNode* child : node->GetChildren()) {
        out.push_back(child);
        CollectControls(child, out);
    }
}

} // namespace

CRkTestDriver::CRkTestDriver() : m_loop(nullptr)
{
    if (CRkApplication* application = CRkApplication::Get())
        m_loop = dynamic_cast<CRkHeadlessApplicationImp*>(application->GetImp());
}

CRkTestDriver::CRkTestDriver(CRkHeadlessApplicationImp* loop) : m_loop(loop)
{
}

CRkString CRkTestDriver::FromUtf8(const char* text)
{
    CRkString out;
    if (text)
        NativePathToUnits(text, std::char_traits<char>::length(text), out);
    return out;
}

std::string CRkTestDriver::ToUtf8(const CRkString& text)
{
    std::string out;
    UnitsToNativePath(text, out);
    return out;
}

std::vector<CRkHeadlessWindowImp*> CRkTestDriver::GetVisibleWindows() const
{
    return GetDesktop().GetVisibleWindows();
}

CRkHeadlessWindowImp* CRkTestDriver::FindWindow(const CRkString& title) const
{
    for (CRkHeadlessWindowImp* window : GetDesktop().GetWindows())
        if (window->IsVisible() && window->GetText().Compare(title, true) == 0)
            return window;
    return nullptr;
}

CRkHeadlessWindowImp* CRkTestDriver::FindAnyWindow(const CRkString& title) const
{
    for (CRkHeadlessWindowImp* window : GetDesktop().GetWindows())
        if (window->GetText().Compare(title, true) == 0)
            return window;
    return nullptr;
}

CRkHeadlessWindowImp* CRkTestDriver::GetActiveWindow() const
{
    return GetDesktop().GetActiveWindow();
}

std::string CRkTestDriver::GetTitle(const CRkHeadlessWindowImp* window)
{
    return window ? ToUtf8(window->GetText()) : std::string();
}

std::vector<CRkHeadlessNode*> CRkTestDriver::GetControls(const CRkHeadlessNode* window)
{
    std::vector<CRkHeadlessNode*> controls;
    if (window)
        CollectControls(window, controls);
    return controls;
}

CRkHeadlessNode* CRkTestDriver::FindControl(const CRkHeadlessNode* window, uint32_t id)
{
    for (CRkHeadlessNode* control : GetControls(window))
        if (control->GetId() == id)
            return control;
    return nullptr;
}

CRkHeadlessNode* CRkTestDriver::FindControlByText(const CRkHeadlessNode* window, const char* textUtf8)
{
    return FindControlByText(window, FromUtf8(textUtf8));
}

CRkHeadlessNode* CRkTestDriver::FindControlByText(const CRkHeadlessNode* window, const CRkString& text)
{
    for (CRkHeadlessNode* control : GetControls(window))
        if (control->GetText().Compare(text, true) == 0)
            return control;
    return nullptr;
}

CRkHeadlessNode* CRkTestDriver::GetFocusedControl(const CRkHeadlessNode* window)
{
    return window ? window->GetFocusedNode() : nullptr;
}

std::string CRkTestDriver::GetText(const CRkHeadlessNode* node)
{
    return node ? ToUtf8(node->GetText()) : std::string();
}

bool CRkTestDriver::PressCloseBox(CRkHeadlessWindowImp* window)
{
    if (!window || !window->IsVisible() || !(window->GetFlags() & kWindowCloseBox))
        return false;
    window->GetWindowHost().OnCloseRequest();
    return true;
}

bool CRkTestDriver::MoveWindow(CRkHeadlessWindowImp* window, int32_t x, int32_t y)
{
    if (!window || !window->IsVisible())
        return false;
    RkRect outer = window->GetOuterBounds();
    outer.x = x;
    outer.y = y;
    window->SetOuterBounds(outer);
    window->GetWindowHost().OnMoved(outer);
    return true;
}

bool CRkTestDriver::ResizeWindow(CRkHeadlessWindowImp* window, int32_t width, int32_t height)
{
    if (!window || !window->IsVisible() || !(window->GetFlags() & kWindowResizable) || width < 0 || height < 0)
        return false;
    RkRect outer = window->GetOuterBounds();
    outer.width = width;
    outer.height = height;
    window->SetOuterBounds(outer);
    window->GetWindowHost().OnMoved(outer);
    return true;
}

bool CRkTestDriver::ActivateWindow(CRkHeadlessWindowImp* window)
{
    if (!window || !window->IsVisible())
        return false;
    GetDesktop().Raise(window);
    GetDesktop().Activate(window);
    return true;
}

CRkHeadlessWindowImp* CRkTestDriver::WindowOrActive(CRkHeadlessWindowImp* window) const
{
    return window ? window : GetActiveWindow();
}

bool CRkTestDriver::OpenMenu(CRkHeadlessWindowImp* window)
{
    window = WindowOrActive(window);
    if (!window || !window->IsVisible() || !window->GetMenuBar())
        return false;
    window->GetMenuBar()->GetHost().OnMenuOpening();
    return true;
}

bool CRkTestDriver::ChooseMenuItem(CRkHeadlessWindowImp* window, uint32_t command)
{
    window = WindowOrActive(window);
    if (!OpenMenu(window))
        return false;
    // Opening may have installed the bar again: ask the one shown now.
    CRkHeadlessMenuBarImp* menuBar = window->GetMenuBar();
    if (!menuBar)
        return false;
    CRkHeadlessMenuBarImp::ItemState state;
    if (menuBar->GetItemState(command, state) && !state.enabled)
        return false;
    menuBar->GetHost().OnMenuCommand(command);
    return true;
}

bool CRkTestDriver::GetMenuItemState(CRkHeadlessWindowImp* window, uint32_t command, bool& enabled, bool& checked) const
{
    window = WindowOrActive(window);
    if (!window || !window->GetMenuBar())
        return false;
    CRkHeadlessMenuBarImp::ItemState state;
    if (!window->GetMenuBar()->GetItemState(command, state))
        return false;
    enabled = state.enabled;
    checked = state.checked;
    return true;
}

std::vector<RkDrawOp> CRkTestDriver::Paint(CRkHeadlessNode* node)
{
    std::vector<RkDrawOp> list;
    if (node)
        node->PaintSelf(list, 0, 0);
    return list;
}

std::vector<RkDrawOp> CRkTestDriver::PaintWindow(CRkHeadlessWindowImp* window)
{
    std::vector<RkDrawOp> list;
    if (window)
        window->PaintTree(list, 0, 0);
    return list;
}

uint32_t CRkTestDriver::PaintDirty()
{
    uint32_t painted = 0;
    for (CRkHeadlessWindowImp* window : GetVisibleWindows())
        painted += window->PaintDirty();
    return painted;
}

bool CRkTestDriver::Settle(uint64_t maxDeliveries)
{
    if (!m_loop)
        return true;
    return m_loop->RunUntilIdle(maxDeliveries) != CRkHeadlessApplicationImp::RunEnd::Limit;
}
