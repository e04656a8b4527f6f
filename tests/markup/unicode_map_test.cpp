#include "markup/UnicodeMap.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/markup/ReportCapture.h"

namespace {

struct Parsed {
    uint16_t value;
    bool failed;
};

Parsed Parse(const std::string& escape, bool log = true)
{
    MarkupErrorState state;
    state.pass.smallFont = log; // logged in the small-font pass only
    const uint16_t value = ParseUnicodeHex(reinterpret_cast<const uint8_t*>(escape.data()),
                                           static_cast<uint32_t>(escape.size()), 2, state);
    return {value, state.failed};
}

uint8_t Map(uint16_t codePoint, bool* failed = nullptr)
{
    MarkupErrorState state;
    const uint8_t device = MapUnicodeToDevice(codePoint, state);
    if (failed)
        *failed = state.failed;
    return device;
}

TEST(ParseUnicodeHex, ReadsFourUppercaseDigits)
{
    ReportCapture capture;
    EXPECT_EQ(Parse("\\U0141 rest").value, 0x0141);
    EXPECT_EQ(Parse("\\UE02F").value, 0xE02F);
    EXPECT_EQ(Parse("\\UFFFF").value, 0xFFFF);
    EXPECT_FALSE(Parse("\\U0141").failed);
    EXPECT_TRUE(capture.errors().empty());
}

TEST(ParseUnicodeHex, BadDigitIsAnErrorWithTheEscape)
{
    ReportCapture capture;
    const Parsed lower = Parse("\\U01f0 text");
    EXPECT_TRUE(lower.failed);
    EXPECT_EQ(lower.value, 0x01);
    const Parsed first = Parse("\\Ux141");
    EXPECT_EQ(first.value, 0);
    const Parsed cut = Parse("\\U01");
    EXPECT_TRUE(cut.failed);
    EXPECT_EQ(cut.value, 0x01);
    ASSERT_EQ(capture.errors().size(), 3u);
    EXPECT_EQ(capture.errors()[0], "Error in \\U specification: \"\\U01f0\"");
    EXPECT_EQ(capture.errors()[1], "Error in \\U specification: \"\\Ux141\"");
    EXPECT_EQ(capture.errors()[2], "Error in \\U specification: \"\\U01\"");
}

TEST(ParseUnicodeHex, CallerCanSilenceButStillLearnsOfTheFailure)
{
    ReportCapture capture;
    EXPECT_TRUE(Parse("\\U01f0", false).failed);
    EXPECT_TRUE(capture.errors().empty());
}

TEST(MapUnicodeToDevice, MapsToLettersOrDrops)
{
    ReportCapture capture;
    EXPECT_EQ(Map(0x0141), 'L');
    EXPECT_EQ(Map(0x0100), 'A');
    EXPECT_EQ(Map(0x01F0), 'j');
    EXPECT_EQ(Map(0x1E5A), 'R');
    EXPECT_EQ(Map(0x2011), '-');
    EXPECT_EQ(Map(0xE000), 'a');
    EXPECT_EQ(Map(0xE00B), 'e');
    EXPECT_EQ(Map(0xE031), 'y');
    bool failed = true;
    EXPECT_EQ(Map(0x03B1, &failed), 0);
    EXPECT_FALSE(failed);
    EXPECT_EQ(Map(0x03B2), 0);
    EXPECT_EQ(Map(0x2225), 0);
    EXPECT_TRUE(capture.errors().empty());
}

TEST(MapUnicodeToDevice, UnknownCodePointIsAnErrorAndASpace)
{
    ReportCapture capture;
    bool failed = false;
    EXPECT_EQ(Map(0x00E9, &failed), ' ');
    EXPECT_TRUE(failed);
    // Neighbours of mapped entries and of ranges are not mapped.
    for (uint16_t cp : {0x0000, 0x00FF, 0x010E, 0x03B4, 0xE007, 0xE014, 0xE02B, 0xE032, 0xFFFF})
        EXPECT_EQ(Map(cp), ' ') << std::hex << cp;
    ASSERT_EQ(capture.errors().size(), 10u);
    EXPECT_EQ(capture.errors()[0], "Don't know how to map unicode character 00E9");
    EXPECT_EQ(capture.errors()[9], "Don't know how to map unicode character FFFF");

    MarkupErrorState quiet;
    quiet.pass.rescan = true;
    EXPECT_EQ(MapUnicodeToDevice(0x00E9, quiet), ' ');
    EXPECT_TRUE(quiet.failed);
    EXPECT_EQ(capture.errors().size(), 10u);
}

TEST(WarnUnicodeInTitle, FirstHundredWarnThenOneClosingWarning)
{
    ReportCapture capture;
    const std::string text = "\\C=\"Ma\\U0141ow and more text\"";
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    uint32_t count = 0;
    for (int i = 0; i < 105; ++i)
        WarnUnicodeInTitle(bytes, static_cast<uint32_t>(text.size()), 6, count, MessagePass{});
    EXPECT_EQ(count, 105u);
    ASSERT_EQ(capture.warnings().size(), 101u);
    EXPECT_EQ(capture.warnings()[0], "Unicode characters currently aren't allowed in chapter or index "
                                     "specifications! Mapping them. Begins with \"Ma\\U0141ow and more \"");
    EXPECT_EQ(capture.warnings()[100], "Showing only the first 100 mapping warnings.");

    uint32_t silentCount = 0;
    WarnUnicodeInTitle(bytes, static_cast<uint32_t>(text.size()), 6, silentCount, MessagePass{false, false});
    EXPECT_EQ(silentCount, 1u);
    EXPECT_EQ(capture.warnings().size(), 101u);
}

} // namespace
