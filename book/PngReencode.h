// Re-encoding a grayscale or palette PNG into the form a book stores:
// non-interlaced, every row filtered with None, the palette kept, no
// ancillary chunk, the library's default compression.
#pragma once

#include <cstddef>
#include <cstdint>

class CFile;
class CMemBuffer;

// Stored images must stay below this many bytes of PNG data.
inline constexpr uint32_t kMaxImageDataSize = 65444;

enum : uint32_t {
    kReencodeOk = 0,
    // Not a PNG, damaged data, a read error, or an image too big to decode.
    kReencodeReadFailed = 1,
    // A colour type other than grayscale or palette.
    kReencodeColorType = 2,
    // The re-encoded data reached kMaxImageDataSize bytes.
    kReencodeTooLarge = 3,
};

// Reads a PNG from `file` (open for reading, at the start of the data) and
// appends the re-encoded PNG to `out`. On failure `out` is cut back to its
// size on entry.
uint32_t ReencodePngFile(CFile& file, CMemBuffer& out);

// The same for a PNG held in memory.
uint32_t ReencodePngBytes(const uint8_t* bytes, size_t length, CMemBuffer& out);
