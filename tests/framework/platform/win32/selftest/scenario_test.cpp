#include <gtest/gtest.h>

#include "framework/platform/win32/selftest/WinSelfTestScenario.h"
#include "framework/platform/win32/selftest/WinSelfTestSteps.h"

namespace {

std::vector<SelfTestStep> Parse(const std::string& text)
{
    std::vector<SelfTestStep> steps;
    std::string error;
    EXPECT_TRUE(ParseSelfTestScenario(text, steps, error)) << error;
    return steps;
}

std::string CheckError(const std::string& text)
{
    std::vector<SelfTestStep> steps = Parse(text);
    std::string error;
    return CheckSelfTestSteps(steps, error) ? std::string() : error;
}

} // namespace

TEST(SelfTestScenario, SplitsWordsQuotesAndTimeOutsKeepingLineNumbers)
{
    std::vector<SelfTestStep> steps = Parse("# a comment\r\n"
                                            "\n"
                                            "  wait-window \"Vellumix Errors\"   within 2.5\r\n"
                                            "type \"Book Info\" 344 \"say \\\"hi\\\" \\\\ there\"\n"
                                            "expect-exit");
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].line, 3);
    EXPECT_EQ(steps[0].kind, "wait-window");
    EXPECT_EQ(steps[0].args, std::vector<std::string>{"Vellumix Errors"});
    EXPECT_EQ(steps[0].timeoutMs, 2500u);
    EXPECT_EQ(steps[0].text, "wait-window \"Vellumix Errors\"   within 2.5");
    EXPECT_EQ(steps[1].line, 4);
    ASSERT_EQ(steps[1].args.size(), 3u);
    EXPECT_EQ(steps[1].args[2], "say \"hi\" \\ there");
    EXPECT_EQ(steps[1].timeoutMs, kDefaultStepTimeoutMs);
    EXPECT_EQ(steps[2].kind, "expect-exit");
    EXPECT_TRUE(steps[2].args.empty());
}

TEST(SelfTestScenario, EmptyQuotedArgumentsAndTheWordWithinAsText)
{
    std::vector<SelfTestStep> steps = Parse("expect-text box:x 0 \"\"\nexpect-text Vellumix 315 within\n");
    ASSERT_EQ(steps.size(), 2u);
    ASSERT_EQ(steps[0].args.size(), 3u);
    EXPECT_EQ(steps[0].args[2], "");
    // "within" without a number after it is an ordinary argument.
    EXPECT_EQ(steps[1].args.back(), "within");
}

TEST(SelfTestScenario, MalformedLinesAreNamed)
{
    std::vector<SelfTestStep> steps;
    std::string error;
    EXPECT_FALSE(ParseSelfTestScenario("click A 1\ntype A 2 \"open\n", steps, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    for (const char* bad : {"close A within soon", "close A within 0", "close A within -1", "close A within 601"}) {
        EXPECT_FALSE(ParseSelfTestScenario(bad, steps, error)) << bad;
        EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    }
}

TEST(SelfTestSteps, EveryStepIsCheckedForItsKindAndArguments)
{
    EXPECT_EQ(CheckError("wait-window Vellumix@325\n"
                         "click Vellumix@325 326\n"
                         "drop Vellumix@325 325 a.lml b.lml c.lml\n"
                         "key \"Book Info\" enter\n"
                         "expect-checked Vellumix@325 326 yes\n"
                         "expect-progress Vellumix@316 316 33\n"
                         "move Vellumix 10 -20\n"
                         "expect-same-file a.ldb b.ldb\n"
                         "type Open 1148:Edit tale.lml\n"
                         "expect-exit\n"),
              "");
    EXPECT_NE(CheckError("wait-window A\npress A 1\nexpect-exit\n").find("line 2: no step \"press\""),
              std::string::npos);
    EXPECT_NE(CheckError("click A\n").find("line 1"), std::string::npos);
    EXPECT_NE(CheckError("drop A 325\n").find("or more"), std::string::npos);
    EXPECT_NE(CheckError("expect-exit now\n"), "");
    EXPECT_NE(CheckError("click A OK\n"), "");
    EXPECT_NE(CheckError("click A 1:\nexpect-exit\n"), "");
    EXPECT_NE(CheckError("click A :Button\nexpect-exit\n"), "");
    EXPECT_NE(CheckError("expect-enabled A 1 maybe\n"), "");
    EXPECT_NE(CheckError("key A space\n"), "");
    EXPECT_NE(CheckError("move A 10 left\n"), "");
    EXPECT_NE(CheckError("expect-progress A 316 half\n"), "");
}

TEST(SelfTestSteps, AScenarioEndsWithTheProgramsExitAndChecksThatHoldAfterIt)
{
    EXPECT_EQ(CheckError("expect-exit\nexpect-file a.ldb\nexpect-no-window Vellumix\nexpect-same-file a b\n"), "");
    EXPECT_NE(CheckError("wait-window Vellumix\n").find("expect-exit"), std::string::npos);
    EXPECT_NE(CheckError("expect-exit\nclick Vellumix 30\n").find("expect-exit"), std::string::npos);
    EXPECT_NE(CheckError("expect-exit\nexpect-text Vellumix 0 Vellumix\n"), "");
    EXPECT_NE(CheckError("# only a comment\n"), "");
}
