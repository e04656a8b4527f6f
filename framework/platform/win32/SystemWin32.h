// System services on Windows: the language of the system's default locale,
// the program's own file, the clocks, the screen, the system colours and
// message boxes.
#pragma once

#include <cstdint>

#include "framework/core/RkSystemImp.h"

class CRkWinSystemImp : public IRkSystemImp {
public:
    uint32_t GetPreferredLanguage() override;
    bool GetProgramPath(CRkString& out) const override;
    uint64_t GetCurrentTime() const override;
    uint64_t GetTickCount() const override;
    bool IsWindows() const override { return true; }
    // A box owned by the active framework window (see
    // SetWin32MessageBoxOwner), else by the active window of this thread.
    uint32_t ShowMessageBox(const CRkString& text, const CRkString& caption, uint32_t buttons) override;
    void GetScreenRect(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const override;
    bool GetSystemColor(uint32_t index, uint8_t& red, uint8_t& green, uint8_t& blue) const override;

private:
    uint32_t m_language = kLanguageAutomatic; // not yet worked out
    // The 32-bit tick wraps after 49.7 days: the wraps seen so far.
    mutable uint32_t m_lastTick = 0;
    mutable uint64_t m_tickWraps = 0;
};
