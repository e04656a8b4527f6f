#include "framework/platform/headless/HeadlessGraphics.h"

#include "framework/core/RkColor.h"
#include "framework/platform/headless/HeadlessSystemImp.h"
#include "framework/platform/posix/FileImpPosix.h"

namespace {

RkRgb ToRgb(const CRkColor& color)
{
    return RkRgb{color.GetRed(), color.GetGreen(), color.GetBlue()};
}

std::string RectText(const RkRect& r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

std::string ColorText(const RkRgb& c)
{
    return "rgb(" + std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue) + ")";
}

std::string QuotedText(const CRkString& text)
{
    std::string utf8;
    UnitsToNativePath(text, utf8);
    return "\"" + utf8 + "\"";
}

} // namespace

std::string DescribeDrawOp(const RkDrawOp& op)
{
    switch (op.op) {
    case RkDrawOpKind::Erase:
        return "Erase " + RectText(op.rect) + " " + ColorText(op.color);
    case RkDrawOpKind::FillRect:
        return "Fill " + RectText(op.rect) + " " + ColorText(op.color);
    case RkDrawOpKind::Line:
        return "Line " + RectText(op.rect) + " " + ColorText(op.color);
    case RkDrawOpKind::Text:
        return "Text " + RectText(op.rect) + " " + ColorText(op.color) + " " + QuotedText(op.text);
    case RkDrawOpKind::Image:
        return "Image " + RectText(op.rect) + " #" + std::to_string(op.imageId) + " (" +
               std::to_string(op.imageSize.width) + "x" + std::to_string(op.imageSize.height) + ")";
    case RkDrawOpKind::Control:
        return "Control " + RectText(op.rect) + " kind " + std::to_string(op.kind) + " id " +
               std::to_string(op.componentId) + " " + QuotedText(op.text);
    }
    return "?";
}

std::vector<std::string> DescribeDisplayList(const std::vector<RkDrawOp>& list)
{
    std::vector<std::string> lines;
    lines.reserve(list.size());
    for (const RkDrawOp& op : list)
        lines.push_back(DescribeDrawOp(op));
    return lines;
}

RkDrawOp& CRkRecordingContext::Add(RkDrawOpKind kind, const RkRect& rect)
{
    RkDrawOp& op = m_list.emplace_back();
    op.op = kind;
    op.rect = RkRect{rect.x + m_offsetX, rect.y + m_offsetY, rect.width, rect.height};
    op.componentId = m_componentId;
    return op;
}

void CRkRecordingContext::Erase(const RkRect& rect)
{
    RkDrawOp& op = Add(RkDrawOpKind::Erase, rect);
    uint8_t r = 0, g = 0, b = 0;
    HeadlessSystemColor(kSysColorWindow, r, g, b);
    op.color = RkRgb{r, g, b};
}

void CRkRecordingContext::FillRect(const RkRect& rect, const CRkColor& color)
{
    Add(RkDrawOpKind::FillRect, rect).color = ToRgb(color);
}

void CRkRecordingContext::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const CRkColor& color)
{
    Add(RkDrawOpKind::Line, RkRect{x1, y1, x2 - x1, y2 - y1}).color = ToRgb(color);
}

void CRkRecordingContext::DrawText(int32_t x, int32_t y, const CRkString& text, const CRkColor& color,
                                   const IRkFontImp& font)
{
    RkDrawOp& op = Add(RkDrawOpKind::Text, RkRect{x, y, font.MeasureText(text), font.GetLineHeight()});
    op.color = ToRgb(color);
    op.text = text;
}

void CRkRecordingContext::DrawImage(const IRkImageImp& image, const RkRect& dest)
{
    RkDrawOp& op = Add(RkDrawOpKind::Image, dest);
    op.imageId = image.GetResourceId();
    op.imageSize = RkSize{image.GetWidth(), image.GetHeight()};
}
