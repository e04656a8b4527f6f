// Preference file layout (UTF-8 text, lines ended by LF; a CR before the LF
// is accepted when reading):
//
//   line 1          "LumoPrefs 1": the format name and version
//   "#" lines       comments; blank lines are ignored
//   value lines     SECTION TAB TAG TAB KEY TAB VALUE
//
//   SECTION  decimal section number (0 is the application's own)
//   TAG      decimal type tag: 1 integer, 2 bytes, 4 boolean, 5 string
//   KEY      the key; backslash, tab, CR, LF and bytes outside printable
//            ASCII are written as \\ \t \r \n and \xHH
//   VALUE    one of:
//            -12            tag 1 with a 4-byte payload (signed decimal)
//            true / false   tag 4 with a 1-byte payload of 1 / 0
//            "text"         tag 5 with UTF-16 units ending in a 0 unit;
//                           UTF-8 inside the quotes, escapes \\ \" \t \r \n
//                           and \uXXXX (control units, lone surrogates)
//            hex:0a1b...    any tag: the raw payload bytes
//
// A key that appears twice keeps its last value.

#include "framework/core/PrefsText.h"

#include <cstdint>
#include <cstring>

#include "framework/core/Utf8.h"

namespace {

const char kMagic[] = "LumoPrefs 1";
const char kHexDigits[] = "0123456789abcdef";

void AppendHexByte(std::string& out, uint8_t byte)
{
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 15];
}

void AppendEscapedKey(std::string& out, const std::string& key)
{
    for (unsigned char c : key) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                out += "\\x";
                AppendHexByte(out, c);
            } else {
                out += static_cast<char>(c);
            }
        }
    }
}

void AppendUnitEscape(std::string& out, uint16_t unit)
{
    out += "\\u";
    AppendHexByte(out, static_cast<uint8_t>(unit >> 8));
    AppendHexByte(out, static_cast<uint8_t>(unit));
}

uint16_t UnitAt(const std::vector<uint8_t>& p, size_t i)
{
    return static_cast<uint16_t>(p[2 * i] | (p[2 * i + 1] << 8));
}

bool IsTextPayload(const std::vector<uint8_t>& p)
{
    return p.size() >= 2 && p.size() % 2 == 0 && p[p.size() - 1] == 0 && p[p.size() - 2] == 0;
}

void AppendQuotedText(std::string& out, const std::vector<uint8_t>& p)
{
    size_t units = p.size() / 2 - 1; // without the final 0 unit
    out += '"';
    for (size_t i = 0; i < units; ++i) {
        uint16_t u = UnitAt(p, i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            uint16_t low = UnitAt(p, i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        switch (u) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if (u < 0x20 || u == 0x7F || (u >= 0xD800 && u <= 0xDFFF) || u == 0x2028 || u == 0x2029)
                AppendUnitEscape(out, u);
            else
                AppendUtf8(out, u);
        }
    }
    out += '"';
}

void AppendValue(std::string& out, const PrefValue& v)
{
    const std::vector<uint8_t>& p = v.payload;
    if (v.type == kPrefTypeInt && p.size() == 4) {
        int32_t n = static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24));
        out += std::to_string(n);
    } else if (v.type == kPrefTypeBool && p.size() == 1 && p[0] <= 1) {
        out += p[0] ? "true" : "false";
    } else if (v.type == kPrefTypeString && IsTextPayload(p)) {
        AppendQuotedText(out, p);
    } else {
        out += "hex:";
        for (uint8_t b : p)
            AppendHexByte(out, b);
    }
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ParseDecimal(const std::string& s, bool allowMinus, int64_t low, int64_t high, int64_t& out)
{
    size_t i = 0;
    bool negative = false;
    if (allowMinus && i < s.size() && s[i] == '-') {
        negative = true;
        ++i;
    }
    if (i == s.size() || s.size() - i > 10)
        return false;
    int64_t n = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        n = n * 10 + (s[i] - '0');
    }
    if (negative)
        n = -n;
    if (n < low || n > high)
        return false;
    out = n;
    return true;
}

