// The Win32 event loop: posting order and payload deletion, the quit
// protocol, a lost hidden window or a full Windows queue, timers, targets
// that go away and keyboard shortcuts.
#include <gtest/gtest.h>

#include <memory>

#include "Win32TestSupport.h"
#include "framework/core/RkShortcutTable.h"
#include "framework/platform/win32/ApplicationWin32.h"

namespace {

// Message numbers of the tests' own.
constexpr uint16_t kFirst = 1000;
constexpr uint16_t kStop = 1999;
// A safety timer: a loop that never ends would hang the suite.
constexpr uint16_t kGuardTimer = 900;
constexpr uint32_t kGuardQuitCode = 99;

class Win32Loop : public ::testing::Test {
protected:
    void SetUp() override
    {
        loop = std::make_unique<CRkWinApplicationImp>(&app, nullptr);
        app.onMessage = [this](uint16_t message) {
            if (message == kGuardTimer || message == kStop)
                loop->Quit(message == kGuardTimer ? kGuardQuitCode : 0);
        };
    }
    uint32_t RunGuarded(uint32_t ms = 3000)
    {
        loop->StartTimerFor(&app, kTimerOnce, ms, kGuardTimer);
        return loop->Run();
    }
    std::vector<uint16_t> Messages(const RecordingTarget& target) const
    {
        std::vector<uint16_t> out;
        for (const auto& r : target.received)
            if (r.message != kGuardTimer)
                out.push_back(r.message);
        return out;
    }

    RecordingTarget app;
    std::unique_ptr<CRkWinApplicationImp> loop;
    int alive = 0;
};

TEST_F(Win32Loop, TheHiddenWindowIsAnInvisibleFiftyPixelPanel)
{
    HWND window = loop->GetHiddenWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::FindWindowW(L"LUMO_EMPTY_PANEL", L"LUMO_EMPTY_PANEL"), window);
    EXPECT_FALSE(::IsWindowVisible(window));
    RECT r;
    ASSERT_TRUE(::GetWindowRect(window, &r));
    EXPECT_EQ(r.right - r.left, 50);
    EXPECT_EQ(r.bottom - r.top, 50);
    CRkString path;
    loop->GetProgramPath(path);
    EXPECT_TRUE(path.EndsWith(CRkString(u"vx_win32_tests.exe"), false)) << std::string(path.GetNarrow());
}

TEST_F(Win32Loop, PostedMessagesArriveInOrderAndTheirPayloadsAreDeleted)
{
    RecordingTarget other;
    for (int i = 0; i < 5; ++i)
        loop->Post(uint16_t(kFirst + i), new CountedPayload(alive, i), 0);
    loop->PostTo(&other, kFirst + 10, new CountedPayload(alive, 10), 0);
    loop->Post(kStop, nullptr, 0);
    EXPECT_EQ(alive, 6);
    EXPECT_EQ(RunGuarded(), 0u);
    EXPECT_EQ(Messages(app), (std::vector<uint16_t>{1000, 1001, 1002, 1003, 1004, kStop}));
    ASSERT_EQ(other.received.size(), 1u);
    EXPECT_EQ(other.received[0].value, 10);
    EXPECT_EQ(alive, 0);
}

TEST_F(Win32Loop, MessagesPostedWhileHandlingComeAfterTheQueuedOnes)
{
    app.onMessage = [this](uint16_t message) {
        if (message == kFirst)
            loop->Post(kFirst + 5, nullptr, 0);
        if (message == kFirst + 5)
            loop->Quit(4);
        if (message == kGuardTimer)
            loop->Quit(kGuardQuitCode);
    };
    loop->Post(kFirst, nullptr, 0);
    loop->Post(kFirst + 1, nullptr, 0);
    EXPECT_EQ(RunGuarded(), 4u);
    EXPECT_EQ(Messages(app), (std::vector<uint16_t>{1000, 1001, 1005}));
}

TEST_F(Win32Loop, QuitEndsAfterEarlierMessagesAndLaterOnesAreDeletedWithTheLoop)
{
    loop->Post(kFirst, new CountedPayload(alive), 0);
    loop->Quit(3);
    loop->Post(kFirst + 1, new CountedPayload(alive), 0);
    EXPECT_EQ(RunGuarded(), 3u);
    EXPECT_EQ(Messages(app), (std::vector<uint16_t>{kFirst}));
    EXPECT_EQ(loop->GetPendingCount(), 1u);
    EXPECT_EQ(alive, 1);
    loop.reset();
    EXPECT_EQ(alive, 0);
}

TEST_F(Win32Loop, ARefusedQuitLeavesTheLoopRunning)
{
    app.acceptQuit = false;
    app.onMessage = [this](uint16_t message) {
        if (message == kFirst) {
            loop->Quit(5); // refused: windows would be closing now
            loop->Post(kFirst + 1, nullptr, 0);
        } else if (message == kFirst + 1) {
            app.acceptQuit = true;
            loop->Quit(6);
        } else if (message == kGuardTimer) {
            app.acceptQuit = true;
            loop->Quit(kGuardQuitCode);
        }
    };
    loop->Post(kFirst, nullptr, 0);
    EXPECT_EQ(RunGuarded(), 6u);
    EXPECT_EQ(app.quitRequests, 2);
    EXPECT_EQ(Messages(app), (std::vector<uint16_t>{kFirst, kFirst + 1}));
}

