// What a stored PNG file says about itself: its header fields and chunks,
// read without decoding the image data. Read here from the bytes and not
// through the book layer's image code (book/ImageProbe, book/PngReencode),
// so that check verifies what the writer made instead of repeating it.
#pragma once

#include <cstdint>
#include <string>

#include "book/BookFormat.h"

// Signature (8) and the IHDR chunk (25) that every PNG file begins with.
inline constexpr uint32_t kPngHeaderBytes = 33;

struct PngSummary {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colourType = 0;
    uint8_t compression = 0;
    uint8_t filter = 0;
    uint8_t interlace = 0;
    uint32_t paletteEntries = 0; // PLTE length / 3
    uint32_t paletteBytes = 0;   // PLTE length
    uint32_t dataBytes = 0;      // total length of the IDAT chunks
    std::string chunks;          // chunk types in file order, space-separated
    std::string ancillary;       // the ancillary chunk types, space-separated
};

// Reads the header and walks the chunks. Returns "" when the bytes are a
// well-formed PNG chunk sequence from the signature to IEND, else what is
// wrong (for a problem report); the summary then holds what was read.
std::string ReadPngSummary(const uint8_t* data, uint32_t size, PngSummary& summary);
