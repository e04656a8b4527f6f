// The platform's system services: the user's language, the program file,
// the clock, the screen, the system colours and the message box.
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

// Message box buttons, and the answers.
enum : uint32_t {
    kMessageBoxOK = 0,
    kMessageBoxOKCancel = 1,
};
enum : uint32_t {
    kMessageBoxAnswerOK = 1,
    kMessageBoxAnswerCancel = 2,
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

    // Shows a message box over the active window and waits for the user;
    // returns the answer. Without a user to ask, OK-only boxes answer OK and
    // OK/Cancel boxes Cancel, so nothing is done that nobody confirmed.
    virtual uint32_t ShowMessageBox(const CRkString& text, const CRkString& caption, uint32_t buttons) = 0;
    // The main screen's rectangle.
    virtual void GetScreenRect(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const = 0;
    // The platform's colour of a system colour index (0-3, 6, 7); false when
    // it has none.
    virtual bool GetSystemColor(uint32_t index, uint8_t& red, uint8_t& green, uint8_t& blue) const = 0;
};
