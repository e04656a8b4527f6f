#include <gtest/gtest.h>

#include <cstdarg>
#include <random>
#include <string>

#include "framework/core/RkString.h"
#include "framework/core/WideFormat.h"
#include "framework/core/WideString.h"

namespace {

std::u16string Fmt(const char16_t* format, ...)
{
    char16_t out[2048];
    va_list args;
    va_start(args, format);
    const int32_t n = WideFormatV(out, 2048, format, args);
    va_end(args);
    EXPECT_GE(n, 0);
    return std::u16string(out);
}

} // namespace

TEST(WideFormat, MixedConversions)
{
    EXPECT_EQ(Fmt(u"%d-%5.2f|%-4s|", 7, 3.14159, "ab"), u"7- 3.14|ab  |");
    EXPECT_EQ(Fmt(u"100%%"), u"100%");
    EXPECT_EQ(Fmt(u"%s and %ls", "caf\xE9\x80", u"\u03A9"), u"caf\u00E9\u20AC and \u03A9");
    EXPECT_EQ(Fmt(u"[%c%lc]", 'a', 0x2660), u"[a\u2660]");
    EXPECT_EQ(Fmt(u"[%c]", 0x90), u"[\u2660]");
    EXPECT_EQ(Fmt(u"[%s][%ls][%3s]", static_cast<const char*>(nullptr), static_cast<const char16_t*>(nullptr),
                  static_cast<const char*>(nullptr)),
              u"[][][   ]");
    EXPECT_EQ(Fmt(u"[%#s][%#ls]",
                  "\x03"
                  "abcdef",
                  u"\x0002xyz"),
              u"[abc][xy]");
    EXPECT_EQ(Fmt(u"[%.2s][%5.1ls]", "abc", u"xyz"), u"[ab][    x]");
}

TEST(WideFormat, Integers)
{
    EXPECT_EQ(Fmt(u"%i|%+d|% d|%05d|%-5d|%5d", -42, 5, 5, -42, 3, 3), u"-42|+5| 5|-0042|3    |    3");
    EXPECT_EQ(Fmt(u"%x|%X|%#x|%#o|%o|%u", 255u, 255u, 255u, 8u, 8u, 4000000000u), u"ff|FF|0xff|010|10|4000000000");
    EXPECT_EQ(Fmt(u"%.3d|%.0d|%#.0o|%#x", 7, 0, 0u, 0u), u"007||0|0");
    EXPECT_EQ(Fmt(u"%hhd|%hd|%hhu|%hu", 300, 70000, 300u, 70000u), u"44|4464|44|4464");
    // A long is 64 bits on LP64 systems and 32 bits on Windows.
    const long wide = sizeof(long) > 4 ? long(-9000000000LL) : -2000000000L;
    const std::string digits = std::to_string(wide);
    EXPECT_EQ(Fmt(u"%ld|%lld|%llx", wide, -9223372036854775807LL - 1, 0x123456789abcdefULL),
              std::u16string(digits.begin(), digits.end()) + u"|-9223372036854775808|123456789abcdef");
    EXPECT_EQ(Fmt(u"%*d|%-*d|%.*d|%.*d", 4, 1, 4, 2, 3, 5, -1, 6), u"   1|2   |005|6");
    EXPECT_EQ(Fmt(u"%*d|", -3, 9), u"9  |");
    EXPECT_EQ(Fmt(u"%p", reinterpret_cast<void*>(0x1234)), u"0x00001234");
    EXPECT_EQ(Fmt(u"%p", static_cast<void*>(nullptr)), u"00000000");
}

TEST(WideFormat, Floats)
{
    EXPECT_EQ(Fmt(u"%f|%.0f|%e|%E", 1.5, 2.5, 1234.5, 0.001), u"1.500000|2|1.234500e+03|1.000000E-03");
    EXPECT_EQ(Fmt(u"%g|%G|%#g|%+.3g", 0.0001, 1e20, 1.0, 3.14159), u"0.0001|1E+20|1.00000|+3.14");
    EXPECT_EQ(Fmt(u"%08.3f|%-8.2f|%Lf", -3.14159, 2.0, 1.25L), u"-003.142|2.00    |1.250000");
    EXPECT_EQ(Fmt(u"%F", 1.0 / 0.0), u"INF");
    // A huge precision is bounded and cannot overflow anything.
    const std::u16string big = Fmt(u"%.100000f", 1.0);
    EXPECT_EQ(big.substr(0, 4), u"1.00");
}

TEST(WideFormat, CountConversion)
{
    int n = -1;
    short h = -1;
    long l = -1;
    EXPECT_EQ(Fmt(u"abc%n%hn de%ln", &n, &h, &l), u"abc de");
    EXPECT_EQ(n, 3);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(l, 6);
}

