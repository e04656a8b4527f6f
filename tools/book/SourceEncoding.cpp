#include "tools/book/SourceEncoding.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "framework/core/CharTable.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/StringFormat.h"
#include "framework/core/Utf8.h"
#include "markup/SourcePrep.h"

namespace {

// A \U code: backslash, "U", four hexadecimal digits.
constexpr uint32_t kCodeLength = 6;
constexpr uint32_t kLastCodePoint = 0xFFFF;

std::string_view View(const uint8_t* bytes, size_t size)
{
    return std::string_view(reinterpret_cast<const char*>(bytes), size);
}

} // namespace

bool LooksLikeUtf8(const uint8_t* bytes, size_t size)
{
    const std::string_view text = View(bytes, size);
    bool multiByte = false;
    for (size_t i = 0; i < size;) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        uint32_t code = 0;
        if (!DecodeUtf8(text, i, code))
            return false;
        multiByte = true;
    }
    return multiByte || StartsWithUtf8ByteOrderMark(bytes, size);
}

uint8_t DeviceByteFor(uint32_t code)
{
    // The device's own characters at 0x80-0x9F, by code point, found once.
    struct Own {
        uint32_t code;
        uint8_t byte;
    };
    static const std::array<Own, 32> kOwn = [] {
        std::array<Own, 32> own{};
        for (uint32_t b = 0x80; b < 0xA0; ++b)
            own[b - 0x80] = {DeviceLatinToUnicode(uint8_t(b)), uint8_t(b)};
        std::sort(own.begin(), own.end(), [](const Own& x, const Own& y) { return x.code < y.code; });
        return own;
    }();
    uint8_t byte = 0;
    if (code >= 0xA0 && code <= 0xFF) {
        byte = uint8_t(code);
    } else if (code > 0xFF && code <= kLastCodePoint && code != kNoDeviceCharacter) {
        const auto it =
            std::lower_bound(kOwn.begin(), kOwn.end(), code, [](const Own& own, uint32_t c) { return own.code < c; });
        if (it != kOwn.end() && it->code == code)
            byte = it->byte;
    }
    // Bytes of the set that the device draws no glyph for are no help.
    return byte && IsDeviceCharacter(byte) ? byte : 0;
}

bool ConvertUtf8Source(const uint8_t* bytes, size_t size, CMemBuffer& out, COffsetMap& offsets, Utf8Problem& problem)
{
    const std::string_view text = View(bytes, size);
    const size_t start = StartsWithUtf8ByteOrderMark(bytes, size) ? kUtf8ByteOrderMarkLength : 0;
    // Two rounds: the first checks the text and measures the result, so
    // that the second writes into a buffer of the exact size.
    uint64_t length = 0;
    size_t checkpoints = 0;
    for (size_t i = start; i < size;) {
        const size_t at = i;
        uint32_t code = bytes[i];
        if (code < 0x80) {
            ++i;
            ++length;
            continue;
        }
        if (!DecodeUtf8(text, i, code)) {
            problem.offset = at;
            problem.text = FormatString("the byte 0x%02X is not part of a UTF-8 character; save the source as UTF-8, "
                                        "or read it as device bytes with --encoding device",
                                        unsigned(bytes[at]));
            return false;
        }
        if (code > kLastCodePoint) {
            problem.offset = at;
            problem.text = FormatString("the character U+%04X is beyond U+FFFF, and a \\U code names four "
                                        "hexadecimal digits only; replace it",
                                        unsigned(code));
            return false;
        }
        const bool byte = DeviceByteFor(code) != 0;
        length += byte ? 1 : kCodeLength;
        checkpoints += byte ? 1 : 2;
    }
    if (length > UINT32_MAX - 1) {
        problem.offset = 0;
        problem.text = "the source is too large to convert";
        return false;
    }
    out.Reserve(uint32_t(length + 1));
    offsets.Reserve(checkpoints);
    offsets.Add(0, uint32_t(start));
    for (size_t i = start; i < size;) {
        const size_t at = i;
        uint32_t code = bytes[i];
        if (code < 0x80) {
            // A run of ASCII is copied at once.
            while (i < size && bytes[i] < 0x80)
                ++i;
            out.Append(bytes + at, uint32_t(i - at));
            continue;
        }
        DecodeUtf8(text, i, code);
        const uint32_t converted = out.GetSize();
        if (const uint8_t byte = DeviceByteFor(code)) {
            out.AppendU8(byte);
        } else {
            static const char kHex[] = "0123456789ABCDEF";
            const uint8_t escape[kCodeLength] = {'\\',
                                                 'U',
                                                 uint8_t(kHex[code >> 12]),
                                                 uint8_t(kHex[(code >> 8) & 15]),
                                                 uint8_t(kHex[(code >> 4) & 15]),
                                                 uint8_t(kHex[code & 15])};
            out.Append(escape, kCodeLength);
            offsets.Add(converted, uint32_t(at), true);
        }
        offsets.Add(out.GetSize(), uint32_t(i));
    }
    return true;
}
