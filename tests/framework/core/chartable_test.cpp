#include <gtest/gtest.h>

#include <set>
#include <string>

#include "framework/core/CharTable.h"
#include "framework/core/RkString.h"

namespace {

// The code points held beyond U+00FF, written out independently of the
// table's own range list.
const char kHeldList[] =
    "U+0100-U+0103, U+0105, U+0107, U+010C-U+010D, U+0112-U+0113, U+0115, U+0117, U+0119, U+011B, "
    "U+011D, U+011F, U+012A-U+012B, U+012D, U+012F, U+0131, U+0141-U+0142, U+0144, U+0148, "
    "U+014B-U+014D, U+014F, U+0151-U+0153, U+0155, U+0159-U+015B, U+015F-U+0161, U+0163, U+0169, "
    "U+016B, U+016D, U+0177-U+0178, U+017A, U+017D-U+017E, U+0192, U+01BF, U+01CE, U+01D0, U+01D2, "
    "U+01D4, U+01E1, U+01E3, U+01E7, U+01EB, U+01F0, U+0207, U+021D, U+0227, U+022F, U+0233, "
    "U+0251-U+0252, U+0254, U+0259, U+025C, U+0265, U+026A, U+0272, U+0283, U+0289-U+028A, U+028C, "
    "U+028F, U+0292, U+0294, U+029C, U+02BE-U+02BF, U+02C6-U+02C8, U+02CC, U+02D0, U+02D8-U+02D9, "
    "U+02DC, U+0391-U+03A1, U+03A3-U+03A9, U+03B1-U+03C9, U+03D1, U+03DD, U+05D0-U+05E8, U+05EA, "
    "U+0627, U+1E0B, U+1E0D, U+1E17, U+1E22, U+1E24-U+1E25, U+1E2B, U+1E33, U+1E37, U+1E41, U+1E43, "
    "U+1E45, U+1E47, U+1E53, U+1E59-U+1E5B, U+1E61, U+1E63, U+1E6B, U+1E6D, U+1E6F, U+1E91, U+1E93, "
    "U+1E96, U+1EA1, U+1ECD, U+1EF9, U+2011, U+2013-U+2014, U+2018-U+201A, U+201C-U+201E, "
    "U+2020-U+2022, U+2026, U+2028, U+2030, U+2038-U+203A, U+203D, U+2042, U+20AC, U+2122, U+2190, "
    "U+2192, U+2202, U+221A, U+221E, U+2225, U+222B, U+2260, U+2294-U+2295, U+22EE, U+24CA, U+261C, "
    "U+261E, U+263F-U+2640, U+2642-U+2647, U+2660-U+2663, U+266D-U+266F, U+2713, U+2720, "
    "U+E000-U+E01C, U+E01E-U+E028, U+E02A-U+E051, U+F800-U+F803, U+FB02, U+FB2A-U+FB2B";

std::set<uint32_t> ParseHeld()
{
    std::set<uint32_t> held;
    for (uint32_t c = 0; c < 256; ++c)
        held.insert(c);
    const std::string list = kHeldList;
    size_t pos = 0;
    while ((pos = list.find("U+", pos)) != std::string::npos) {
        const uint32_t first = std::stoul(list.substr(pos + 2, 4), nullptr, 16);
        uint32_t last = first;
        if (list.compare(pos + 6, 3, "-U+") == 0)
            last = std::stoul(list.substr(pos + 9, 4), nullptr, 16);
        for (uint32_t c = first; c <= last; ++c)
            held.insert(c);
        pos += last == first ? 6 : 13;
    }
    return held;
}

struct Telling {
    char16_t code, upper, lower;
    uint8_t deviceLatin, macRoman;
    uint16_t flags;
};

} // namespace

