#include "framework/text/StringResource.h"

#include <string>

std::vector<CRkString> SplitStringResource(const uint8_t* data, uint32_t size, char16_t newline)
{
    std::vector<CRkString> entries;
    if (!data || size < 2)
        return entries;
    bool bigEndian = data[0] == 0xFE;
    uint32_t units = size / 2; // a trailing odd byte is not part of any unit
    std::u16string entry;
    for (uint32_t i = 0; i < units; ++i) {
        uint8_t a = data[2 * i], b = data[2 * i + 1];
        char16_t unit = bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a);
        if (i == 0 && unit == u'\uFEFF')
            continue;
        if (unit == u'\r' || unit == u'\n' || unit == u'\u2028') {
            if (!entry.empty())
                entries.emplace_back(entry.data(), static_cast<uint32_t>(entry.size()));
            entry.clear();
            continue;
        }
        if (unit == u'n' && !entry.empty() && entry.back() == u'\\') {
            entry.back() = newline;
            continue;
        }
        entry += unit;
    }
    return entries;
}
