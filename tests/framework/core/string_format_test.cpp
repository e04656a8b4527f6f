// Formatting into a std::string.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>

#include "framework/core/StringFormat.h"

namespace {

bool FormatInto(std::string& out, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const bool ok = FormatStringV(out, format, args);
    va_end(args);
    return ok;
}

TEST(StringFormat, LongResultsAndEmbeddedNulsComeWhole)
{
    const std::string word(5000, 'w');
    EXPECT_EQ(FormatString("<%s|%d>", word.c_str(), -12), "<" + word + "|-12>");
    const std::string withNul = FormatString("a%cb", 0);
    EXPECT_EQ(withNul, std::string("a\0b", 3));
    EXPECT_EQ(FormatString("%s", ""), "");
}

TEST(StringFormat, AFormatTheLibraryRefusesGivesFalseAndNothing)
{
    std::string out = "old";
    // A wide character outside the C locale's character set: refused where
    // the C library refuses it (glibc does), else formatted as it formats.
    const wint_t euro = 0x20AC;
    char direct[16];
    const int n = std::snprintf(direct, sizeof direct, "x%lcy", euro);
    EXPECT_EQ(FormatInto(out, "x%lcy", euro), n >= 0);
    EXPECT_EQ(out, n >= 0 ? std::string(direct, static_cast<size_t>(n)) : std::string());
    EXPECT_TRUE(FormatInto(out, "%05.1f", 2.5));
    EXPECT_EQ(out, "002.5");
}

} // namespace
