#include "tools/book/BookText.h"

#include <cstdio>
#include <cstring>

#include "framework/core/Utf8.h"

std::string DisplayText(const uint8_t* bytes, size_t n, bool keepLines)
{
    std::string text;
    text.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        uint8_t b = bytes[i];
        if (keepLines && (b == '\n' || b == '\t')) {
            text += char(b);
        } else if (!keepLines && (b == '"' || b == '\\')) {
            text += '\\';
            text += char(b);
        } else if (b >= 0x20 && b < 0x7F) {
            text += char(b);
        } else if (b >= 0xA0) {
            AppendUtf8(text, b); // Latin-1
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", b);
            text += escape;
        }
    }
    return text;
}

size_t TerminatedLength(const uint8_t* p, size_t avail)
{
    const void* nul = std::memchr(p, 0, avail);
    return nul ? size_t(static_cast<const uint8_t*>(nul) - p) : kNoTerminator;
}
