#include "tools/book/SourceLocation.h"

#include <algorithm>
#include <string_view>

#include "framework/core/Utf8.h"

namespace {

// The line end at bytes[i] (LF, CR LF or CR): its length, 0 for none.
size_t LineEndLength(const uint8_t* bytes, size_t size, size_t i)
{
    if (bytes[i] == '\n')
        return 1;
    if (bytes[i] != '\r')
        return 0;
    return i + 1 < size && bytes[i + 1] == '\n' ? 2 : 1;
}

// The column of `offset` on the line that starts at `lineStart`, which
// holds no line end before the offset.
uint32_t ColumnInLine(const uint8_t* bytes, size_t size, size_t lineStart, size_t offset, bool utf8)
{
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    if (offset > lineStart && offset < size && bytes[offset] == '\n' && bytes[offset - 1] == '\r')
        --offset;
    size_t i = lineStart;
    if (utf8 && i == 0 && StartsWithUtf8ByteOrderMark(bytes, size))
        i = std::min<size_t>(offset, kUtf8ByteOrderMarkLength);
    uint32_t column = 1;
    while (i < offset) {
        size_t next = i;
        uint32_t code = 0;
        if (!utf8 || bytes[i] < 0x80 || !DecodeUtf8(text, next, code))
            next = i + 1;
        if (next > offset) // the offset is inside this character
            break;
        i = next;
        ++column;
    }
    return column;
}

} // namespace

SourceLocation LocateInSource(const uint8_t* bytes, size_t size, size_t offset, bool utf8)
{
    offset = std::min(offset, size);
    uint32_t line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < offset;) {
        const size_t end = LineEndLength(bytes, size, i);
        if (end == 0) {
            ++i;
            continue;
        }
        if (i + end > offset) // the LF of a CR LF
            break;
        i += end;
        ++line;
        lineStart = i;
    }
    return {line, ColumnInLine(bytes, size, lineStart, offset, utf8)};
}

CSourceLines::CSourceLines(const uint8_t* bytes, size_t size, bool utf8)
    : m_bytes(utf8 ? bytes : nullptr), m_size(size), m_utf8(utf8)
{
    m_lineStarts.push_back(0);
    for (size_t i = 0; i < size;) {
        const size_t end = LineEndLength(bytes, size, i);
        i += end ? end : 1;
        if (end) {
            m_endsWithCrLf.push_back(end == 2);
            m_lineStarts.push_back(i);
        }
    }
    m_endsWithCrLf.push_back(false);
}

SourceLocation CSourceLines::Locate(size_t offset) const
{
    offset = std::min(offset, m_size);
    // The last line that starts at or before the offset.
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    const size_t line = size_t(after - m_lineStarts.begin()) - 1;
    const size_t start = m_lineStarts[line];
    if (m_utf8)
        return {uint32_t(line + 1), ColumnInLine(m_bytes, m_size, start, offset, true)};
    // A byte a column: the LF of a CR LF has the column of its CR.
    size_t column = offset - start + 1;
    if (m_endsWithCrLf[line] && line + 1 < m_lineStarts.size() && offset + 1 == m_lineStarts[line + 1])
        --column;
    return {uint32_t(line + 1), uint32_t(column)};
}
