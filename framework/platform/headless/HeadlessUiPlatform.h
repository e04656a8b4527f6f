// The UI platform without a display. Its controls and windows are records
// on the headless desktop, with the fixed metrics of HeadlessMetrics.h;
// tests act on them through the test driver as a person would.
#pragma once

#include "framework/ui/RkUiPlatform.h"

class CRkHeadlessDesktop;

class CRkHeadlessUiPlatform final : public IRkUiPlatform {
public:
    // The desktop that holds the windows, boxes and dialogs.
    CRkHeadlessDesktop& GetDesktop() const;

    // IRkUiPlatform
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
