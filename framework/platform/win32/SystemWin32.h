// System services on Windows: the language of the system's default locale,
// the program's own file and the clocks.
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

private:
    uint32_t m_language = kLanguageAutomatic; // not yet worked out
};
