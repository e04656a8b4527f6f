#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/application/RecentFiles.h"
#include "framework/application/RkApplication.h"
#include "framework/application/RkFileMessage.h"
#include "framework/application/RkMenuBarHost.h"
#include "framework/application/RkWindowList.h"
#include "framework/core/ObjectStream.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkMessage.h"
#include "framework/core/RkType.h"
#include "framework/core/TypeFactory.h"
#include "framework/platform/headless/HeadlessApplicationImp.h"

namespace {

using RunEnd = CRkHeadlessApplicationImp::RunEnd;
constexpr uint64_t kLimit = 10000;

// Records every message the application sees (first in its chain) and
// passes it on.
class Recorder : public IRkMessageHandler {
public:
    explicit Recorder(std::string& trace) : m_trace(trace) {}
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget&) override
    {
        if (message == kMsgCommandStatus)
            return false;
        m_trace += "app:" + std::to_string(message);
        if (auto* command = dynamic_cast<CRkCommand*>(payload))
            m_trace += "/c" + std::to_string(command->GetCommand());
        if (auto* open = dynamic_cast<CRkFileMessage*>(payload)) {
            CRkString name;
            open->GetFile().GetName(name);
            m_trace += std::string("/") + name.GetNarrow();
        }
        m_trace += " ";
        return false;
    }

private:
    std::string& m_trace;
};

// A window as the windows layer makes it: in the application's list while
// open; on message 26 it closes (or refuses) and tells the application.
class FakeWindow : public IRkMessageTarget {
public:
    FakeWindow(CRkApplication& app, std::string name, std::string& trace, bool refuse = false)
        : m_app(app), m_name(std::move(name)), m_trace(trace), m_refuse(refuse)
    {
        m_app.GetWindowList().Add(this);
    }
    ~FakeWindow() override { Close(false); }

    void AddHandler(IRkMessageHandler*, bool) override {}
    void RemoveHandler(IRkMessageHandler*) override {}
    bool HandleMessage(uint16_t message, CRkMessage*) override
    {
        m_trace += m_name + ":" + std::to_string(message) + " ";
        if (message != kMsgCloseWindow)
            return false;
        if (m_refuse)
            m_app.HandleMessage(kMsgCloseRefused, nullptr);
        else
            Close(true);
        return true;
    }
    void PostMessage(uint16_t message, CRkMessage* payload, uint32_t flags) override
    {
        m_app.PostMessageTo(this, message, payload, flags);
    }

private:
    void Close(bool tell)
    {
        if (!m_app.GetWindowList().Remove(this))
            return;
        m_app.ForgetTarget(this);
        if (tell)
            m_app.HandleMessage(kMsgWindowClosed, nullptr);
    }

    CRkApplication& m_app;
    std::string m_name;
    std::string& m_trace;
    bool m_refuse;
};

class CountingMenuBar : public IRkMenuBar {
public:
    explicit CountingMenuBar(int& installs, bool* deleted = nullptr) : m_installs(installs), m_deleted(deleted) {}
    ~CountingMenuBar() override
    {
        if (m_deleted)
            *m_deleted = true;
    }
    void Install() override { ++m_installs; }
    void Uninstall() override {}

private:
    int& m_installs;
    bool* m_deleted;
};

class Payload : public CRkMessage {
public:
    explicit Payload(int& alive) : m_alive(alive) { ++m_alive; }
    ~Payload() override { --m_alive; }

private:
    int& m_alive;
};

// An application with no name (so no preference store is opened), run on
// the headless loop with a manual clock.
struct AppFixture : ::testing::Test {
    std::string trace;
    CRkManualClock clock{0};
    std::unique_ptr<CRkApplication> app;
    CRkHeadlessApplicationImp* loop = nullptr;
    Recorder recorder{trace};

    void Make(bool closeFrontFirst)
    {
        CRkGlobalVars::Create();
        app = std::make_unique<CRkApplication>(nullptr, CRkString(), CRkString(u"1.0"), 0x56784170u, closeFrontFirst);
        loop = dynamic_cast<CRkHeadlessApplicationImp*>(app->GetImp());
        ASSERT_NE(loop, nullptr);
        loop->SetClock(&clock);
        app->AddHandler(&recorder, false);
    }
    void SetUp() override { Make(false); }
    void TearDown() override { app.reset(); }
    RunEnd RunLoop() { return loop->RunFor(clock.NowMs() + 60000, kLimit); }
};

TEST_F(AppFixture, RegistersInTheGlobalsAndCleansThemUp)
{
    ASSERT_NE(CRkGlobalVars::Get(), nullptr);
    EXPECT_EQ(CRkApplication::Get(), app.get());
    EXPECT_EQ(app->GetState(), kAppStarting);
    EXPECT_EQ(app->GetTypeCode(), 0x54455854u); // "TEXT"
    app.reset();
    EXPECT_EQ(CRkGlobalVars::Get(), nullptr);
}

