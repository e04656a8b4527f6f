#include "framework/platform/headless/HeadlessMetrics.h"

#include <algorithm>

#include "framework/ui/RkComponentKinds.h"

namespace {

bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

int32_t CharCount(const char16_t* units, uint32_t n)
{
    int32_t count = 0;
    for (uint32_t i = 0; i < n; ++i)
        if (!IsLowSurrogate(units[i]) || i == 0 || units[i - 1] < 0xD800 || units[i - 1] > 0xDBFF)
            ++count;
    return count;
}

// Breaks one line (no line ends in it) into pieces at most `maxWidth` wide,
// at spaces; the spaces at a break belong to no line. The first word of a
// line is always taken, however wide.
void WrapLine(const char16_t* units, uint32_t n, int32_t maxWidth, std::vector<CRkString>& out)
{
    uint32_t lineStart = 0;
    for (;;) {
        uint32_t lineEnd = lineStart;
        uint32_t scan = lineStart;
        bool more = false;
        for (;;) {
            uint32_t wordStart = scan;
            while (wordStart < n && units[wordStart] == u' ')
                ++wordStart;
            if (wordStart == n)
                break; // only spaces (or nothing) left
            uint32_t wordEnd = wordStart;
            while (wordEnd < n && units[wordEnd] != u' ')
                ++wordEnd;
            int32_t width = CharCount(units + lineStart, wordEnd - lineStart) * kHeadlessCharWidth;
            if (width > maxWidth && lineEnd > lineStart) {
                scan = wordStart;
                more = true;
                break;
            }
            lineEnd = wordEnd;
            scan = wordEnd;
        }
        out.emplace_back(units + lineStart, lineEnd - lineStart);
        if (!more)
            return;
        lineStart = scan;
    }
}

} // namespace

int32_t HeadlessTextWidth(const CRkString& line)
{
    return CharCount(line.GetChars(), line.GetLength()) * kHeadlessCharWidth;
}

std::vector<CRkString> HeadlessLabelLines(const CRkString& text, int32_t wrapWidth)
{
    std::vector<CRkString> lines;
    const char16_t* units = text.GetChars();
    uint32_t n = text.GetLength();
    uint32_t start = 0;
    for (uint32_t i = 0;; ++i) {
        bool end = i == n;
        if (!end && units[i] != u'\r' && units[i] != u'\n')
            continue;
        if (wrapWidth > 0)
            WrapLine(units + start, i - start, wrapWidth, lines);
        else
            lines.emplace_back(units + start, i - start);
        if (end)
            break;
        if (units[i] == u'\r' && i + 1 < n && units[i + 1] == u'\n')
            ++i; // CR LF is one line end
        start = i + 1;
    }
    return lines;
}

RkSize HeadlessNaturalSize(uint32_t kind, const CRkString& text, int32_t wrapWidth)
{
    switch (kind) {
    case kKindPushButton:
        return {HeadlessTextWidth(text) + kHeadlessButtonPadding, kHeadlessButtonHeight};
    case kKindCheckbox:
    case kKindRadioButton:
        return {HeadlessTextWidth(text) + kHeadlessCheckboxPadding, kHeadlessCheckboxHeight};
    case kKindLabel: {
        std::vector<CRkString> lines = HeadlessLabelLines(text, wrapWidth);
        int32_t widest = 0;
        for (const CRkString& line : lines)
            widest = std::max(widest, HeadlessTextWidth(line));
        return {widest, int32_t(lines.size()) * kHeadlessLineHeight};
    }
    case kKindTextField:
        return kHeadlessTextFieldSize;
    case kKindProgressBar:
        return kHeadlessProgressBarSize;
    case kKindScrollbar:
        return {kHeadlessScrollbarThickness, kHeadlessScrollbarThickness};
    default:
        return {0, 0};
    }
}
