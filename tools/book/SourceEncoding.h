// How the tool reads a source's bytes: as device bytes (the compiler's own
// 8-bit text) or as UTF-8, converted into device bytes before the build
// sees them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/core/OffsetMap.h"

class CMemBuffer;

enum class SourceEncoding {
    Auto, // UTF-8 when the bytes are UTF-8 and show it, device bytes otherwise
    Utf8,
    Device, // the bytes as they are
};

// True when the bytes are well-formed UTF-8 and hold a sequence of more
// than one byte or begin with a byte-order mark: what --encoding auto reads
// as UTF-8.
bool LooksLikeUtf8(const uint8_t* bytes, size_t size);

// Where UTF-8 could not be converted, and why (UTF-8 text).
struct Utf8Problem {
    size_t offset = 0; // in the original bytes
    std::string text;
};

// The device bytes of a UTF-8 text: a leading byte-order mark is dropped,
// ASCII stays, every character that the device shows becomes its byte and
// any other up to U+FFFF the code \Uxxxx (four uppercase hexadecimal
// digits), as an author would write it. False, with `problem` set, at the
// first byte that is not well-formed UTF-8 or the first character beyond
// U+FFFF (no \U code names one). `out` and `offsets` start empty.
bool ConvertUtf8Source(const uint8_t* bytes, size_t size, CMemBuffer& out, COffsetMap& offsets, Utf8Problem& problem);

// The device byte that shows `code` (0x80 and above), or 0 when the device
// has none.
uint8_t DeviceByteFor(uint32_t code);
