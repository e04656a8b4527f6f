// The whole program on the headless platform: a fresh folder (which is also
// the current folder) with its own preferences, the program started with a
// command line as a person would start it, the driver to use it, and loop
// runs that end at a delivery limit and a deadline.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/VellumixApplication.h"
#include "app/VellumixMain.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/platform/headless/HeadlessApplicationImp.h"
#include "framework/platform/headless/driver/TestDriver.h"
#include "framework/ui/RkComponentImp.h"
#include "framework/ui/RkLogList.h"
#include "framework/ui/RkProgressDialog.h"
#include "tools/book/BookTool.h"

namespace app_test {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using Loop = CRkHeadlessApplicationImp;

constexpr uint64_t kDeliveryLimit = 20000;
constexpr auto kDeadline = std::chrono::seconds(60);

// Control ids of the main window and the dialogs.
enum : uint32_t {
    kQuitButton = 30,
    kMakeBookButton = 12,
    kSplash = 325,
    kOverwriteBox = 326,
    kPromptBox = 327,
    kDictionaryBox = 328,
    kPageTablesBox = 334,
};

inline std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline const char kCleanSource[] = "TITLE=\"Tale\"\nAUTHOR=\"A. Writer\"\n\nOnce upon a time there was a tale.\n";
// Tabs are announced with a warning outside batch mode.
inline const char kTabbedSource[] = "TITLE=\"Tabbed\"\n\n\tAn indented paragraph.\n";
inline const char kUntitledSource[] = "AUTHOR=\"Known Author\"\n\nA book without a title.\n";

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() / (std::string("vx_app_") + info->test_suite_name() + "_" + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_oldDir = fs::current_path();
        fs::current_path(m_dir);
        setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
        setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
        CRkGlobalVars::SetBatchMode(false);
        CRkHeadlessDesktop::Get().Reset();
    }

    void TearDown() override
    {
        if (program)
            program->Finish();
        program.reset();
        driver.reset();
        CRkGlobalVars::SetBatchMode(false);
        unsetenv("SOURCE_DATE_EPOCH");
        fs::current_path(m_oldDir);
        fs::remove_all(m_dir);
    }

    const fs::path& Dir() const { return m_dir; }
    fs::path Write(const std::string& name, const std::string& text) const
    {
        fs::path path = m_dir / fs::u8path(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Starts the program as the command line `tail` would.
    void Start(const std::string& tail)
    {
        ASSERT_FALSE(program) << "the program is running already";
        program = std::make_unique<CVellumixProgram>(CRkTestDriver::FromUtf8(tail.c_str()));
        driver.emplace();
        // What CRkApplication::Run does before it runs the loop.
        App()->SetState(kAppRunning);
    }
    // Ends the program (message 15, the application goes); the exit code.
    int Finish()
    {
        driver.reset();
        int code = program ? program->Finish(LoopImp() && LoopImp()->HasQuit() ? LoopImp()->GetQuitCode() : 0) : 0;
        program.reset();
        return code;
    }
    CVellumixApplication* App() const { return program ? program->GetApplication() : nullptr; }
    Loop* LoopImp() const { return App() ? static_cast<Loop*>(App()->GetImp()) : nullptr; }

    // Runs the loop until the program quits or nothing is left to do;
    // fails the test at the delivery limit or the deadline.
    void Run()
    {
        Loop& loop = *LoopImp();
        Loop::RunEnd end = loop.RunFor(loop.GetClock().NowMs() + 60000, kDeliveryLimit);
        ASSERT_TRUE(end == Loop::RunEnd::Quit || end == Loop::RunEnd::Idle) << "the event loop did not settle";
    }
    bool HasQuit() const { return LoopImp() && LoopImp()->HasQuit(); }

    // One delivery at a time, `watch` called after each, until the loop
    // settles or quits.
    void Step(const std::function<void()>& watch)
    {
        Loop& loop = *LoopImp();
        const auto deadline = std::chrono::steady_clock::now() + kDeadline;
        for (uint64_t n = 0; n < kDeliveryLimit; ++n) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the run took too long";
            Loop::RunEnd end = loop.RunUntilIdle(1);
            if (end != Loop::RunEnd::Limit) {
                watch();
                return;
            }
            watch();
        }
        FAIL() << "the event loop did not settle";
    }

    // Windows as a person tells them apart: the main window has the splash,
    // the progress dialog its bar.
    CRkHeadlessWindowImp* WindowWith(uint32_t controlId) const
    {
        for (CRkHeadlessWindowImp* window : driver->GetVisibleWindows())
            if (CRkTestDriver::FindControl(window, controlId))
                return window;
        return nullptr;
    }
    CRkHeadlessWindowImp* MainWindow() const { return WindowWith(kSplash); }
    CRkHeadlessWindowImp* ProgressWindow() const { return WindowWith(kProgressBarId); }
    CRkHeadlessWindowImp* InfoDialog() const { return driver->FindWindow("Book Info"); }
    CRkHeadlessWindowImp* LogWindow() const { return driver->FindWindow("Vellumix Errors"); }
    CRkHeadlessNode* MainControl(uint32_t id) const { return CRkTestDriver::FindControl(MainWindow(), id); }

    // The texts the log window shows, and its icons (10003 error, 10004
    // warning, 10005 status); nothing when it is not on the screen.
    Strings LogTexts(uint32_t icon = 0)
    {
        Strings texts;
        CRkHeadlessWindowImp* log = LogWindow();
        if (!log)
            return texts;
        std::vector<RkDrawOp> ops = driver->Paint(CRkTestDriver::FindControl(log, kLogListId));
        uint32_t rowIcon = 0;
        for (const RkDrawOp& op : ops) {
            if (op.op == RkDrawOpKind::Image)
                rowIcon = op.imageId;
            if (op.op == RkDrawOpKind::Text && (icon == 0 || rowIcon == icon))
                texts.push_back(CRkTestDriver::ToUtf8(op.text));
        }
        return texts;
    }

    // The book vellumix-book builds from `source` with `options`.
    std::vector<uint8_t> ToolBook(const fs::path& source, const Strings& options = {}) const
    {
        fs::path out = m_dir / "reference" / "book.ldb";
        fs::create_directories(out.parent_path());
        fs::remove(out);
        Strings words = {"build", source.string(), "-o", out.string()};
        words.insert(words.end(), options.begin(), options.end());
        std::vector<const char*> argv = {"vellumix-book"};
        for (const std::string& w : words)
            argv.push_back(w.c_str());
        std::ostringstream outText, errText;
        int status = RunBookTool(int(argv.size()), argv.data(), outText, errText);
        EXPECT_EQ(status, 0) << errText.str();
        return ReadBytes(out);
    }

    std::unique_ptr<CVellumixProgram> program;
    std::optional<CRkTestDriver> driver;

private:
    fs::path m_dir;
    fs::path m_oldDir;
};

} // namespace app_test
