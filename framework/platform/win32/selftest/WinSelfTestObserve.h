// What the self-test records of a window: the bounds of its controls and a
// picture of it.
#pragma once

#include <string>

#include "framework/platform/win32/Win32Api.h"

// Writes one line for the window and one per control (any depth), with the
// native bounds, the framework component's bounds and preferred size, the
// size the control's text needs in its own font, and its state. Runs on the
// UI thread (it asks the framework). False with `error` when the file
// cannot be written.
bool WriteSelfTestBounds(HWND window, const std::wstring& path, std::wstring& error);
// Writes the window as it shows itself (frame included, freshly painted) to
// a PNG file. Runs on the UI thread.
bool WriteSelfTestScreenshot(HWND window, const std::wstring& path, std::wstring& error);