TEST(WideFormat, UnknownConversionAndWideWidthCopyTheRestLiterally)
{
    EXPECT_EQ(Fmt(u"a%db%qc%d", 1, 2), u"a1b%qc%d");
    EXPECT_EQ(Fmt(u"x%509dy", 1).size(), 511u);
    EXPECT_EQ(Fmt(u"x%510dy%d", 1, 2), u"x%510dy%d");
    EXPECT_EQ(Fmt(u"x%*d", 600, 1), u"x%*d");
    EXPECT_EQ(Fmt(u"x%99999999999999999999d", 1), u"x%99999999999999999999d");
    EXPECT_EQ(Fmt(u"end%"), u"end%");
    EXPECT_EQ(Fmt(u"end%-0"), u"end%-0");
    EXPECT_EQ(Fmt(u"%zu", static_cast<size_t>(3)), u"%zu");
}

TEST(WideFormat, BoundedOutput)
{
    char16_t out[8];
    EXPECT_EQ(WideFormatBounded(out, 8, u"%s", "1234567"), 7);
    EXPECT_EQ(std::u16string(out), u"1234567");
    EXPECT_EQ(WideFormatBounded(out, 8, u"%s", "12345678"), -1);
    EXPECT_EQ(std::u16string(out), u"1234567");
    EXPECT_EQ(WideFormatBounded(out, 8, u"%d%d%d", 1234, 5678, 9), -1);
    EXPECT_EQ(std::u16string(out), u"1234567");
    out[0] = u'q';
    EXPECT_EQ(WideFormatBounded(out, 0, u"x"), -1);
    EXPECT_EQ(out[0], u'q');
    EXPECT_EQ(WideFormatBounded(out, 1, u""), 0);
    EXPECT_EQ(out[0], 0);
}

TEST(WideFormat, StringFormatCutsAtTheLimit)
{
    std::string text(2000, 'y');
    CRkString s(u"old");
    s.Format(u"%s", text.c_str());
    EXPECT_EQ(s.GetLength(), 1022u);
    EXPECT_EQ(s.GetChars()[1021], u'y');
    s.Format(u"%s", std::string(1022, 'z').c_str());
    EXPECT_EQ(s.GetLength(), 1022u);
    s.Format(u"%s", std::string(1021, 'z').c_str());
    EXPECT_EQ(s.GetLength(), 1021u);

    s.Format(u"n=%d", 5);
    s.AppendFormat(u", %ls", u"more");
    EXPECT_EQ(std::u16string(s.GetChars()), u"n=5, more");
}

// Any format, with harmless arguments, stays within the buffer.
TEST(WideFormat, RandomFormatsStayInBounds)
{
    std::mt19937 rng(12345);
    const char16_t alphabet[] = u"%%%-+ #0123456789.*hlLdiouxXeEfFgGcsnpq%ab";
    for (int round = 0; round < 20000; ++round) {
        char16_t format[24];
        const int len = static_cast<int>(rng() % 23);
        for (int i = 0; i < len; ++i)
            format[i] = alphabet[rng() % (sizeof alphabet / 2 - 1)];
        format[len] = 0;
        // Skip conversions that would read pointers the test does not pass.
        const std::u16string f(format);
        if (f.find(u'n') != std::u16string::npos || f.find(u's') != std::u16string::npos)
            continue;
        char16_t out[64];
        out[63] = 0x7777;
        const int32_t n = WideFormatBounded(out, 63, format, 1, 2, 3, 4, 5, 6, 7, 8);
        ASSERT_EQ(out[63], 0x7777);
        if (n >= 0)
            ASSERT_EQ(out[n], 0);
        else
            ASSERT_EQ(out[62], 0);
    }
}

// An argument (or the format) that points into the string being formatted
// must be read before the string is replaced.
TEST(WideFormat, StringFormatReadsArgumentsInsideItself)
{
    CRkString s(u"abc");
    s.Format(u"[%ls|%ls]", s.GetChars(), s.GetChars() + 1);
    EXPECT_EQ(std::u16string(s.GetChars(), s.GetLength()), u"[abc|bc]");

    CRkString f(u"n=%d");
    f.Format(f.GetChars(), 42);
    EXPECT_EQ(std::u16string(f.GetChars(), f.GetLength()), u"n=42");

    CRkString a(u"xy");
    a.AppendFormat(u"-%ls", a.GetChars());
    EXPECT_EQ(std::u16string(a.GetChars(), a.GetLength()), u"xy-xy");

    CRkString n(u"narrow");
    n.Format(u"%s!", n.GetNarrow());
    EXPECT_EQ(std::u16string(n.GetChars(), n.GetLength()), u"narrow!");
}
