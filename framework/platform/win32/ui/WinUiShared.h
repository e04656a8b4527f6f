// What the Win32 UI pieces need from one another: the native window of a
// component and the component of a native window (WinComponentImp.cpp),
// custom painting, fonts and images (WinGraphics.cpp, WinFont.cpp,
// WinImage.cpp), the open dialog and drag and drop (WinFileDialog.cpp,
// WinDrag.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/platform/win32/Win32Api.h"

#include <shellapi.h>

class IRkComponentHost;
class IRkComponentImp;
class IRkDragImp;
class IRkFileDialogImp;
class IRkFontImp;
class IRkImageImp;

// Components and windows.
// The native window of a component or window implementation; null when it
// has none (or is not a Win32 one).
HWND GetWinComponentHandle(const IRkComponentImp& component);
// The host of the framework component a native window shows; null when the
// window is not one of the framework's.
IRkComponentHost* FindWinComponentHost(HWND window);
// The active top-level framework window or, when none is active, the
// topmost shown one; null when no framework window is shown.
HWND GetActiveFrameworkWindow();

// Painting.
// Answers WM_PAINT of a custom-drawn component: paints the invalid part
// through a memory DC of the client size (host.OnPaint with a graphics
// context over it), then copies it to the window in one go.
void PaintWinComponent(HWND window, IRkComponentHost& host);
// The lines of text the last paint of `window` drew, in drawing order:
// what a person reads in a custom-drawn component (used by the self-test).
void GetWinPaintedText(HWND window, std::vector<std::wstring>& lines);

// Fonts: kFontWindow, kFontLogList (owned by the layer, created on first use).
const IRkFontImp& GetWinFont(uint32_t number);
HFONT GetWinFontHandle(uint32_t number);

// Images: PNG bytes decoded into a 32-bit DIB section with alpha; null when
// the bytes are not a readable PNG.
IRkImageImp* CreateWinImage(const uint8_t* png, uint32_t size, uint32_t resourceId);

// The open and save dialogs, owned by the active framework window.
IRkFileDialogImp* CreateWinFileDialog();

// Drag and drop: the layer's one drag implementation (OLE drop targets and
// WM_DROPFILES).
IRkDragImp& GetWinDrag();
// WM_DROPFILES arrived at `window` (a drop target): delivers message 31 and
// then 34 to its host with the dropped files, and frees the drop handle.
void HandleWinDropFiles(HWND window, HDROP drop);
