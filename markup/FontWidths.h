// Character widths of the device fonts, in pixels, indexed by the byte.
#pragma once

#include <cstdint>

// The device fonts, numbered as the page tables store them.
enum DeviceFont : uint16_t {
    kFontStandard = 0, // the small font: plain text of the small-font pass
    kFontBold = 1,     // chosen by \b in either pass
    kFontLarge = 2,    // plain text of the large-font pass
};

// Least line heights, in pixels, of the fonts and the styles that change
// them: the glyph height of each font.
inline constexpr uint32_t kScriptLineHeight = 7;
inline constexpr uint32_t kStandardLineHeight = 11;
inline constexpr uint32_t kLargeLineHeight = 14;
inline constexpr uint32_t kLargeBoldLineHeight = 15;

extern const uint8_t kStandardWidths[256];  // font 0
extern const uint8_t kBoldWidths[256];      // font 1, and font 0 with the bold style
extern const uint8_t kLargeWidths[256];     // font 2
extern const uint8_t kLargeBoldWidths[256]; // font 2 with the bold style
extern const uint8_t kScriptWidths[256];    // superscript and subscript, any font

struct FontMetrics {
    const uint8_t* widths;
    uint32_t minLineHeight;
};

// The widths and the least line height for a font and the superscript,
// subscript and bold styles.
FontMetrics SelectFontMetrics(uint16_t font, bool script, bool bold);