TEST_F(AppFixture, QuitWithoutWindowsEndsTheRunAtOnce)
{
    app->PostMessage(55, nullptr, 0);
    app->Quit(4);
    EXPECT_EQ(app->Run(), 4u);
    EXPECT_EQ(app->GetState(), kAppEnded);
    EXPECT_EQ(trace, "app:13 app:55 ");
}

TEST_F(AppFixture, QuitClosesWindowsFirstInListOrder)
{
    FakeWindow first(*app, "w1", trace), second(*app, "w2", trace);
    app->Quit(5);
    EXPECT_EQ(app->GetState(), kAppQuitting);
    EXPECT_FALSE(loop->HasQuit());
    EXPECT_EQ(RunLoop(), RunEnd::Quit);
    EXPECT_EQ(trace, "app:13 w1:26 app:28 w2:26 app:28 app:13 ");
    EXPECT_EQ(loop->GetQuitCode(), 5u); // the code asked for, once the last window has gone
    EXPECT_EQ(app->GetWindowCount(), 0u);
}

TEST_F(AppFixture, QuitClosesTheLastWindowFirstWhenAsked)
{
    app.reset();
    Make(true);
    FakeWindow first(*app, "w1", trace), second(*app, "w2", trace);
    app->Quit(0);
    EXPECT_EQ(RunLoop(), RunEnd::Quit);
    EXPECT_EQ(trace, "app:13 w2:26 app:28 w1:26 app:28 app:13 ");
}

TEST_F(AppFixture, WindowRefusingToCloseCancelsTheQuit)
{
    FakeWindow stubborn(*app, "w1", trace, true), other(*app, "w2", trace);
    int installs = 0;
    app->SetMenuBar(new CountingMenuBar(installs));
    app->Quit(0);
    EXPECT_EQ(RunLoop(), RunEnd::Idle);
    EXPECT_FALSE(loop->HasQuit());
    EXPECT_EQ(trace, "app:13 w1:26 app:29 ");
    EXPECT_EQ(app->GetState(), kAppRunning);
    EXPECT_EQ(app->GetWindowCount(), 2u);
    EXPECT_EQ(installs, 3); // set, quit request, refusal
}

TEST_F(AppFixture, QuitCommandEndsTheProgramWithOrWithoutWindows)
{
    EXPECT_TRUE(app->DoCommand(kCmdQuitItem));
    EXPECT_EQ(RunLoop(), RunEnd::Quit);

    trace.clear();
    FakeWindow window(*app, "w1", trace);
    EXPECT_TRUE(app->DoCommand(kCmdQuit));
    EXPECT_EQ(RunLoop(), RunEnd::Quit);
    EXPECT_EQ(trace, "app:7/c2 app:13 w1:26 app:28 app:13 ");
}

TEST_F(AppFixture, CloseAllNeedsAWindow)
{
    CRkCommand state(kCmdCloseAll);
    EXPECT_TRUE(app->HandleMessage(kMsgCommandStatus, &state));
    EXPECT_FALSE(state.IsEnabled());
    app->DoCommand(kCmdCloseAll); // disabled: nothing happens
    EXPECT_EQ(RunLoop(), RunEnd::Idle);
    EXPECT_EQ(trace, "");

    FakeWindow first(*app, "w1", trace), second(*app, "w2", trace);
    EXPECT_TRUE(app->DoCommand(kCmdCloseAll));
    EXPECT_EQ(app->GetState(), kAppClosingWindows);
    // Every window closes; with none left the program ends.
    EXPECT_EQ(RunLoop(), RunEnd::Quit);
    EXPECT_EQ(trace, "app:7/c14 app:27 w1:26 app:28 w2:26 app:28 app:13 ");
}

TEST_F(AppFixture, QuitIfNoWindowLeft)
{
    {
        FakeWindow window(*app, "w1", trace);
        app->HandleMessage(kMsgQuitIfNoWindow, nullptr);
        EXPECT_EQ(RunLoop(), RunEnd::Idle);
    }
    app->HandleMessage(kMsgQuitIfNoWindow, nullptr);
    EXPECT_EQ(RunLoop(), RunEnd::Quit);
}

TEST_F(AppFixture, PostedPayloadsAreDeletedWhetherTakenOrNot)
{
    int alive = 0;
    app->PostMessage(99, new Payload(alive), 0); // nobody takes 99
    FakeWindow window(*app, "w1", trace);
    app->PostMessageTo(&window, 98, new Payload(alive), 0);
    EXPECT_EQ(alive, 2);
    EXPECT_EQ(RunLoop(), RunEnd::Idle);
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(trace, "app:99 w1:98 ");
}

TEST_F(AppFixture, ApplicationTimerDeliversMessageTen)
{
    app->StartTimer(kTimerRepeat, 500);
    clock.Advance(499);
    loop->RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "");
    clock.Advance(1);
    loop->RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "app:10 ");
    app->StopTimer();
    clock.Advance(5000);
    loop->RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "app:10 ");
}

