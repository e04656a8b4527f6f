// Verifying a stored PNG file beyond its chunk layout: every chunk's CRC,
// the header's fields, and that the image data inflates to exactly the
// rows its header implies. Computed here from the bytes, independently of
// the library that wrote them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/book/PngSummary.h"

// A chunk whose stored CRC is not the CRC of its type and data.
struct PngCrcFault {
    std::string type;
    uint32_t offset = 0; // of the chunk's length field, from the PNG's start
    uint32_t stored = 0;
    uint32_t computed = 0;
};

// The CRC faults of the chunks of a well-formed chunk sequence (one that
// ReadPngSummary accepted), in file order.
std::vector<PngCrcFault> FindPngCrcFaults(const uint8_t* data, uint32_t size);

// What is wrong with the header's fields (bit depth for the colour type,
// compression, filter and interlace method numbers, the palette a palette
// image needs), one text per fault; empty when they are sound.
std::vector<std::string> CheckPngHeaderFields(const PngSummary& summary);

// Bytes of the filtered rows that the header implies: for every row (of
// every interlace pass) a filter byte and the packed pixels. 0 when the
// header's fields do not describe an image.
uint64_t PngDataSizeFromHeader(const PngSummary& summary);

// The image data (all IDAT chunks as one zlib stream) inflated and
// measured against the size the header implies; empty when it matches,
// else what is wrong.
std::string CheckPngImageData(const uint8_t* data, uint32_t size, const PngSummary& summary);
