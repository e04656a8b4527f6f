#include "framework/platform/headless/HeadlessFont.h"

#include "framework/platform/headless/HeadlessMetrics.h"

int32_t CRkHeadlessFontImp::GetAverageCharWidth() const
{
    return kHeadlessCharWidth;
}

int32_t CRkHeadlessFontImp::GetLineHeight() const
{
    return kHeadlessLineHeight;
}

int32_t CRkHeadlessFontImp::MeasureText(const CRkString& text) const
{
    return HeadlessTextWidth(text);
}

const CRkHeadlessFontImp& HeadlessFont(uint32_t number)
{
    static const CRkHeadlessFontImp windowFont(kFontWindow);
    static const CRkHeadlessFontImp logListFont(kFontLogList);
    return number == kFontLogList ? logListFont : windowFont;
}
