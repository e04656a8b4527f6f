// The system services of the headless platform: the POSIX ones, with the
// message box answered from the desktop's queue and recorded there, the
// headless screen, and a fixed table of system colours:
//   0 window text 0,0,0; 1 window 255,255,255; 2 selected text 255,255,255;
//   3 selection 0,120,215; 6 button face 240,240,240; 7 button shadow
//   160,160,160. Other indexes have no platform colour.
#pragma once

#include <cstdint>

#include "framework/platform/posix/SystemPosix.h"

// The table above; false for an index outside it.
bool HeadlessSystemColor(uint32_t index, uint8_t& red, uint8_t& green, uint8_t& blue);

class CRkHeadlessSystemImp : public CRkPosixSystemImp {
public:
    // Installs the colour table as the framework's system colour provider.
    CRkHeadlessSystemImp();

    uint32_t ShowMessageBox(const CRkString& text, const CRkString& caption, uint32_t buttons) override;
    void GetScreenRect(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const override;
    bool GetSystemColor(uint32_t index, uint8_t& red, uint8_t& green, uint8_t& blue) const override;
};
