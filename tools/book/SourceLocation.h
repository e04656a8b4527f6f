// Where a byte of a source stands for its author: the line and column an
// editor shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct SourceLocation {
    uint32_t line = 0;
    uint32_t column = 0;
}; // counted from 1; 0 = none

// Line and column of byte `offset` of the source as the author wrote it. Lines end at LF, CR LF or a lone CR;
// a column counts characters: with utf8 a UTF-8 sequence is one, a tab is one.
// (With utf8 a leading byte-order mark takes no column and a byte that
// starts no valid sequence is one character. An offset inside a character
// gets that character's column, the LF of a CR LF the column of its CR, an
// offset past the end the place just after the last character.)
SourceLocation LocateInSource(const uint8_t* bytes, size_t size, size_t offset, bool utf8);

// The same answers for many offsets of one source: the line starts are
// found once, so each answer costs a binary search, and with utf8 the
// length of its line. With utf8 the bytes must stay in place and unchanged
// while the index is used; without, only the index is kept.
class CSourceLines {
public:
    CSourceLines(const uint8_t* bytes, size_t size, bool utf8);
    SourceLocation Locate(size_t offset) const;

private:
    const uint8_t* m_bytes; // null without utf8
    size_t m_size;
    bool m_utf8;
    std::vector<size_t> m_lineStarts; // offset of the first byte of every line
    std::vector<bool> m_endsWithCrLf; // per line: its end is CR LF
};
