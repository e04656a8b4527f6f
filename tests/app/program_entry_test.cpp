// The program entry as a platform calls it: the whole run in one call,
// returning the exit code.
#include <future>

#include "AppTestSupport.h"
#include "framework/core/Report.h"

namespace app_test {
namespace {

// Runs VellumixMain on its own thread (the program's one thread for the
// whole run) and gives up at the deadline.
int RunMain(const std::string& tail)
{
    std::future<int> done =
        std::async(std::launch::async, [tail] { return VellumixMain(CRkTestDriver::FromUtf8(tail.c_str())); });
    if (done.wait_for(kDeadline) != std::future_status::ready) {
        ADD_FAILURE() << "VellumixMain did not return";
        std::_Exit(1); // the program cannot be stopped from outside
    }
    return done.get();
}

TEST_F(AppTest, VellumixMainBuildsAndReturnsTheExitCode)
{
    fs::path source = Write("tale.lml", kCleanSource);
    std::vector<uint8_t> expected = ToolBook(source);
    EXPECT_EQ(RunMain("tale.lml"), 0);
    EXPECT_EQ(ReadBytes(Dir() / "tale.ldb"), expected);
    // An error: the program stays open until nothing can happen any more
    // (on the headless platform nobody is there to use it), then reports 1.
    EXPECT_EQ(RunMain("missing.lml"), 1);
    EXPECT_FALSE(fs::exists(Dir() / "missing.ldb"));
}

// Reports made while the program goes and after it has gone reach standard
// output, not the log window that is being destroyed.
TEST_F(AppTest, ReportsAfterTheProgramEndedGoToStandardOutput)
{
    ResetReportHooks();
    const ReportHook standardError = GetErrorHook();
    const ReportHook standardWarning = GetWarningHook();
    Start("");
    Run();
    EXPECT_NE(GetErrorHook(), standardError) << "errors go to the log while the program runs";
    EXPECT_NE(GetWarningHook(), standardWarning);
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(GetErrorHook(), standardError);
    EXPECT_EQ(GetWarningHook(), standardWarning);
    testing::internal::CaptureStdout();
    ReportError("Late error %d", 1);
    ReportWarning("Late warning");
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("Late error 1"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Late warning"), std::string::npos) << printed;
}

} // namespace
} // namespace app_test
