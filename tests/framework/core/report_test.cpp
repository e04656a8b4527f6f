#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/core/Report.h"
#include "framework/core/RkGlobalVars.h"

namespace {

std::vector<std::string> captured;
std::vector<std::string> order;
ReportHook chained = nullptr;

std::string Render(const char* format, va_list args)
{
    va_list ap;
    va_copy(ap, args);
    char text[512];
    std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    return text;
}

int32_t CaptureHook(const char* format, va_list args)
{
    captured.push_back(Render(format, args));
    order.push_back("capture");
    return 7;
}

// Does its own work, then exactly what the hook it replaced does.
int32_t FrontHook(const char* format, va_list args)
{
    order.push_back("front:" + Render(format, args));
    return chained(format, args);
}

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        captured.clear();
        order.clear();
    }
    void TearDown() override { ResetReportHooks(); }
};

} // namespace

TEST_F(ReportTest, DefaultHookWritesToStandardOutput)
{
    testing::internal::CaptureStdout();
    ReportStatus("Done.");
    ReportWarning("line %d of \"%s\"\n", 12, "book.lml");
    ReportError("%s", "");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Done.\nline 12 of \"book.lml\"\n\n");
}

TEST_F(ReportTest, DefaultHookDoesNotTruncate)
{
    const std::string longText(20000, 'x');
    testing::internal::CaptureStdout();
    ReportError("%s!", longText.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), longText + "!\n");
}

TEST_F(ReportTest, HooksReceiveTheirLevelOnly)
{
    SetWarningHook(CaptureHook);
    EXPECT_EQ(ReportWarning("w%d", 1), 7);
    testing::internal::CaptureStdout();
    ReportStatus("s");
    ReportError("e");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "s\ne\n");
    ASSERT_EQ(captured.size(), 1u);
    EXPECT_EQ(captured[0], "w1");
}

TEST_F(ReportTest, NullHookIsIgnored)
{
    SetWarningHook(CaptureHook);
    SetWarningHook(nullptr);
    SetErrorHook(nullptr);
    SetStatusHook(nullptr);
    EXPECT_EQ(GetWarningHook(), &CaptureHook);
    ASSERT_NE(GetErrorHook(), nullptr);
    ASSERT_NE(GetStatusHook(), nullptr);
    ReportWarning("still %s", "captured");
    ASSERT_EQ(captured.size(), 1u);
    EXPECT_EQ(captured[0], "still captured");
}

TEST_F(ReportTest, HookInFrontSeesEveryMessageFirst)
{
    SetErrorHook(CaptureHook);
    chained = GetErrorHook();
    SetErrorHook(FrontHook);
    EXPECT_EQ(ReportError("bad tag %s at %u", "\\q", 40u), 7);
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], "front:bad tag \\q at 40");
    EXPECT_EQ(order[1], "capture");
    ASSERT_EQ(captured.size(), 1u);
    EXPECT_EQ(captured[0], "bad tag \\q at 40");
}

TEST_F(ReportTest, BatchModeStartsOff)
{
    EXPECT_FALSE(batchMode);
}

// Hooks installed while the globals live (the log window's) must not be
// called once the globals are gone: the standard writer is back.
TEST_F(ReportTest, DestroyingTheGlobalsPutsTheStandardHooksBack)
{
    ReportHook standard = GetStatusHook();
    ASSERT_EQ(CRkGlobalVars::Get(), nullptr);
    CRkGlobalVars::Create();
    SetErrorHook(CaptureHook);
    SetWarningHook(CaptureHook);
    SetStatusHook(CaptureHook);
    ReportStatus("while alive");
    CRkGlobalVars::Destroy();

    EXPECT_EQ(GetErrorHook(), standard);
    EXPECT_EQ(GetWarningHook(), standard);
    EXPECT_EQ(GetStatusHook(), standard);
    ::testing::internal::CaptureStdout();
    ReportError("after %d", 1);
    ReportWarning("after %d", 2);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "after 1\nafter 2\n");
    EXPECT_EQ(captured, std::vector<std::string>{"while alive"});
}
