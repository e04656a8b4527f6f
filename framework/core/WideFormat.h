// The framework's printf-style formatter for UTF-16 output.
//
// Flags - + space # 0; width as digits or * (negative: left alignment);
// precision as .digits or .* (negative: none); length modifiers hh h l ll L;
// conversions d i o u x X e E f F g G c s n p and %%.
//   %s   8-bit string (device Latin), %ls a char16_t string
//   %c   8-bit character, %lc a UTF-16 code unit
//   %#s  a string whose first unit (byte for %s) is its length
//   %p   as %#.8lx
// A null string prints as an empty string. A width of 510 or more, or a
// conversion character not listed, ends the formatting: the rest of the
// format from that percent sign on is copied out literally.
#pragma once

#include <cstdarg>
#include <cstdint>

// Formats into out, writing at most limit units including the terminator.
// Returns the number of units written (without the terminator), or -1 when
// the output reached the limit; then the terminator sits in out[limit - 1]
// (nothing is written when limit is 0).
int32_t WideFormatV(char16_t* out, uint32_t limit, const char16_t* format, va_list args);
