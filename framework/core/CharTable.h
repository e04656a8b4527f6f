// The character property table: one 16-byte row per code point that the
// framework knows, sorted by code point. It drives case folding and the
// conversions between UTF-16 and the 8-bit encodings.
#pragma once

#include <cstdint>

struct CharInfo {
    uint16_t code;       // key
    uint16_t upper;      // upper-case mapping (the key where there is none)
    uint16_t lower;      // lower-case mapping (the key where there is none)
    uint16_t fourth;     // equal to the key
    uint8_t deviceLatin; // byte in device Latin; 0 where it has none
    uint8_t macRoman;    // byte in Mac OS Roman; 0 where it has none
    uint8_t fontByte;    // glyph code in the device fonts (see below)
    uint8_t zero;
    uint16_t fontCompanion; // 16-bit glyph index in the device fonts
    uint16_t flags;         // class flags (kCharClass...)
};
static_assert(sizeof(CharInfo) == 16);

inline constexpr uint32_t kCharTableRows = 592;

// Class flag values. A code point the table does not hold has class 1.
enum : uint16_t {
    kCharClassLetter = 0x0001,
    kCharClassDigit = 0x0002,
    kCharClassPunctuation = 0x0108,
    kCharClassQuote = 0x0128,
    kCharClassApostrophe = 0x0028,
    kCharClassDash = 0x0208,
    kCharClassSlash = 0x0308,
    kCharClassControl = 0x0310,
    kCharClassLineBreak = 0x0710,
    kCharClassNoBreakSpace = 0x0010,
    kCharClassNoBreakHyphen = 0x1008,
    kCharClassLatinLetter = 0x2001, // letters beyond U+00FF in Latin scripts
    kCharClassOtherLetter = 0x3001, // other scripts and pictorial symbols
    kCharClassSymbol = 0x3108,      // currency and trade marks beyond U+00FF
};

// Device font columns: the glyph code is the device Latin byte where there
// is one; other printable rows draw the question mark (0x3F) and the
// controls draw nothing (0). The companion is the same code widened.

// All rows, ascending by code point.
const CharInfo* GetCharTable();
// The row of a code point (binary search), or null when it is not held.
const CharInfo* FindCharInfo(char16_t code);
// The class flags of a code point (1 when it is not held).
uint16_t GetCharClass(char16_t code);

// 8-bit to UTF-16 for single bytes.
char16_t DeviceLatinToUnicode(uint8_t byte);
// What DeviceLatinToUnicode gives for the bytes the device does not use.
constexpr char16_t kNoDeviceCharacter = 0xFFFD;
char16_t MacRomanToUnicode(uint8_t byte);