TEST_F(AppFixture, MenuBarIsReplacedAndDeleted)
{
    int installs = 0;
    bool firstDeleted = false, secondDeleted = false;
    app->SetMenuBar(new CountingMenuBar(installs, &firstDeleted));
    app->HandleMessage(kMsgCommandsChanged, nullptr);
    EXPECT_EQ(installs, 2);
    app->SetMenuBar(new CountingMenuBar(installs, &secondDeleted));
    EXPECT_TRUE(firstDeleted);
    app.reset();
    EXPECT_TRUE(secondDeleted);
}

TEST(WindowList, KeepsOrderAndIgnoresDuplicates)
{
    CRkWindowList list;
    std::string trace;
    struct W : IRkMessageTarget {
        void AddHandler(IRkMessageHandler*, bool) override {}
        void RemoveHandler(IRkMessageHandler*) override {}
        bool HandleMessage(uint16_t, CRkMessage*) override { return false; }
        void PostMessage(uint16_t, CRkMessage* p, uint32_t) override { delete p; }
    } a, b, c;
    EXPECT_EQ(list.GetFirst(), nullptr);
    list.Add(&a);
    list.Add(&b);
    list.Add(&a);
    list.Add(&c);
    EXPECT_EQ(list.GetCount(), 3u);
    EXPECT_EQ(list.GetFirst(), &a);
    EXPECT_EQ(list.GetLast(), &c);
    EXPECT_TRUE(list.Remove(&b));
    EXPECT_FALSE(list.Remove(&b));
    EXPECT_EQ(list.GetAt(1), &c);
    EXPECT_EQ(list.GetAt(2), nullptr);
}

// The recent-file commands work on the list the application loads in
// Initialize; without a preference store it starts empty.
struct RecentFixture : AppFixture {
    std::filesystem::path dir;

    void SetUp() override
    {
        AppFixture::SetUp();
        dir = std::filesystem::temp_directory_path() /
              ("vx_app_test_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(dir);
        ASSERT_TRUE(app->Initialize());
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        std::filesystem::remove_all(dir);
    }
    CFile MakeFile(const char* name, bool create)
    {
        std::string path = (dir / name).string();
        if (create)
            std::ofstream(path) << "x";
        return CFile(path.c_str());
    }
    bool Enabled(uint32_t command)
    {
        CRkCommand state(command);
        app->HandleMessage(kMsgCommandStatus, &state);
        return state.IsEnabled();
    }
};

TEST_F(RecentFixture, OpensExistingRecentFilesAndDropsMissingOnes)
{
    CRkRecentFileList* recent = app->GetRecentFiles();
    ASSERT_NE(recent, nullptr);
    EXPECT_FALSE(Enabled(kCmdRecentFilesMenu));
    EXPECT_FALSE(Enabled(kCmdClearRecentFiles));

    recent->Add(MakeFile("gone.lml", false));
    recent->Add(MakeFile("tale.lml", true)); // first: command 19
    EXPECT_TRUE(Enabled(kCmdRecentFilesMenu));
    EXPECT_TRUE(Enabled(kCmdRecentFile1));

    EXPECT_TRUE(app->DoCommand(kCmdRecentFile1));
    EXPECT_EQ(trace, "app:7/c19 app:18/tale.lml ");
    EXPECT_EQ(recent->GetCount(), 2u);

    trace.clear();
    EXPECT_TRUE(app->DoCommand(kCmdRecentFile1 + 1)); // gone.lml no longer exists
    EXPECT_EQ(trace, "app:7/c20 app:9 ");
    EXPECT_EQ(recent->GetCount(), 1u);

    EXPECT_TRUE(app->DoCommand(kCmdClearRecentFiles));
    EXPECT_EQ(recent->GetCount(), 0u);
    EXPECT_FALSE(Enabled(kCmdClearRecentFiles));
}

} // namespace

namespace {

TEST(GlobalVars, FreshGlobalsOwnTypeFactoriesAndSerials)
{
    CRkGlobalVars* globals = CRkGlobalVars::Create();
    EXPECT_EQ(CRkGlobalVars::Create(), globals); // one singleton
    batchMode = true;
    {
        CRkApplication app(nullptr, CRkString(), CRkString(), 0, false);
        ASSERT_TRUE(app.Initialize());
        EXPECT_EQ(&GetTypeFactoryChain(), globals->typeFactories);
        CRkType* made = GetTypeFactoryChain().Create(kTypeIdColor);
        ASSERT_NE(made, nullptr); // the core factory is registered
        made->Release();
        EXPECT_EQ(NextObjectSerial(), 0u);
        EXPECT_EQ(globals->serialNumber, 1u);
        EXPECT_NE(globals->system, nullptr);
    }
    EXPECT_EQ(CRkGlobalVars::Get(), nullptr);
    CRkGlobalVars::Create();
    EXPECT_FALSE(batchMode); // new globals start with batch mode off
    EXPECT_EQ(CRkGlobalVars::Get()->serialNumber, 0u);
    CRkGlobalVars::Destroy();
}

} // namespace
