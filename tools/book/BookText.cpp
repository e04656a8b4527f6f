#include "tools/book/BookText.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "framework/core/Utf8.h"

InflateResult InflateRecord(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>& out)
{
    out.clear();
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    if (inflateInit(&stream) != Z_OK) {
        return InflateResult::Corrupt;
    }
    // One byte more than the limit, so that overlong data shows itself.
    out.resize(limit + 1);
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = uInt(size);
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    int rc = inflate(&stream, Z_FINISH);
    size_t produced = out.size() - stream.avail_out;
    inflateEnd(&stream);
    out.resize(produced);
    if (produced > limit) {
        return InflateResult::TooLong;
    }
    if (rc != Z_STREAM_END || stream.avail_in != 0) {
        return InflateResult::Corrupt;
    }
    return InflateResult::Ok;
}

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
