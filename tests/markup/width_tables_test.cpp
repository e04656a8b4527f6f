// The device font widths: which table a font and style select, values that
// tell the tables apart, and the widths at work in the line layout.
#include "markup/FontWidths.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/markup/PaginateHarness.h"
#include "tests/markup/ReportCapture.h"

namespace {

TEST(FontWidths, FontAndStyleSelectTheTableAndLineHeight)
{
    struct Case {
        uint16_t font;
        bool script;
        bool bold;
        const uint8_t* widths;
        uint32_t height;
    };
    const Case cases[] = {
        {0, false, false, kStandardWidths, 11}, {0, false, true, kBoldWidths, 11},
        {1, false, false, kBoldWidths, 11},     {1, false, true, kBoldWidths, 11},
        {2, false, false, kLargeWidths, 14},    {2, false, true, kLargeBoldWidths, 15},
        {0, true, false, kScriptWidths, 7},     {1, true, true, kScriptWidths, 7},
        {2, true, true, kScriptWidths, 7},
    };
    for (const Case& c : cases) {
        const FontMetrics metrics = SelectFontMetrics(c.font, c.script, c.bold);
        EXPECT_EQ(metrics.widths, c.widths) << c.font << c.script << c.bold;
        EXPECT_EQ(metrics.minLineHeight, c.height) << c.font << c.script << c.bold;
    }
}

TEST(FontWidths, TablesHoldTheDeviceMetrics)
{
    // Values at row starts and ends and where the tables differ.
    EXPECT_EQ(kStandardWidths[0x00], 0);
    EXPECT_EQ(kStandardWidths[0x09], 2);
    EXPECT_EQ(kStandardWidths[' '], 2);
    EXPECT_EQ(kStandardWidths['W'], 8);
    EXPECT_EQ(kStandardWidths[0x89], 11);
    EXPECT_EQ(kStandardWidths[0xAD], 4);
    EXPECT_EQ(kStandardWidths[0xFF], 6);
    EXPECT_EQ(kBoldWidths['%'], 13);
    EXPECT_EQ(kBoldWidths['W'], 11);
    EXPECT_EQ(kBoldWidths[0x89], 17);
    EXPECT_EQ(kBoldWidths[0xDF], 8);
    EXPECT_EQ(kLargeWidths[' '], 4);
    EXPECT_EQ(kLargeWidths['@'], 11);
    EXPECT_EQ(kLargeWidths[0x97], 12);
    EXPECT_EQ(kLargeWidths[0xAF], 4);
    EXPECT_EQ(kLargeWidths[0xFF], 7);
    EXPECT_EQ(kLargeBoldWidths[0x00], 5);
    EXPECT_EQ(kLargeBoldWidths[0x14], 11);
    EXPECT_EQ(kLargeBoldWidths[0xA0], 1);
    EXPECT_EQ(kLargeBoldWidths['}'], 7);
    EXPECT_EQ(kScriptWidths[0x17], 8);
    EXPECT_EQ(kScriptWidths['1'], 2);
    EXPECT_EQ(kScriptWidths[0x80], 7);
    EXPECT_EQ(kScriptWidths[0xBE], 10);
}

// Where the line after `prefix` and a run of "a" breaks in each pass: the
// text is laid out behind nine short lines, so in the large-font pass the
// 11th line begins page 1, and behind twelve in the small-font pass.
TEST(FontWidths, LayoutMeasuresWithTheSelectedTable)
{
    ReportCapture capture(true);
    // Large font "a" is 6 pixels: 26 fit (156), the 27th begins the next
    // line. The small-font pass fits all 30 (150).
    const auto large = Scan(ShortLines(9) + std::string(30, 'a'));
    EXPECT_EQ(LargePages(*large), OneRecord({0, 18 + 26}, kEntryLargeFont));
    EXPECT_EQ(SmallPages(*large), OneRecord({0}));

    // Bold style on the standard font: 6 pixels, 26 fit.
    const auto bold = Scan(ShortLines(12) + "\\B" + std::string(30, 'a') + "\\B");
    EXPECT_EQ(SmallPages(*bold), (PageTable{{0, 1, 0, 0, 0}, {1, 1, 52, 52, 0x0080}}));

    // Superscript: 4 pixels, 39 fit (156).
    const auto script = Scan(ShortLines(12) + "\\Sp" + std::string(45, 'a') + "\\Sp");
    EXPECT_EQ(SmallPages(*script), (PageTable{{0, 1, 0, 0, 0}, {1, 1, 66, 66, 0x0200}}));

    // A break before a font switch keeps the font before it: the line
    // breaks before "\l", which begins page 1 in the standard font.
    const auto back = Scan(ShortLines(12) + std::string(20, 'a') + " \\l" + std::string(10, 'a'));
    EXPECT_EQ(SmallPages(*back), OneRecord({0, 24 + 21}));
}

} // namespace
