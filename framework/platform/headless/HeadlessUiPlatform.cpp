#include "framework/platform/headless/HeadlessUiPlatform.h"

#include "framework/platform/headless/HeadlessDesktop.h"
#include "framework/platform/headless/HeadlessFileDialogImp.h"
#include "framework/platform/headless/HeadlessFont.h"
#include "framework/platform/headless/HeadlessImage.h"
#include "framework/platform/headless/HeadlessMenuBarImp.h"
#include "framework/platform/headless/HeadlessNode.h"
#include "framework/platform/headless/HeadlessWindowImp.h"
#include "framework/ui/RkDragImp.h"

CRkHeadlessDesktop& CRkHeadlessUiPlatform::GetDesktop() const
{
    return CRkHeadlessDesktop::Get();
}

IRkComponentImp* CRkHeadlessUiPlatform::CreateComponent(IRkComponentHost& host, uint32_t kind, uint32_t id,
                                                        IRkComponentImp& parent)
{
    return new CRkHeadlessComponentImp(host, kind, id, dynamic_cast<CRkHeadlessNode*>(&parent));
}

IRkWindowImp* CRkHeadlessUiPlatform::CreateWindow(IRkWindowHost& host, const CRkString& title, uint32_t flags,
                                                  IRkWindowImp* owner)
{
    return new CRkHeadlessWindowImp(host, title, flags, dynamic_cast<CRkHeadlessWindowImp*>(owner));
}

const IRkFontImp& CRkHeadlessUiPlatform::GetFont(uint32_t number)
{
    return HeadlessFont(number);
}

IRkImageImp* CRkHeadlessUiPlatform::CreateImage(const uint8_t* png, uint32_t size, uint32_t resourceId)
{
    return CRkHeadlessImageImp::Decode(png, size, resourceId).release();
}

IRkMenuBarImp* CRkHeadlessUiPlatform::CreateMenuBar(IRkMenuBarHost& host, IRkWindowImp& window)
{
    return new CRkHeadlessMenuBarImp(host, dynamic_cast<CRkHeadlessWindowImp*>(&window));
}

IRkFileDialogImp* CRkHeadlessUiPlatform::CreateFileDialog()
{
    return new CRkHeadlessFileDialogImp();
}

namespace {

// Types are numbered by the desktop; a drop target is a flag on the
// component's record that the driver looks at.
class CRkHeadlessDragImp final : public IRkDragImp {
public:
    uint32_t RegisterType(const CRkString& name) override { return CRkHeadlessDesktop::Get().RegisterDragType(name); }
    void SetDropTarget(IRkComponentImp& target, bool on) override
    {
        if (CRkHeadlessNode* node = dynamic_cast<CRkHeadlessNode*>(&target))
            node->SetDropTarget(on);
    }
};

} // namespace

IRkDragImp& CRkHeadlessUiPlatform::GetDrag()
{
    static CRkHeadlessDragImp drag;
    return drag;
}
