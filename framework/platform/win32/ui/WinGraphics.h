// GDI drawing for custom-drawn components: the graphics context over a
// device context, and the record of the text each window's last paint drew.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/platform/win32/Win32Api.h"

class IRkGraphicsContextImp;

// A context (a CRkWinGraphicsContext) that draws into `dc` for a component
// of `width` x `height` whose top left corner is at the DC's origin;
// nothing lands outside that rectangle, and the DC is as it was once the
// context is gone. The lines of text drawn are appended to `textLines`
// when it is not null.
std::unique_ptr<IRkGraphicsContextImp> CreateWinGraphicsContext(HDC dc, int32_t width, int32_t height,
                                                                std::vector<std::wstring>* textLines = nullptr);

// At most this many lines of one paint are kept for GetWinPaintedText,
// each cut to kMaxPaintedLineUnits units (a reported message is at most
// 511 characters), for at most kMaxPaintedWindows windows (the longest
// unpainted is forgotten first): 32 MiB at the very most.
constexpr size_t kMaxPaintedLines = 512;
constexpr size_t kMaxPaintedLineUnits = 512;
constexpr size_t kMaxPaintedWindows = 64;

// Forgets what is kept about `window` (its painted text and its drop
// target); called when the window is destroyed (WM_NCDESTROY).
void ForgetWinComponentWindow(HWND window);
