#include "book/RecordNames.h"

#include "framework/core/Crc32.h"
#include "framework/core/RkString.h"

std::string StoredName(std::string_view text, size_t maxLength)
{
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    if (text.size() > maxLength)
        text = text.substr(0, maxLength);
    return std::string(text);
}

std::string LowerCaseName(std::string_view text, size_t maxLength)
{
    std::string name = StoredName(text, maxLength);
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

uint32_t NameHash(std::string_view name)
{
    return Crc32(name.data(), name.size());
}

std::string DeviceLatinText(const CRkString& text)
{
    const char* narrow = text.GetNarrow(kEncodingDeviceLatin);
    std::string bytes;
    for (uint32_t i = 0; narrow && i < text.GetLength() && text.GetAt(i) != 0; ++i)
        bytes.push_back(narrow[i] != 0 ? narrow[i] : '-');
    return bytes;
}
