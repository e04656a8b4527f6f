// The UI platform on Windows: native controls and top-level windows, GDI
// fonts, images and painting, Win32 menus, the common file dialogs and OLE
// drag and drop.
#pragma once

#include "framework/ui/RkUiPlatform.h"

class CRkWinUiPlatform final : public IRkUiPlatform {
public:
    // Initializes the common controls (progress bars, bars, the standard
    // controls) and makes message boxes owned by the active framework window.
    CRkWinUiPlatform();
    ~CRkWinUiPlatform() override;

    IRkComponentImp* CreateComponent(IRkComponentHost& host, uint32_t kind, uint32_t id,
                                     IRkComponentImp& parent) override;
    IRkWindowImp* CreateWindow(IRkWindowHost& host, const CRkString& title, uint32_t flags,
                               IRkWindowImp* owner) override;
    const IRkFontImp& GetFont(uint32_t number) override;
    IRkImageImp* CreateImage(const uint8_t* png, uint32_t size, uint32_t resourceId) override;
    IRkMenuBarImp* CreateMenuBar(IRkMenuBarHost& host, IRkWindowImp& window) override;
    IRkFileDialogImp* CreateFileDialog() override;
    IRkDragImp& GetDrag() override;
};
