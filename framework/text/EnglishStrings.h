// The English string list built into the program (resource 11000).
#pragma once

#include <cstdint>

inline constexpr uint32_t kEnglishStringResource = 11000;
inline constexpr uint32_t kEnglishStringCount = 520;

// The resource bytes: UTF-16 little-endian with a byte-order mark, one entry
// a line, each line ended by CR LF.
const uint8_t* GetEnglishStringResource(uint32_t& size);
