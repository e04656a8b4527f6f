// The headless graphics context: it draws nothing and records every
// operation in a display list that tests compare with what they expect.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/RkString.h"
#include "framework/ui/RkGraphicsImp.h"

enum class RkDrawOpKind {
    Erase,    // rect, in the window background colour
    FillRect, // rect, color
    Line,     // from (rect.x, rect.y) to (rect.Right(), rect.Bottom()), end excluded
    Text,     // rect = x, y, measured width, line height; text, color
    Image,    // rect = destination; imageId, imageSize
    Control,  // a native control as it shows: rect, text, kind, componentId
};

struct RkRgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const RkRgb&) const = default;
};

struct RkDrawOp {
    RkDrawOpKind op = RkDrawOpKind::Erase;
    RkRect rect;
    RkRgb color;
    CRkString text;
    uint32_t imageId = 0;
    RkSize imageSize;
    uint32_t kind = 0;        // Control: the component kind
    uint32_t componentId = 0; // the component the operation was painted for
};

// One line per operation, e.g. `Text 22,3 36x13 rgb(0,0,0) "Hello!"`,
// `Line 0,21 512x0 rgb(192,192,192)`, `Image 3,3 16x16 #10005 (16x16)`.
std::string DescribeDrawOp(const RkDrawOp& op);
std::vector<std::string> DescribeDisplayList(const std::vector<RkDrawOp>& list);

class CRkRecordingContext : public IRkGraphicsContextImp {
public:
    // Operations go to `list`, tagged with `componentId` and moved by
    // (offsetX, offsetY): a component painted inside a window paints in
    // its own coordinates and shows in the window's.
    explicit CRkRecordingContext(std::vector<RkDrawOp>& list, uint32_t componentId = 0, int32_t offsetX = 0,
                                 int32_t offsetY = 0)
        : m_list(list), m_componentId(componentId), m_offsetX(offsetX), m_offsetY(offsetY)
    {
    }

    // IRkGraphicsContextImp
    void Erase(const RkRect& rect) override;
    void FillRect(const RkRect& rect, const CRkColor& color) override;
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const CRkColor& color) override;
    void DrawText(int32_t x, int32_t y, const CRkString& text, const CRkColor& color, const IRkFontImp& font) override;
    void DrawImage(const IRkImageImp& image, const RkRect& dest) override;

private:
    RkDrawOp& Add(RkDrawOpKind kind, const RkRect& rect);

    std::vector<RkDrawOp>& m_list;
    uint32_t m_componentId;
    int32_t m_offsetX;
    int32_t m_offsetY;
};