TEST_F(Win32Loop, ADestroyedHiddenWindowLosesNoMessage)
{
    for (int i = 0; i < 3; ++i)
        loop->Post(uint16_t(kFirst + i), new CountedPayload(alive, i), 0);
    ASSERT_TRUE(::DestroyWindow(loop->GetHiddenWindow()));
    EXPECT_EQ(loop->GetHiddenWindow(), nullptr);
    loop->Post(kStop, nullptr, 0); // makes a new window and wakes it
    ASSERT_NE(loop->GetHiddenWindow(), nullptr);
    EXPECT_EQ(RunGuarded(), 0u);
    EXPECT_EQ(Messages(app), (std::vector<uint16_t>{1000, 1001, 1002, kStop}));
    EXPECT_EQ(alive, 0);
}

TEST_F(Win32Loop, AFullWindowsQueueLosesNoMessage)
{
    // Fill the thread's Windows queue (10000 messages on Windows; Wine sets
    // no limit) with messages that nobody minds.
    HWND window = loop->GetHiddenWindow();
    constexpr int kAttempts = 10001;
    int posted = 0;
    while (posted < kAttempts && ::PostMessageW(window, WM_NULL, 0, 0))
        ++posted;
    const bool full = posted < kAttempts;
    for (int i = 0; i < 4; ++i)
        loop->Post(uint16_t(kFirst + i), new CountedPayload(alive, i), 0);
    loop->Post(kStop, nullptr, 0);
    EXPECT_EQ(RunGuarded(20000), 0u);
    EXPECT_EQ(Messages(app), (std::vector<uint16_t>{1000, 1001, 1002, 1003, kStop}));
    EXPECT_EQ(alive, 0);
    RecordProperty("windows_queue_filled", full ? "yes" : "no");
}

TEST_F(Win32Loop, TimersFireAsMessagesUntilStopped)
{
    RecordingTarget ticker;
    int ticks = 0;
    ticker.onMessage = [&](uint16_t message) {
        if (message == 42 && ++ticks == 3) {
            loop->StopTimerFor(&ticker, 42);
            loop->Post(kStop, nullptr, 0);
        }
    };
    loop->StartTimerFor(&ticker, kTimerRepeat, 15, 42);
    loop->StartTimerFor(&ticker, kTimerOnce, 10, 43);
    EXPECT_EQ(loop->GetTimerCount(), 2u);
    EXPECT_EQ(RunGuarded(), 0u);
    EXPECT_EQ(ticks, 3);
    int once = 0;
    for (const auto& r : ticker.received) {
        EXPECT_EQ(r.value, -1); // no payload
        once += r.message == 43;
    }
    EXPECT_EQ(once, 1);
    EXPECT_EQ(loop->GetTimerCount(), 1u); // only the guard is left
}

TEST_F(Win32Loop, AForgottenTargetGetsNothingMoreAndItsPayloadsGoAtOnce)
{
    RecordingTarget doomed, kept;
    loop->PostTo(&doomed, kFirst, new CountedPayload(alive), 0);
    loop->PostTo(&kept, kFirst + 1, new CountedPayload(alive), 0);
    loop->PostTo(&doomed, kFirst + 2, new CountedPayload(alive), 0);
    loop->StartTimerFor(&doomed, kTimerRepeat, 10, 7);
    loop->ForgetTarget(&doomed);
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(loop->GetTimerCount(), 0u);
    loop->StartTimerFor(&app, kTimerOnce, 60, kStop);
    EXPECT_EQ(RunGuarded(), 0u);
    EXPECT_TRUE(doomed.received.empty());
    ASSERT_EQ(kept.received.size(), 1u);
    EXPECT_EQ(alive, 0);
}

// A window that records the keys that reach it.
LRESULT CALLBACK KeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN) {
        auto* keys = reinterpret_cast<std::vector<WPARAM>*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (keys)
            keys->push_back(wParam);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(Win32Loop, KeysGoThroughTheShortcutTablesOfTheWindowAndItsContainers)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = KeyWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VxKeyTestWindow";
    ::RegisterClassExW(&windowClass);
    HWND frame = ::CreateWindowExW(0, L"VxKeyTestWindow", L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                   nullptr, windowClass.hInstance, nullptr);
    HWND field = ::CreateWindowExW(0, L"VxKeyTestWindow", L"field", WS_CHILD, 0, 0, 50, 20, frame, nullptr,
                                   windowClass.hInstance, nullptr);
    ASSERT_TRUE(frame && field);
    std::vector<WPARAM> keys;
    ::SetWindowLongPtrW(field, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&keys));

    RecordingTarget window, control, container;
    CRkShortcutTable windowTable, containerTable;
    windowTable.Set('K', 0, 321);
    containerTable.Set('J', 0, 654);
    loop->BindWindow(frame, &window);
    loop->BindWindow(field, &control);
    loop->SetShortcutTable(&window, &windowTable);
    loop->SetShortcutTable(&container, &containerTable);
    loop->SetContainer(&control, &container);

    ::PostMessageW(field, WM_KEYDOWN, 'K', 0); // the frame window's table
    ::PostMessageW(field, WM_KEYDOWN, 'J', 0); // the control's container's table
    ::PostMessageW(field, WM_KEYDOWN, 'L', 0); // no shortcut: an ordinary key
    loop->StartTimerFor(&app, kTimerOnce, 100, kStop);
    EXPECT_EQ(RunGuarded(), 0u);

    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].message, kMsgCommand);
    EXPECT_EQ(window.received[0].value, 321);
    ASSERT_EQ(container.received.size(), 1u);
    EXPECT_EQ(container.received[0].value, 654);
    EXPECT_TRUE(control.received.empty());
    EXPECT_EQ(keys, (std::vector<WPARAM>{'L'}));
    ::DestroyWindow(frame);
}

} // namespace
