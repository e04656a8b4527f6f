// Rules (\w="nn%") and indents (\T="nn%").
#include <gtest/gtest.h>

#include <string>

#include "tests/markup/ReportCapture.h"
#include "tests/markup/ScanHarness.h"

namespace {

TEST(ScanRules, WellFormedRulesAndIndentsAreSilent)
{
    ReportCapture capture;
    auto r = Scan("\\w=\"50%\"\n\\T=\"5%\"a\\T=\"100%\"\n\\w=\"0%\"\n\\T=\"010%\"x");
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(capture.all(), (Messages{kSmall, kLarge}));
}

TEST(ScanRules, MissingPercentIsReportedInEveryPass)
{
    ReportCapture capture;
    auto r = Scan("\\w=\"50\"\n\\T=\"20\"");
    EXPECT_TRUE(r->failed);
    const std::string w = "E:Rule syntax is '\\w=\"xx%\"' -- you forgot the %.";
    const std::string t = "E:Indent syntax is '\\T=\"xx%\"' -- you forgot the %.";
    EXPECT_EQ(capture.all(), (Messages{kSmall, w, t, kLarge, w, t}));
}

TEST(ScanRules, MoreThanThreeDigitsAndNonDigits)
{
    ReportCapture capture;
    auto r = Scan("\\w=\"1234%\"\n\\T=\"5a%\"\n\\w=\"x%\"");
    EXPECT_TRUE(r->failed);
    const Messages pass = {"E:More than three digits were specified for the rule width",
                           "E:Indent specifier must be only digits!", "E:Rule width specifier must be only digits!"};
    Messages expected{kSmall};
    expected.insert(expected.end(), pass.begin(), pass.end());
    expected.push_back(kLarge);
    expected.insert(expected.end(), pass.begin(), pass.end());
    EXPECT_EQ(capture.all(), expected);
}

TEST(ScanRules, SyntaxErrorsShowSevenBytes)
{
    ReportCapture capture;
    // no quote after the "=": seven bytes from the backslash; no quote after
    // the "%": seven bytes from the byte before the "%"
    const std::string text = "\\w=50%\"\n\\T-\"5%\"\n\\w=\"12%x more";
    auto r = Scan(text);
    EXPECT_TRUE(r->failed);
    const size_t t = text.find("\\T-");
    const size_t pct = text.find("%x");
    EXPECT_EQ(capture.problems(),
              (Messages{"E:Rule syntax is '\\w=\"xx%\"'.  You have '\\w=50%\"'",
                        "E:Indent syntax is '\\T=\"xx%\"'.  You have '" + text.substr(t, 7) + "'",
                        "E:Rule syntax is '\\w=\"xx%\"'.  You have '" + text.substr(pct - 1, 7) + "'"}));
}

TEST(ScanRules, IndentCappedAtTheLineWidthAndWarnedWhenBehind)
{
    ReportCapture capture;
    // 150 % acts as 100 %: the line position is then 158, which the second
    // indent does not move
    auto r = Scan("\\T=\"150%\"\\T=\"100%\"");
    EXPECT_FALSE(r->failed);
    const std::string w = "W:You specified an indent of 100%, which is before the current position of 158 pixels";
    EXPECT_EQ(capture.all(), (Messages{kSmall, w, kLarge, w}));
}

TEST(ScanRules, IndentBehindTheTextWarnsOutsideBatchMode)
{
    const std::string text = "\\T=\"50%\"\\T=\"49%\"\\T=\"50%\"";
    {
        ReportCapture capture;
        auto r = Scan(text);
        // 50 % of 158 is 79 pixels; 49 % is 77
        EXPECT_EQ(capture.problems(),
                  (Messages{"W:You specified an indent of 49%, which is before the current position of 79 pixels",
                            "W:You specified an indent of 50%, which is before the current position of 79 pixels",
                            "W:You specified an indent of 49%, which is before the current position of 79 pixels",
                            "W:You specified an indent of 50%, which is before the current position of 79 pixels"}));
    }
    {
        ReportCapture capture(true);
        auto r = Scan(text);
        EXPECT_FALSE(r->failed);
        EXPECT_EQ(capture.problems(), Messages{});
    }
}

} // namespace
