#include "framework/platform/posix/SystemPosix.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

#include "framework/core/RkString.h"
#include "framework/platform/posix/FileImpPosix.h"

namespace {

bool EqualsIgnoringCase(const char* a, size_t n, const char* b)
{
    if (std::strlen(b) != n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] - 'A' + 'a') : a[i];
        if (x != b[i])
            return false;
    }
    return true;
}

// Decodes UTF-8; a byte that does not start a valid sequence becomes U+FFFD.
void AssignUtf8(CRkString& out, const std::string& bytes)
{
    std::u16string units;
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        uint32_t code = 0xFFFD;
        size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > bytes.size()) {
            length = 1;
        } else if (length == 1) {
            code = c;
        } else {
            uint32_t value = c & (0x7F >> length);
            bool valid = true;
            for (size_t k = 1; k < length; ++k) {
                unsigned char next = static_cast<unsigned char>(bytes[i + k]);
                if ((next & 0xC0) != 0x80) {
                    valid = false;
                    break;
                }
                value = (value << 6) | (next & 0x3F);
            }
            static const uint32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
            if (valid && value >= kMinimum[length] && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
                code = value;
            else
                length = 1;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            units.push_back(char16_t(0xD800 + (code >> 10)));
            units.push_back(char16_t(0xDC00 + (code & 0x3FF)));
        } else {
            units.push_back(char16_t(code));
        }
        i += length;
    }
    out.Assign(units.data(), uint32_t(units.size()));
}

const char* LookupEnvironment(const char* variable)
{
    return std::getenv(variable);
}

} // namespace

uint32_t LanguageFromLocaleName(const char* name)
{
    if (!name)
        return kLanguageEnglish;
    // language[_territory][.codeset][@modifier]
    size_t languageLength = std::strcspn(name, "_.@");
    size_t territoryLength = 0;
    const char* territory = name + languageLength;
    if (*territory == '_') {
        ++territory;
        territoryLength = std::strcspn(territory, ".@");
    }
    static const struct {
        const char* code;
        uint32_t index;
    } kLanguages[] = {
        {"en", kLanguageEnglish}, {"fr", kLanguageFrench},     {"de", kLanguageGerman},   {"it", kLanguageItalian},
        {"es", kLanguageSpanish}, {"pt", kLanguagePortuguese}, {"ja", kLanguageJapanese},
    };
    for (const auto& language : kLanguages)
        if (EqualsIgnoringCase(name, languageLength, language.code))
            return language.index;
    if (EqualsIgnoringCase(name, languageLength, "zh")) {
        if (EqualsIgnoringCase(territory, territoryLength, "cn"))
            return kLanguageChineseSimplified;
        if (EqualsIgnoringCase(territory, territoryLength, "tw"))
            return kLanguageChineseTraditional;
    }
    return kLanguageEnglish;
}

uint32_t LanguageFromEnvironment(const char* (*lookup)(const char* variable))
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = lookup ? lookup(variable) : nullptr;
        if (value && *value)
            return LanguageFromLocaleName(value);
    }
    return kLanguageEnglish;
}

uint32_t CRkPosixSystemImp::GetPreferredLanguage()
{
    if (m_language == kLanguageAutomatic)
        m_language = LanguageFromEnvironment(&LookupEnvironment);
    return m_language;
}

bool CRkPosixSystemImp::GetProgramPath(CRkString& out) const
{
    std::string path(256, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) {
            out.Empty();
            return false;
        }
        if (size_t(n) < path.size()) {
            path.resize(size_t(n));
            break;
        }
        path.resize(path.size() * 2); // may have been cut: try a larger buffer
    }
    AssignUtf8(out, path);
    return true;
}

uint64_t CRkPosixSystemImp::GetCurrentTime() const
{
    std::time_t now = std::time(nullptr);
    return now < 0 ? 0 : uint64_t(now);
}

uint64_t CRkPosixSystemImp::GetTickCount() const
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
}

uint32_t CRkPosixSystemImp::ShowMessageBox(const CRkString& text, const CRkString& caption, uint32_t buttons)
{
    // Paths and messages share the encoding of the terminal: UTF-8.
    std::string line, part;
    if (!caption.IsEmpty()) {
        UnitsToNativePath(caption, line);
        line += ": ";
    }
    UnitsToNativePath(text, part);
    line += part;
    line += '\n';
    fputs(line.c_str(), stderr);
    return buttons == kMessageBoxOK ? kMessageBoxAnswerOK : kMessageBoxAnswerCancel;
}

void CRkPosixSystemImp::GetScreenRect(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const
{
    x = 0;
    y = 0;
    width = 1024;
    height = 768;
}

bool CRkPosixSystemImp::GetSystemColor(uint32_t, uint8_t&, uint8_t&, uint8_t&) const
{
    return false;
}
