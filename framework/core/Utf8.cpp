#include "framework/core/Utf8.h"

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool DecodeUtf8(std::string_view s, size_t& i, uint32_t& cp)
{
    if (i >= s.size())
        return false;
    const auto c = static_cast<unsigned char>(s[i]);
    size_t extra;
    uint32_t value;
    uint32_t min;
    if (c < 0x80) {
        cp = c;
        ++i;
        return true;
    } else if ((c & 0xE0) == 0xC0) {
        extra = 1, value = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2, value = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3, value = c & 0x07, min = 0x10000;
    } else {
        return false;
    }
    if (i + extra >= s.size())
        return false;
    for (size_t k = 1; k <= extra; ++k) {
        const auto d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (d & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return false;
    cp = value;
    i += extra + 1;
    return true;
}

bool StartsWithUtf8ByteOrderMark(const uint8_t* bytes, size_t size)
{
    return size >= kUtf8ByteOrderMarkLength && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
}