TEST(CharTable, HoldsExactlyTheListedCodePoints)
{
    const std::set<uint32_t> held = ParseHeld();
    ASSERT_EQ(held.size(), kCharTableRows);
    const CharInfo* rows = GetCharTable();
    auto it = held.begin();
    for (uint32_t i = 0; i < kCharTableRows; ++i, ++it) {
        ASSERT_EQ(rows[i].code, *it) << "row " << i;
        EXPECT_EQ(rows[i].fourth, rows[i].code);
        EXPECT_EQ(rows[i].zero, 0);
    }
    for (uint32_t c = 0; c < 0x10000; ++c) {
        const CharInfo* info = FindCharInfo(static_cast<char16_t>(c));
        if (held.count(c)) {
            ASSERT_NE(info, nullptr) << std::hex << c;
            EXPECT_EQ(info->code, c);
        } else {
            ASSERT_EQ(info, nullptr) << std::hex << c;
            EXPECT_EQ(GetCharClass(static_cast<char16_t>(c)), 1);
        }
    }
}

TEST(CharTable, TellingRows)
{
    const Telling rows[] = {
        {0x0041, 0x0041, 0x0061, 0x41, 0x41, 0x0001}, {0x00E9, 0x00C9, 0x00E9, 0xE9, 0x8E, 0x0001},
        {0x00B5, 0x00B5, 0x00B5, 0xB5, 0xB5, 0x0001}, {0x00FF, 0x0178, 0x00FF, 0xFF, 0xD8, 0x0001},
        {0x0105, 0x0105, 0x0105, 0x00, 0x00, 0x2001}, {0x0152, 0x0152, 0x0153, 0x8C, 0xCE, 0x2001},
        {0x03A9, 0x03A9, 0x03C9, 0x00, 0xBD, 0x3001}, {0x2011, 0x2011, 0x2011, 0x2D, 0x2D, 0x1008},
        {0x2028, 0x2028, 0x2028, 0x0D, 0x0D, 0x0710}, {0x20AC, 0x20AC, 0x20AC, 0x80, 0xDB, 0x3108},
        {0x2660, 0x2660, 0x2660, 0x90, 0x00, 0x3001},
    };
    for (const Telling& t : rows) {
        const CharInfo* info = FindCharInfo(t.code);
        ASSERT_NE(info, nullptr);
        SCOPED_TRACE(testing::Message() << std::hex << "U+" << static_cast<int>(t.code));
        EXPECT_EQ(info->upper, t.upper);
        EXPECT_EQ(info->lower, t.lower);
        EXPECT_EQ(info->deviceLatin, t.deviceLatin);
        EXPECT_EQ(info->macRoman, t.macRoman);
        EXPECT_EQ(info->flags, t.flags);
    }
}

TEST(CharTable, CaseColumnsAreConsistent)
{
    const CharInfo* rows = GetCharTable();
    for (uint32_t i = 0; i < kCharTableRows; ++i) {
        const CharInfo& r = rows[i];
        // Every mapping points at a held row that maps back.
        if (r.lower != r.code) {
            const CharInfo* other = FindCharInfo(r.lower);
            ASSERT_NE(other, nullptr);
            EXPECT_EQ(other->upper, r.code) << std::hex << r.code;
        }
        if (r.upper != r.code) {
            const CharInfo* other = FindCharInfo(r.upper);
            ASSERT_NE(other, nullptr);
            EXPECT_EQ(other->lower, r.code) << std::hex << r.code;
        }
    }
    EXPECT_EQ(FoldCase(u'Z'), u'z');
    EXPECT_EQ(FoldCase(u'\u00DE'), u'\u00FE');
    EXPECT_EQ(FoldCase(u'\u00D7'), u'\u00D7');
    EXPECT_EQ(FoldCase(u'\u0178'), u'\u00FF');
    EXPECT_EQ(FoldCase(u'\u0160'), u'\u0161');
    EXPECT_EQ(FoldCase(u'\u0391'), u'\u03B1');
    EXPECT_EQ(FoldCase(u'\u1E24'), u'\u1E25');
    EXPECT_EQ(FoldCase(u'\u1E22'), u'\u1E22'); // its lower case is not held
    EXPECT_EQ(FoldCase(u'\u0104'), u'\u0104'); // not held at all
}

