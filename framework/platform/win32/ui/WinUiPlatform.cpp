#include "framework/platform/win32/ui/WinUiPlatform.h"

#include "framework/platform/win32/Win32Api.h"

#include <commctrl.h>

#include "framework/platform/win32/Win32Platform.h"
#include "framework/platform/win32/ui/WinComponentImp.h"
#include "framework/platform/win32/ui/WinMenuBarImp.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/platform/win32/ui/WinWindowImp.h"

namespace {

void* MessageBoxOwner()
{
    return GetActiveFrameworkWindow();
}

} // namespace

CRkWinUiPlatform::CRkWinUiPlatform()
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    SetWin32MessageBoxOwner(&MessageBoxOwner);
}

CRkWinUiPlatform::~CRkWinUiPlatform()
{
    SetWin32MessageBoxOwner(nullptr);
}

IRkComponentImp* CRkWinUiPlatform::CreateComponent(IRkComponentHost& host, uint32_t kind, uint32_t id,
                                                   IRkComponentImp& parent)
{
    return new CRkWinComponentImp(host, kind, id, GetWinComponentHandle(parent));
}

IRkWindowImp* CRkWinUiPlatform::CreateWindow(IRkWindowHost& host, const CRkString& title, uint32_t flags,
                                             IRkWindowImp* owner)
{
    return new CRkWinWindowImp(host, title, flags, owner ? GetWinComponentHandle(*owner) : nullptr);
}

const IRkFontImp& CRkWinUiPlatform::GetFont(uint32_t number)
{
    return GetWinFont(number);
}

IRkImageImp* CRkWinUiPlatform::CreateImage(const uint8_t* png, uint32_t size, uint32_t resourceId)
{
    return CreateWinImage(png, size, resourceId);
}

IRkMenuBarImp* CRkWinUiPlatform::CreateMenuBar(IRkMenuBarHost& host, IRkWindowImp& window)
{
    return new CRkWinMenuBarImp(host, dynamic_cast<CRkWinWindowImp*>(&window));
}

IRkFileDialogImp* CRkWinUiPlatform::CreateFileDialog()
{
    return CreateWinFileDialog();
}

IRkDragImp& CRkWinUiPlatform::GetDrag()
{
    return GetWinDrag();
}
