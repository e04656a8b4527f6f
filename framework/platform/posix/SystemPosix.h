// System services on POSIX systems: the language from the locale
// environment, the program file from /proc, and the clock.
#pragma once

#include <cstdint>

#include "framework/core/RkSystemImp.h"

// The language-table index of a locale name such as "fr_FR.UTF-8":
// en, fr, de, it, es, pt and ja by their language, zh_CN and zh_TW by
// language and territory; anything else (C, POSIX, other languages) is en.
uint32_t LanguageFromLocaleName(const char* name);

// The locale that decides the messages' language: the first non-empty
// one of LC_ALL, LC_MESSAGES and LANG, looked up with `lookup`.
uint32_t LanguageFromEnvironment(const char* (*lookup)(const char* variable));

class CRkPosixSystemImp : public IRkSystemImp {
public:
    uint32_t GetPreferredLanguage() override;
    bool GetProgramPath(CRkString& out) const override;
    uint64_t GetCurrentTime() const override;
    uint64_t GetTickCount() const override;
    bool IsWindows() const override { return false; }
    // Without a desktop: the text goes to standard error and the box
    // answers as nobody were there.
    uint32_t ShowMessageBox(const CRkString& text, const CRkString& caption, uint32_t buttons) override;
    void GetScreenRect(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const override;
    bool GetSystemColor(uint32_t index, uint8_t& red, uint8_t& green, uint8_t& blue) const override;

private:
    uint32_t m_language = kLanguageAutomatic; // not yet worked out
};
