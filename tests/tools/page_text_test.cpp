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

TEST(PageText, ReadsMalformedCodesAsTheLayoutDoes)
{
    // \a takes three bytes as digits whether or not they are: ('x' - 48) * 100
    // + ('1' - 48) * 10 + ('y' - 48) = 7283, and 7283 mod 256 = 0x73 ("s").
    EXPECT_EQ(FirstLine("a\\ax1yb"), "asb");
    // \F and \M with a letter that names no code lose only their two bytes;
    // \S with one loses three.
    EXPECT_EQ(FirstLine("\\Fx=\"f\"z"), "x=\"f\"z");
    EXPECT_EQ(FirstLine("\\Mq=\"a.png\"z"), "q=\"a.png\"z");
    EXPECT_EQ(FirstLine("\\Snz"), "z");
    // A percent argument goes to its closing quote.
    EXPECT_EQ(FirstLine("\\T=\"5%x\"z"), "z");
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

} // namespace
