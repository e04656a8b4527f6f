// The platform's drawing objects: fonts, decoded images and the graphics
// context a component paints through.
#pragma once

#include <cstdint>

#include "framework/ui/RkGeometry.h"

class CRkColor;
class CRkString;

// Font numbers.
enum : uint32_t {
    kFontWindow = 0,  // windows and dialogs; the one distances are converted with
    kFontLogList = 2, // the log window's list
};

class IRkFontImp {
public:
    virtual ~IRkFontImp() = default;
    virtual int32_t GetAverageCharWidth() const = 0;
    virtual int32_t GetLineHeight() const = 0;
    // The width of one line of text (no line breaks in it).
    virtual int32_t MeasureText(const CRkString& text) const = 0;
};

class IRkImageImp {
public:
    virtual ~IRkImageImp() = default;
    virtual int32_t GetWidth() const = 0;
    virtual int32_t GetHeight() const = 0;
    // The resource number the image was made from, 0 when none.
    virtual uint32_t GetResourceId() const = 0;
};

// Drawing operations in the component's own coordinates (0, 0 is its top
// left corner); nothing is drawn outside the component.
class IRkGraphicsContextImp {
public:
    virtual ~IRkGraphicsContextImp() = default;
    // Fills with the window background colour.
    virtual void Erase(const RkRect& rect) = 0;
    virtual void FillRect(const RkRect& rect, const CRkColor& color) = 0;
    // A one-pixel line from (x1, y1) to (x2, y2), the end point excluded.
    virtual void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const CRkColor& color) = 0;
    // One line of text with its top left corner at (x, y).
    virtual void DrawText(int32_t x, int32_t y, const CRkString& text, const CRkColor& color,
                          const IRkFontImp& font) = 0;
    // The whole image scaled into `dest`.
    virtual void DrawImage(const IRkImageImp& image, const RkRect& dest) = 0;
};
