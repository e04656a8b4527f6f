// The platform's system services: the user's language, the program file
// and the clock.
#pragma once

#include <cstdint>

class CRkString;

// Indexes of the language table of the localized strings.
enum : uint32_t {
    kLanguageAutomatic = 0,
    kLanguageEnglish = 1,
    kLanguageFrench = 2,
    kLanguageGerman = 3,
    kLanguageItalian = 4,
    kLanguageSpanish = 5,
    kLanguagePortuguese = 6,
    kLanguageJapanese = 7,
    kLanguageChineseSimplified = 8,  // zh_CN
    kLanguageChineseTraditional = 9, // zh_TW
};

class IRkSystemImp {
public:
    virtual ~IRkSystemImp() = default;

    // The user's language as an index of the language table (never 0);
    // worked out once and kept.
    virtual uint32_t GetPreferredLanguage() = 0;
    // The running program's own file as a path; false when unknown.
    virtual bool GetProgramPath(CRkString& out) const = 0;
    // Seconds since 1970-01-01 UTC.
    virtual uint64_t GetCurrentTime() const = 0;
    // Milliseconds of a monotonic clock.
    virtual uint64_t GetTickCount() const = 0;
    // True on Windows, where text lines end with U+000D.
    virtual bool IsWindows() const = 0;
};
