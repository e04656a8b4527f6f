// The headless font: the fixed metrics of HeadlessMetrics.h.
#pragma once

#include "framework/ui/RkGraphicsImp.h"

class CRkHeadlessFontImp : public IRkFontImp {
public:
    explicit CRkHeadlessFontImp(uint32_t number) : m_number(number) {}

    uint32_t GetNumber() const { return m_number; }

    // IRkFontImp
    int32_t GetAverageCharWidth() const override;
    int32_t GetLineHeight() const override;
    int32_t MeasureText(const CRkString& text) const override;

private:
    uint32_t m_number;
};

// The platform's fonts by number: 0 (windows and dialogs) and 2 (the log
// list) share the metrics; any other number gives font 0.
const CRkHeadlessFontImp& HeadlessFont(uint32_t number);
