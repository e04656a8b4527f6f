#include "tools/book/SourceLocation.h"

namespace {

bool IsContinuationByte(uint8_t byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

SourceLocation LocateInSource(const uint8_t* bytes, size_t size, size_t offset, bool utf8)
{
    if (offset > size)
        offset = size;
    uint64_t line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < offset; ++i) {
        const uint8_t byte = bytes[i];
        // The CR of a CR LF ends nothing: the LF ends the line.
        if (byte == '\n' || (byte == '\r' && !(i + 1 < size && bytes[i + 1] == '\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    uint64_t column = 1;
    for (size_t i = lineStart; i < offset; ++i)
        column += !(utf8 && IsContinuationByte(bytes[i]));
    SourceLocation location;
    location.line = line > UINT32_MAX ? UINT32_MAX : uint32_t(line);
    location.column = column > UINT32_MAX ? UINT32_MAX : uint32_t(column);
    return location;
}
