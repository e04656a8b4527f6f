#include "book/BookInfo.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "framework/io/File.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string Unescape(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            if (value[i + 1] == '\\') {
                out.push_back('\\');
                ++i;
                continue;
            }
            if (value[i + 1] == 'a' && i + 4 < value.size() && IsDigit(value[i + 2]) && IsDigit(value[i + 3]) &&
                IsDigit(value[i + 4])) {
                const int code = (value[i + 2] - '0') * 100 + (value[i + 3] - '0') * 10 + (value[i + 4] - '0');
                // Only real byte values; a NUL would end the stored string.
                if (code >= 1 && code <= 255) {
                    out.push_back(static_cast<char>(code));
                    i += 4;
                    continue;
                }
            }
        }
        out.push_back(c);
    }
    return out;
}

// The unescaped value of the first occurrence of key; empty when the key or
// either quote is missing.
std::string ValueOf(std::string_view text, std::string_view key)
{
    const size_t at = text.find(key);
    if (at == std::string_view::npos)
        return {};
    const size_t open = text.find('"', at);
    if (open == std::string_view::npos)
        return {};
    const size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos)
        return {};
    return Unescape(text.substr(open + 1, close - open - 1));
}

void SetField(CRkString& field, const std::string& value)
{
    field.Assign(value.data(), static_cast<uint32_t>(value.size()), kEncodingDeviceLatin);
}

} // namespace

void ReadBookInfo(const CFile& source, char* outName, CBookInfo& info)
{
    CFile file(source);
    if (file.Open(kFileModeRead) != 0)
        return;
    std::vector<char> bytes(kBookInfoSearchSize);
    uint32_t total = 0;
    while (total < kBookInfoSearchSize) {
        uint32_t got = 0;
        if (file.Read(bytes.data() + total, kBookInfoSearchSize - total, got) != 0 || got == 0)
            break;
        total += got > kBookInfoSearchSize - total ? kBookInfoSearchSize - total : got;
    }
    file.Close();
    ReadBookInfoFromText(reinterpret_cast<const uint8_t*>(bytes.data()), total, outName, info);
}

void ReadBookInfoFromText(const uint8_t* bytes, uint32_t size, char* outName, CBookInfo& info)
{
    const uint32_t total = size < kBookInfoSearchSize ? size : kBookInfoSearchSize;
    if (!bytes || total == 0)
        return;

    const std::string_view text(reinterpret_cast<const char*>(bytes), total);
    SetField(info.title, ValueOf(text, "TITLE="));
    SetField(info.author, ValueOf(text, "AUTHOR="));
    SetField(info.publisher, ValueOf(text, "PUBLISHER="));
    SetField(info.eISBN, ValueOf(text, "EISBN="));
    SetField(info.copyright, ValueOf(text, "COPYRIGHT="));
    if (outName) {
        const std::string out = ValueOf(text, "OUT=");
        std::memset(outName, 0, 32);
        std::memcpy(outName, out.data(), out.size() < 31 ? out.size() : 31);
    }
}
