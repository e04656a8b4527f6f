#include "framework/text/Languages.h"

#include <cstring>

#include "framework/core/RkString.h"

namespace {

constexpr uint32_t kAutomatic = 0;
constexpr uint32_t kEnglish = 1;

struct Language {
    const char* code;
    uint32_t resource;
};

const Language kLanguages[kLanguageCount] = {
    {"**", 0},     {"en", 11000}, {"fr", 11001}, {"de", 11003},    {"it", 11002},
    {"es", 11004}, {"pt", 11000}, {"ja", 11000}, {"zh_CN", 11005}, {"zh_TW", 11000},
};

} // namespace

const char* GetLanguageCode(uint32_t index)
{
    return index < kLanguageCount ? kLanguages[index].code : nullptr;
}

uint32_t GetLanguageResource(uint32_t index)
{
    return index < kLanguageCount ? kLanguages[index].resource : 0;
}

uint32_t FindLanguage(const CRkString& code)
{
    for (uint32_t i = 0; i < kLanguageCount; ++i) {
        const char* c = kLanguages[i].code;
        uint32_t n = static_cast<uint32_t>(std::strlen(c));
        if (code.GetLength() != n)
            continue;
        uint32_t k = 0;
        while (k < n && code.GetAt(k) == static_cast<char16_t>(c[k]))
            ++k;
        if (k == n)
            return i;
    }
    return kAutomatic;
}

uint32_t LanguageFromWindowsId(uint16_t languageId)
{
    // Chinese by script: Windows numbers the sublanguages from bit 10, so
    // PRC is 0x0804 and Singapore 0x1004 (simplified), Taiwan 0x0404, Hong
    // Kong 0x0C04 and Macao 0x1404 (traditional). 0x0204 and 0x0104, the
    // same sublanguages shifted by 8 bits, are no Windows identifiers but
    // are still accepted.
    switch (languageId) {
    case 0x0804:
    case 0x1004:
    case 0x0204:
        return 8;
    case 0x0404:
    case 0x0C04:
    case 0x1404:
    case 0x0104:
        return 9;
    default:
        break;
    }
    switch (languageId & 0xFF) {
    case 0x09:
        return 1;
    case 0x0C:
        return 2;
    case 0x07:
        return 3;
    case 0x10:
        return 4;
    case 0x0A:
        return 5;
    case 0x16:
        return 6;
    case 0x11:
        return 7;
    default:
        return kEnglish;
    }
}
