#include "framework/platform/headless/HeadlessSystemImp.h"

#include "framework/core/RkColor.h"
#include "framework/platform/headless/HeadlessDesktop.h"
#include "framework/platform/headless/HeadlessMetrics.h"

bool HeadlessSystemColor(uint32_t index, uint8_t& red, uint8_t& green, uint8_t& blue)
{
    struct Row {
        uint32_t index;
        uint8_t red, green, blue;
    };
    static const Row kColors[] = {
        {kSysColorWindowText, 0, 0, 0},    {kSysColorWindow, 255, 255, 255},     {kSysColorSelectedText, 255, 255, 255},
        {kSysColorSelection, 0, 120, 215}, {kSysColorButtonFace, 240, 240, 240}, {kSysColorButtonShadow, 160, 160, 160},
    };
    for (const Row& row : kColors) {
        if (row.index == index) {
            red = row.red;
            green = row.green;
            blue = row.blue;
            return true;
        }
    }
    return false;
}

CRkHeadlessSystemImp::CRkHeadlessSystemImp()
{
    SetSystemColorProvider(&HeadlessSystemColor);
}

uint32_t CRkHeadlessSystemImp::ShowMessageBox(const CRkString& text, const CRkString& caption, uint32_t buttons)
{
    return CRkHeadlessDesktop::Get().ShowMessageBox(text, caption, buttons);
}

void CRkHeadlessSystemImp::GetScreenRect(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const
{
    x = kHeadlessScreen.x;
    y = kHeadlessScreen.y;
    width = kHeadlessScreen.width;
    height = kHeadlessScreen.height;
}

bool CRkHeadlessSystemImp::GetSystemColor(uint32_t index, uint8_t& red, uint8_t& green, uint8_t& blue) const
{
    return HeadlessSystemColor(index, red, green, blue);
}
