// Re-encoding a grayscale or palette PNG into the form a book stores:
// non-interlaced, every row filtered with None, the palette kept, no
// ancillary chunk, the library's default compression.
#pragma once

#include <cstddef>
#include <cstdint>

#include "book/BookFormat.h"

class CFile;
class CMemBuffer;

enum : uint32_t {
    kReencodeOk = 0,
    // Not a PNG, damaged data or a read error.
    kReencodeReadFailed = 1,
    // A colour type other than grayscale or palette.
    kReencodeColorType = 2,
    // The re-encoded data reached the size limit.
    kReencodeTooLarge = 3,
    // Wider or higher than 65535 pixels, or more than kMaxDecodedImageBytes
    // of decoded rows.
    kReencodeTooLargeToDecode = 4,
    // Memory ran out.
    kReencodeOutOfMemory = 5,
};

// The most bytes of decoded rows an image may take.
inline constexpr uint32_t kMaxDecodedImageBytes = 64u * 1024u * 1024u;

// No limit on the re-encoded size (batch mode keeps images of any size).
inline constexpr uint32_t kNoImageSizeLimit = UINT32_MAX;

// Reads a PNG from `file` (open for reading, at the start of the data) and
// appends the re-encoded PNG to `out`; fails with kReencodeTooLarge as soon
// as the re-encoded data reaches `sizeLimit` bytes. On failure `out` is
// cut back to its size on entry.
uint32_t ReencodePngFile(CFile& file, CMemBuffer& out, uint32_t sizeLimit = kMaxImageDataSize);

// The same for a PNG held in memory.
uint32_t ReencodePngBytes(const uint8_t* bytes, size_t length, CMemBuffer& out, uint32_t sizeLimit = kMaxImageDataSize);
