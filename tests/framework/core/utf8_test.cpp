// The UTF-8 encoder and decoder and their policy for bad input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/Utf8.h"

namespace {

TEST(Utf8, EveryLengthRoundTrips)
{
    for (uint32_t cp : {0x24u, 0x7Fu, 0x80u, 0xA2u, 0x7FFu, 0x800u, 0x20ACu, 0xFFFDu, 0x10000u, 0x10348u, 0x10FFFFu}) {
        std::string bytes;
        AppendUtf8(bytes, cp);
        EXPECT_EQ(bytes.size(), cp < 0x80 ? 1u : cp < 0x800 ? 2u : cp < 0x10000 ? 3u : 4u) << cp;
        size_t pos = 0;
        uint32_t back = 0;
        ASSERT_TRUE(DecodeUtf8(bytes, pos, back)) << cp;
        EXPECT_EQ(back, cp);
        EXPECT_EQ(pos, bytes.size());
    }
    std::string euro;
    AppendUtf8(euro, 0x20AC);
    EXPECT_EQ(euro, "\xE2\x82\xAC");
}

TEST(Utf8, BadSequencesAreRefusedAndThePositionStays)
{
    const std::vector<std::string> bad = {
        "\x80",             // a stray continuation byte
        "\xC3",             // cut short
        "\xE2\x82",         // cut short
        "\xC3\x28",         // a continuation byte missing
        "\xC0\xAF",         // overlong "/"
        "\xE0\x80\xAF",     // overlong
        "\xED\xA0\x80",     // a surrogate (U+D800)
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xF8\x88\x80\x80\x80",
        "\xFF",
    };
    for (const std::string& text : bad) {
        size_t pos = 0;
        uint32_t cp = 0x1234;
        EXPECT_FALSE(DecodeUtf8("ok" + text, pos = 2, cp)) << testing::PrintToString(text);
        EXPECT_EQ(pos, 2u);
    }
    size_t end = 3;
    uint32_t cp = 0;
    EXPECT_FALSE(DecodeUtf8("abc", end, cp)); // at the end: nothing to read
}

TEST(Utf8, TheEncoderWritesASurrogateAsItStands)
{
    std::string bytes;
    AppendUtf8(bytes, 0xD800);
    EXPECT_EQ(bytes, "\xED\xA0\x80");
    size_t pos = 0;
    uint32_t cp = 0;
    EXPECT_FALSE(DecodeUtf8(bytes, pos, cp)); // and the decoder refuses it
}

} // namespace
