#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tools/book/PageText.h"

namespace {

std::string FirstLine(const std::string& text, uint32_t start = 0, uint32_t end = 0xFFFFFFFF)
{
    return VisibleFirstLine(reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()), start, end);
}

TEST(PageText, LeavesOutCodesAndArguments)
{
    EXPECT_EQ(FirstLine("\\x\\Q=\"wall\"I. The \\iClock\\i\\x\nnext"), "I. The Clock");
    EXPECT_EQ(FirstLine("\\C0=\"Title\"\\c\\lBig\\l\\c"), "Big");
    EXPECT_EQ(FirstLine("\\X1Heading\\X1"), "Heading");
    EXPECT_EQ(FirstLine("see \\q=\"#note\"the note\\q and \\Sd=\"map\"map\\Sd\\Fn=\"f\"*\\Fn."),
              "see the note and map*.");
    EXPECT_EQ(FirstLine("a\\\\b \\a233t\\- \\Sp2\\Sp \\T=\"10%\"x"), "a\\b \xc3\xa9t 2 x");
    EXPECT_EQ(FirstLine("\\m=\"tide.png\" and \\My=\"a.png\""), "[image tide.png] and [image a.png]");
    EXPECT_EQ(FirstLine("\\w=\"60%\"\n"), "----");
    EXPECT_EQ(FirstLine("\\U00E9!"), "?!");
}

TEST(PageText, SkipsInvisibleTextAndBlankLines)
{
    // Line ends inside invisible text do not end the line.
    EXPECT_EQ(FirstLine("\\vTITLE=\"T\"\nAUTHOR=\"A\"\n\\v\\c\\c\n   \n\nText"), "Text");
    EXPECT_EQ(FirstLine("\n\n  indented\nnext"), "  indented");
}

TEST(PageText, StopsAtThePageEndAndCutsLongLines)
{
    std::string text = "first page\nsecond page";
    EXPECT_EQ(FirstLine(text, 11), "second page");
    EXPECT_EQ(FirstLine(text, 0, 5), "first");
    // Nothing visible before the next page: empty.
    EXPECT_EQ(FirstLine("\\c\\c\nsecond", 0, 5), "");
    EXPECT_EQ(FirstLine(text, 100), "");
    std::string lengthy(100, 'x');
    EXPECT_EQ(FirstLine(lengthy), std::string(kShownLineBytes, 'x') + "...");
    EXPECT_EQ(FirstLine(std::string(kShownLineBytes, 'y')), std::string(kShownLineBytes, 'y'));
    // Codes and arguments cut off by the end of the text end the line.
    EXPECT_EQ(FirstLine("ab\\m=\"never closed"), "ab[image never closed]");
    EXPECT_EQ(FirstLine("ab\\"), "ab");
    EXPECT_EQ(FirstLine("ab\\X"), "ab");
}

}
