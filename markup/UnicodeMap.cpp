#include "markup/UnicodeMap.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "framework/core/Report.h"
#include "markup/ContextWindows.h"

namespace {

struct UnicodeRange {
    uint16_t first;
    uint16_t last;
    uint8_t device; // 0: the character is dropped
};

// Sorted by first code point; ranges do not overlap.
constexpr UnicodeRange kUnicodeMap[] = {
    {0x0100, 0x0100, 'A'}, {0x0101, 0x0101, 'a'}, {0x0102, 0x0102, 'A'}, {0x0103, 0x0103, 'a'}, {0x0104, 0x0104, 'A'},
    {0x0105, 0x0105, 'a'}, {0x0106, 0x0106, 'C'}, {0x0107, 0x0107, 'c'}, {0x0108, 0x0108, 'C'}, {0x0109, 0x0109, 'c'},
    {0x010A, 0x010A, 'C'}, {0x010B, 0x010B, 'c'}, {0x010C, 0x010C, 'C'}, {0x010D, 0x010D, 'c'}, {0x0113, 0x0113, 'e'},
    {0x0115, 0x0115, 'e'}, {0x0117, 0x0117, 'e'}, {0x0119, 0x0119, 'e'}, {0x011B, 0x011B, 'e'}, {0x011D, 0x011D, 'g'},
    {0x011F, 0x011F, 'g'}, {0x012A, 0x012A, 'I'}, {0x012B, 0x012B, 'i'}, {0x012D, 0x012D, 'i'}, {0x012F, 0x012F, 'i'},
    {0x0131, 0x0131, 'i'}, {0x0141, 0x0141, 'L'}, {0x0142, 0x0142, 'l'}, {0x0144, 0x0144, 'n'}, {0x0148, 0x0148, 'n'},
    {0x014B, 0x014B, 'n'}, {0x014C, 0x014C, 'O'}, {0x014D, 0x014D, 'o'}, {0x014F, 0x014F, 'o'}, {0x0151, 0x0151, 'o'},
    {0x0155, 0x0155, 'r'}, {0x0159, 0x0159, 'r'}, {0x015A, 0x015A, 'S'}, {0x015B, 0x015B, 's'}, {0x015D, 0x015D, 's'},
    {0x015F, 0x015F, 's'}, {0x0163, 0x0163, 't'}, {0x0169, 0x0169, 'u'}, {0x016B, 0x016B, 'u'}, {0x016D, 0x016D, 'u'},
    {0x0177, 0x0177, 'y'}, {0x017A, 0x017A, 'z'}, {0x017D, 0x017D, 'Z'}, {0x017E, 0x017E, 'z'}, {0x01CE, 0x01CE, 'a'},
    {0x01D0, 0x01D0, 'i'}, {0x01D2, 0x01D2, 'o'}, {0x01D4, 0x01D4, 'u'}, {0x01E1, 0x01E1, 'a'}, {0x01E7, 0x01E7, 'g'},
    {0x01EB, 0x01EB, 'o'}, {0x01F0, 0x01F0, 'j'}, {0x0207, 0x0207, 'e'}, {0x0227, 0x0227, 'a'}, {0x0233, 0x0233, 'y'},
    {0x02BF, 0x02BF, 0},   {0x02CC, 0x02CC, 0},   {0x0394, 0x0394, 0},   {0x03B1, 0x03B3, 0},   {0x03BA, 0x03BA, 0},
    {0x1E0B, 0x1E0B, 'd'}, {0x1E0D, 0x1E0D, 'd'}, {0x1E17, 0x1E17, 'e'}, {0x1E22, 0x1E22, 'H'}, {0x1E24, 0x1E24, 'H'},
    {0x1E25, 0x1E25, 'h'}, {0x1E2B, 0x1E2B, 'h'}, {0x1E33, 0x1E33, 'k'}, {0x1E37, 0x1E37, 'l'}, {0x1E41, 0x1E41, 'm'},
    {0x1E43, 0x1E43, 'm'}, {0x1E45, 0x1E45, 'n'}, {0x1E47, 0x1E47, 'n'}, {0x1E53, 0x1E53, 'o'}, {0x1E59, 0x1E59, 'r'},
    {0x1E5A, 0x1E5A, 'R'}, {0x1E5B, 0x1E5B, 'r'}, {0x1E61, 0x1E61, 's'}, {0x1E63, 0x1E63, 's'}, {0x1E6B, 0x1E6B, 't'},
    {0x1E6D, 0x1E6D, 't'}, {0x1E6F, 0x1E6F, 't'}, {0x1E91, 0x1E91, 'z'}, {0x1E93, 0x1E93, 'z'}, {0x1E96, 0x1E96, 'h'},
    {0x1EA1, 0x1EA1, 'a'}, {0x1ECD, 0x1ECD, 'o'}, {0x1EF9, 0x1EF9, 'y'}, {0x2011, 0x2011, '-'}, {0x2225, 0x2225, 0},
    {0xE000, 0xE002, 'a'}, {0xE003, 0xE003, 'C'}, {0xE004, 0xE006, 'c'}, {0xE008, 0xE008, 'D'}, {0xE009, 0xE00D, 'e'},
    {0xE00E, 0xE00E, 'g'}, {0xE00F, 0xE010, 'i'}, {0xE011, 0xE013, 'k'}, {0xE015, 0xE015, 'L'}, {0xE016, 0xE017, 'l'},
    {0xE018, 0xE018, 'M'}, {0xE019, 0xE01A, 'm'}, {0xE01B, 0xE01D, 'o'}, {0xE023, 0xE025, 'r'}, {0xE026, 0xE028, 's'},
    {0xE02A, 0xE02A, 's'}, {0xE02D, 0xE02D, 'u'}, {0xE02E, 0xE02E, 'V'}, {0xE02F, 0xE02F, 'X'}, {0xE030, 0xE030, 'x'},
    {0xE031, 0xE031, 'y'},
};

int HexDigitValue(uint8_t byte)
{
    if (byte >= '0' && byte <= '9')
        return byte - '0';
    if (byte >= 'A' && byte <= 'F')
        return byte - 'A' + 10;
    return -1;
}

// Up to n bytes of text from start, fewer at the end of the text.
std::string Context(const uint8_t* text, uint32_t length, uint32_t start, uint32_t n)
{
    if (start >= length)
        return std::string();
    const uint32_t end = length - start < n ? length : start + n;
    return std::string(reinterpret_cast<const char*>(text + start), end - start);
}

} // namespace

