// Character widths of the device fonts, in pixels, indexed by the byte.
#pragma once

#include <cstdint>

extern const uint8_t kStandardWidths[256];  // font 0
extern const uint8_t kBoldWidths[256];      // font 1, and font 0 with the bold style
extern const uint8_t kLargeWidths[256];     // font 2
extern const uint8_t kLargeBoldWidths[256]; // font 2 with the bold style
extern const uint8_t kScriptWidths[256];    // superscript and subscript, any font

struct FontMetrics {
    const uint8_t* widths;
    uint32_t minLineHeight;
};

// The widths and the least line height for a font (0 standard, 1 bold,
// 2 large) and the superscript, subscript and bold styles.
FontMetrics SelectFontMetrics(uint16_t font, bool script, bool bold);
