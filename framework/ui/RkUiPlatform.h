// The UI platform: creates the implementation objects of components,
// windows, fonts, images, menus and dialogs. One per platform, installed
// once; the framework reaches the platform's UI only through it.
#pragma once

#include <cstdint>

class CRkString;
class IRkComponentHost;
class IRkComponentImp;
class IRkDragImp;
class IRkFileDialogImp;
class IRkFontImp;
class IRkImageImp;
class IRkMenuBarHost;
class IRkMenuBarImp;
class IRkWindowHost;
class IRkWindowImp;

class IRkUiPlatform {
public:
    virtual ~IRkUiPlatform() = default;
    // A control of `kind` with the component id `id` inside `parent` (a
    // window or container panel), visible, at 0, 0 with the creation size.
    virtual IRkComponentImp* CreateComponent(IRkComponentHost& host, uint32_t kind, uint32_t id,
                                             IRkComponentImp& parent) = 0;
    // A window, hidden; `owner` (may be null) keeps a dialog above it.
    virtual IRkWindowImp* CreateWindow(IRkWindowHost& host, const CRkString& title, uint32_t flags,
                                       IRkWindowImp* owner) = 0;
    // Font numbers: kFontWindow, kFontLogList. Owned by the platform.
    virtual const IRkFontImp& GetFont(uint32_t number) = 0;
    // Decodes PNG bytes; null when they are not a readable image.
    virtual IRkImageImp* CreateImage(const uint8_t* png, uint32_t size, uint32_t resourceId) = 0;
    virtual IRkMenuBarImp* CreateMenuBar(IRkMenuBarHost& host, IRkWindowImp& window) = 0;
    virtual IRkFileDialogImp* CreateFileDialog() = 0;
    // Drag and drop ("File" is the first type registered, number 3).
    virtual IRkDragImp& GetDrag() = 0;
};

// The installed platform: on first use it is created by the platform's
// binding (CreateUiPlatform, one definition per platform, chosen by the
// build) unless one was installed before.
IRkUiPlatform& GetUiPlatform();
// Installs a platform (owned from now on; null deletes the current one).
void SetUiPlatform(IRkUiPlatform* platform);
IRkUiPlatform* CreateUiPlatform();