uint16_t ParseUnicodeHex(const uint8_t* text, uint32_t length, uint32_t digits, MarkupErrorState& state)
{
    uint16_t value = 0;
    for (uint32_t k = 0; k < 4; ++k) {
        const uint32_t p = digits + k;
        const int digit = p < length ? HexDigitValue(text[p]) : -1;
        if (digit < 0) {
            state.failed = true;
            const uint32_t backslash = digits >= 2 ? digits - 2 : 0;
            ReportMessage(state.pass, kReportError, MessageRule::SmallFontPass, ReportPlace::At(backslash),
                          "Error in \\U specification: \"%s\"",
                          Context(text, length, backslash, kUnicodeEscapeContext.width).c_str());
            return value;
        }
        value = static_cast<uint16_t>(value * 16 + digit);
    }
    return value;
}

uint8_t MapUnicodeToDevice(uint16_t codePoint, MarkupErrorState& state)
{
    const auto* end = std::end(kUnicodeMap);
    const auto* it = std::upper_bound(std::begin(kUnicodeMap), end, codePoint,
                                      [](uint16_t cp, const UnicodeRange& r) { return cp < r.first; });
    if (it != std::begin(kUnicodeMap)) {
        const UnicodeRange& range = *(it - 1);
        if (codePoint >= range.first && codePoint <= range.last)
            return range.device;
    }
    state.failed = true;
    ReportMessage(state.pass, kReportError, MessageRule::Always, ReportPlace::At(state.place),
                  "Don't know how to map unicode character %04X", static_cast<unsigned>(codePoint));
    return ' ';
}

void WarnUnicodeInTitle(const uint8_t* text, uint32_t length, uint32_t backslash, uint32_t& count,
                        const MessagePass& pass)
{
    // Enough to show the pattern; a book full of them would drown the log.
    constexpr uint32_t kMaxWarnings = 100;
    if (pass.rescan)
        return; // met and counted the first time
    ++count;
    const ReportPlace place = ReportPlace::At(backslash);
    constexpr MessageRule rule = MessageRule::SmallFontPassNotInBatch;
    if (count <= kMaxWarnings) {
        ReportMessage(pass, kReportWarning, rule, place,
                      "Unicode characters currently aren't allowed in chapter or index specifications! "
                      "Mapping them. Begins with \"%s\"",
                      Context(text, length,
                              backslash >= kUnicodeTitleContext.before ? backslash - kUnicodeTitleContext.before : 0,
                              kUnicodeTitleContext.width)
                          .c_str());
    } else if (count == kMaxWarnings + 1) {
        ReportMessage(pass, kReportWarning, rule, place, "Showing only the first 100 mapping warnings.");
    }
}