bool UnescapeKey(const std::string& s, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == s.size())
            return false;
        switch (s[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 'x': {
            int hi = i + 1 < s.size() ? HexValue(s[i + 1]) : -1;
            int lo = i + 2 < s.size() ? HexValue(s[i + 2]) : -1;
            if (hi < 0 || lo < 0)
                return false;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return out.find('\0') == std::string::npos;
}

void PushUnit(std::vector<uint8_t>& p, uint32_t unit)
{
    p.push_back(static_cast<uint8_t>(unit));
    p.push_back(static_cast<uint8_t>(unit >> 8));
}

bool ParseQuotedText(const std::string& s, std::vector<uint8_t>& p)
{
    if (s.size() < 2 || s.front() != '"' || s.back() != '"')
        return false;
    size_t end = s.size() - 1;
    for (size_t i = 1; i < end;) {
        char c = s[i];
        if (c == '"')
            return false; // a bare quote inside the text
        if (c != '\\') {
            uint32_t cp;
            if (!DecodeUtf8(s, i, cp) || i > end)
                return false;
            if (cp >= 0x10000) {
                PushUnit(p, 0xD800 + ((cp - 0x10000) >> 10));
                PushUnit(p, 0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
                PushUnit(p, cp);
            }
            continue;
        }
        if (i + 1 >= end)
            return false;
        switch (s[i + 1]) {
        case '\\':
            PushUnit(p, '\\');
            i += 2;
            break;
        case '"':
            PushUnit(p, '"');
            i += 2;
            break;
        case 't':
            PushUnit(p, '\t');
            i += 2;
            break;
        case 'r':
            PushUnit(p, '\r');
            i += 2;
            break;
        case 'n':
            PushUnit(p, '\n');
            i += 2;
            break;
        case 'u': {
            if (i + 6 > end)
                return false;
            uint32_t unit = 0;
            for (size_t k = i + 2; k < i + 6; ++k) {
                int h = HexValue(s[k]);
                if (h < 0)
                    return false;
                unit = unit * 16 + h;
            }
            PushUnit(p, unit);
            i += 6;
            break;
        }
        default:
            return false;
        }
    }
    PushUnit(p, 0);
    return true;
}

bool ParseValue(uint16_t tag, const std::string& s, std::vector<uint8_t>& p, std::string& why)
{
    if (s.compare(0, 4, "hex:") == 0) {
        if (s.size() % 2 != 0) {
            why = "odd number of hex digits";
            return false;
        }
        for (size_t i = 4; i < s.size(); i += 2) {
            int hi = HexValue(s[i]), lo = HexValue(s[i + 1]);
            if (hi < 0 || lo < 0) {
                why = "bad hex digit";
                return false;
            }
            p.push_back(static_cast<uint8_t>(hi * 16 + lo));
        }
        return true;
    }
    if (tag == kPrefTypeInt) {
        int64_t n;
        if (!ParseDecimal(s, true, INT32_MIN, UINT32_MAX, n)) {
            why = "integer expected";
            return false;
        }
        uint32_t u = static_cast<uint32_t>(n);
        for (int k = 0; k < 4; ++k)
            p.push_back(static_cast<uint8_t>(u >> (8 * k)));
        return true;
    }
    if (tag == kPrefTypeBool) {
        if (s != "true" && s != "false") {
            why = "true or false expected";
            return false;
        }
        p.push_back(s == "true" ? 1 : 0);
        return true;
    }
    if (tag == kPrefTypeString) {
        if (!ParseQuotedText(s, p)) {
            why = "malformed quoted text";
            return false;
        }
        return true;
    }
    why = "hex: value expected for this type";
    return false;
}

bool ParseLine(const std::string& line, CPrefsTable& table, std::string& why)
{
    size_t t1 = line.find('\t');
    size_t t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
    size_t t3 = t2 == std::string::npos ? t2 : line.find('\t', t2 + 1);
    if (t3 == std::string::npos) {
        why = "expected section, type, key and value separated by tabs";
        return false;
    }
    int64_t section, tag;
    if (!ParseDecimal(line.substr(0, t1), false, 0, UINT32_MAX, section)) {
        why = "bad section number";
        return false;
    }
    if (!ParseDecimal(line.substr(t1 + 1, t2 - t1 - 1), false, 1, 0xFFFF, tag)) {
        why = "bad type tag";
        return false;
    }
    std::string key;
    if (!UnescapeKey(line.substr(t2 + 1, t3 - t2 - 1), key)) {
        why = "bad key";
        return false;
    }
    PrefValue value;
    value.type = static_cast<uint16_t>(tag);
    if (!ParseValue(value.type, line.substr(t3 + 1), value.payload, why))
        return false;
    table.Put(static_cast<uint32_t>(section), std::move(key), std::move(value));
    return true;
}

} // namespace

std::string FormatPrefsText(const CPrefsTable& table, const char* title)
{
    std::string out = kMagic;
    out += "\n# Settings of ";
    AppendEscapedKey(out, title ? title : "");
    out += ". One value a line: section, type, key and value, separated by tabs.\n"
           "# Types: 1 integer, 2 bytes (hex:), 4 true or false, 5 \"text\". Edit only while the program is closed.\n";
    for (const auto& [key, value] : table.GetValues()) {
        out += std::to_string(key.first);
        out += '\t';
        out += std::to_string(value.type);
        out += '\t';
        AppendEscapedKey(out, key.second);
        out += '\t';
        AppendValue(out, value);
        out += '\n';
    }
    return out;
}

bool ParsePrefsText(const char* text, size_t size, CPrefsTable& table, std::string& error)
{
    table.Clear();
    size_t pos = 0;
    uint32_t lineNumber = 0;
    std::string why;
    while (pos < size) {
        size_t end = pos;
        while (end < size && text[end] != '\n')
            ++end;
        std::string line(text + pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find('\0') != std::string::npos) {
            why = "NUL byte in the text";
        } else if (lineNumber == 1) {
            if (line == kMagic)
                continue;
            why = "the file does not start with \"LumoPrefs 1\"";
        } else if (line.empty() || line[0] == '#' || ParseLine(line, table, why)) {
            continue;
        }
        table.Clear();
        error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    }
    return true; // an empty file is an empty table
}
