// Helpers for showing the contents of book records: turning 8-bit device
// text into printable UTF-8. (Text records are decompressed by the book
// layer, InflateRecord in book/Compressor.h.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The bytes as UTF-8 (device Latin: 0xA0-0xFF are the Latin-1 letters);
// control bytes and the 0x80-0x9F range as \xNN. With keepLines, line feeds
// and tabs are kept; otherwise they are escaped too, and so are double
// quotes and backslashes.
std::string DisplayText(const uint8_t* bytes, size_t n, bool keepLines = false);

// Length of the NUL-terminated string at p within avail bytes, or npos when
// no NUL lies within them.
inline constexpr size_t kNoTerminator = size_t(-1);
size_t TerminatedLength(const uint8_t* p, size_t avail);
