// Where an offset of a source file lies as its author sees it: line and
// column, counted from 1.
#pragma once

#include <cstddef>
#include <cstdint>

struct SourceLocation {
    uint32_t line = 0;   // counted from 1; 0 = none
    uint32_t column = 0; // counted from 1; 0 = none
};

// Lines end at LF, CR LF or a lone CR. A column counts characters: a byte
// each, or one per UTF-8 sequence when `utf8` (a tab is one). An offset
// past the end is taken as the end.
SourceLocation LocateInSource(const uint8_t* bytes, size_t size, size_t offset, bool utf8);
