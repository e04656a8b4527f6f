// Reading a string resource: UTF-16 text with a byte-order mark, one entry
// per line.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RkString.h"

// Splits `data` into entries, numbered from 0 in order. The text is
// big-endian when the first byte is 0xFE, little-endian otherwise; a leading
// U+FEFF is dropped. CR, LF and U+2028 end an entry, empty entries are
// skipped and text after the last line break is ignored. Backslash-n inside
// an entry becomes the single unit `newline`.
std::vector<CRkString> SplitStringResource(const uint8_t* data, uint32_t size, char16_t newline);