TEST(CharTable, DeviceLatinColumnIsTheInverseOfTheEncoding)
{
    for (uint32_t b = 1; b < 256; ++b) {
        const char16_t unit = DeviceLatinToUnicode(static_cast<uint8_t>(b));
        const CharInfo* info = FindCharInfo(unit);
        if (unit == 0xFFFD) {
            EXPECT_EQ(info, nullptr);
            continue;
        }
        ASSERT_NE(info, nullptr) << b;
        EXPECT_EQ(info->deviceLatin, b);
    }
    // U+0080-U+009F have no device Latin byte.
    for (char16_t c = 0x80; c < 0xA0; ++c)
        EXPECT_EQ(FindCharInfo(c)->deviceLatin, 0);
    EXPECT_EQ(FindCharInfo(0x2661)->deviceLatin, 0x8F);
    EXPECT_EQ(FindCharInfo(0x0153)->deviceLatin, 0x9C);
}

TEST(CharTable, MacRomanColumnAgreesWithTheEncoding)
{
    int held = 0;
    for (uint32_t b = 1; b < 256; ++b) {
        const CharInfo* info = FindCharInfo(MacRomanToUnicode(static_cast<uint8_t>(b)));
        if (info) {
            EXPECT_EQ(info->macRoman, b) << b;
            ++held;
        }
    }
    EXPECT_EQ(held, 255 - 13);
    EXPECT_EQ(FindCharInfo(0x00A4)->macRoman, 0); // currency sign has no Mac code
    EXPECT_EQ(FindCharInfo(0x0131)->macRoman, 0xF5);
}

TEST(CharTable, ClassesOfLatin1)
{
    EXPECT_EQ(GetCharClass(u'7'), kCharClassDigit);
    EXPECT_EQ(GetCharClass(u'z'), kCharClassLetter);
    EXPECT_EQ(GetCharClass(u'!'), kCharClassPunctuation);
    EXPECT_EQ(GetCharClass(u'"'), kCharClassQuote);
    EXPECT_EQ(GetCharClass(u'`'), kCharClassQuote);
    EXPECT_EQ(GetCharClass(u'\u00AB'), kCharClassQuote);
    EXPECT_EQ(GetCharClass(u'\u201D'), kCharClassQuote);
    EXPECT_EQ(GetCharClass(u'\u2039'), kCharClassQuote);
    EXPECT_EQ(GetCharClass(u'\''), kCharClassApostrophe);
    EXPECT_EQ(GetCharClass(u'-'), kCharClassDash);
    EXPECT_EQ(GetCharClass(u'_'), kCharClassDash);
    EXPECT_EQ(GetCharClass(u'\u00AD'), kCharClassDash);
    EXPECT_EQ(GetCharClass(u'\u2014'), kCharClassDash);
    EXPECT_EQ(GetCharClass(u'/'), kCharClassSlash);
    EXPECT_EQ(GetCharClass(u'\t'), kCharClassControl);
    EXPECT_EQ(GetCharClass(u'\u0085'), kCharClassControl);
    EXPECT_EQ(GetCharClass(u'\n'), kCharClassLineBreak);
    EXPECT_EQ(GetCharClass(u'\f'), kCharClassLineBreak);
    EXPECT_EQ(GetCharClass(u'\r'), kCharClassLineBreak);
    EXPECT_EQ(GetCharClass(u'\u00A0'), kCharClassNoBreakSpace);
    EXPECT_EQ(GetCharClass(u'\u00DF'), kCharClassLetter);
    EXPECT_EQ(GetCharClass(u'\u00F7'), kCharClassPunctuation);
    EXPECT_EQ(GetCharClass(u'\u05D0'), kCharClassOtherLetter);
    EXPECT_EQ(GetCharClass(u'\u1E96'), kCharClassLatinLetter);
}
