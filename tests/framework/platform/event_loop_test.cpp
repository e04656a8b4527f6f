#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/core/RkMessage.h"
#include "framework/core/RkMessageTarget.h"
#include "framework/core/RkShortcutTable.h"
#include "framework/platform/headless/HeadlessApplicationImp.h"

namespace {

// Every run in these tests has a delivery limit and, where the loop may
// wait, a deadline on the manual clock: a broken loop fails, never hangs.
constexpr uint64_t kLimit = 10000;

class Payload : public CRkMessage {
public:
    explicit Payload(int& alive) : m_alive(alive) { ++m_alive; }
    ~Payload() override { --m_alive; }

private:
    int& m_alive;
};

// Writes "<name>:<message>" (and "/k<kind>" with a payload) for every
// message; takes what `takes` says and accepts quit requests when told.
class Target : public IRkMessageTarget {
public:
    Target(std::string name, std::string& trace) : name(std::move(name)), trace(trace) {}

    void AddHandler(IRkMessageHandler*, bool) override {}
    void RemoveHandler(IRkMessageHandler*) override {}
    bool HandleMessage(uint16_t message, CRkMessage* payload) override
    {
        trace += name + ":" + std::to_string(message);
        if (payload)
            trace += "/k" + std::to_string(payload->GetKind());
        if (auto* command = dynamic_cast<CRkCommand*>(payload))
            trace += "/c" + std::to_string(command->GetCommand());
        if (auto* key = dynamic_cast<CRkKeyboardMessage*>(payload))
            trace += "/key" + std::to_string(key->keyCode) + "+" + std::to_string(key->modifiers);
        trace += " ";
        if (auto* quit = dynamic_cast<CRkQuitMessage*>(payload))
            quit->accepted = acceptQuit ? 1 : 0;
        if (onMessage)
            onMessage(message);
        return takes;
    }
    void PostMessage(uint16_t, CRkMessage* payload, uint32_t) override { delete payload; }

    std::string name;
    std::string& trace;
    bool takes = true;
    bool acceptQuit = true;
    std::function<void(uint16_t)> onMessage;
};

struct LoopFixture : ::testing::Test {
    std::string trace;
    Target app{"app", trace};
    Target window{"win", trace};
    CRkManualClock clock{1000};
    CRkHeadlessApplicationImp loop{&app};

    void SetUp() override { loop.SetClock(&clock); }
};

TEST_F(LoopFixture, PostedMessagesArriveInOrderAndPayloadsAreDeleted)
{
    int alive = 0;
    app.takes = false; // nobody takes them: the payloads still go
    loop.Post(18, new Payload(alive), 0);
    loop.PostTo(&window, 26, nullptr, 0);
    loop.Post(17, new Payload(alive), 0);
    EXPECT_EQ(alive, 2);
    EXPECT_EQ(trace, ""); // nothing is delivered before the loop runs

    EXPECT_EQ(loop.RunUntilIdle(kLimit), CRkHeadlessApplicationImp::RunEnd::Idle);
    EXPECT_EQ(trace, "app:18/k0 win:26 app:17/k0 ");
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(loop.GetPendingCount(), 0u);
}

TEST_F(LoopFixture, MessagesPostedWhileDeliveringWaitTheirTurn)
{
    app.onMessage = [this](uint16_t message) {
        if (message == 54)
            loop.Post(55, nullptr, 0);
    };
    loop.Post(54, nullptr, 0);
    loop.Post(60, nullptr, 0);
    loop.RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "app:54 app:60 app:55 ");
}

TEST_F(LoopFixture, DeliveryLogRecordsWhatArrived)
{
    int alive = 0;
    loop.SetDeliveryLogging(true);
    window.takes = false;
    loop.Post(18, new Payload(alive), 0);
    loop.PostTo(&window, 26, nullptr, 0);
    loop.RunUntilIdle(kLimit);
    const auto& log = loop.GetDeliveries();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].target, &app);
    EXPECT_EQ(log[0].message, 18);
    EXPECT_EQ(log[0].kind, 0);
    EXPECT_TRUE(log[0].taken);
    EXPECT_EQ(log[1].target, &window);
    EXPECT_EQ(log[1].kind, -1);
    EXPECT_FALSE(log[1].taken);
}

TEST_F(LoopFixture, UndeliveredPayloadsAreDeletedWhenDropped)
{
    int alive = 0;
    {
        CRkHeadlessApplicationImp other(&app);
        other.Post(18, new Payload(alive), 0);
        other.PostTo(&window, 18, new Payload(alive), 0);
        other.PostTo(nullptr, 18, new Payload(alive), 0); // nobody to receive it
        EXPECT_EQ(alive, 2);
        other.ForgetTarget(&window); // a window dying with messages queued
        EXPECT_EQ(alive, 1);
        EXPECT_EQ(other.GetPendingCount(), 1u);
    }
    EXPECT_EQ(alive, 0); // the loop died with one message queued
    EXPECT_EQ(trace, "");
}

TEST_F(LoopFixture, AcceptedQuitEndsTheRunWithItsCode)
{
    loop.Post(54, nullptr, 0);
    loop.Quit(7);
    EXPECT_TRUE(loop.IsQuitPending());
    EXPECT_EQ(loop.Run(), 7u);
    EXPECT_TRUE(loop.HasQuit());
    EXPECT_FALSE(loop.IsQuitPending());
    EXPECT_EQ(loop.GetLastRunEnd(), CRkHeadlessApplicationImp::RunEnd::Quit);
    EXPECT_EQ(trace, "app:13/k13 app:54 ");
}

// As on Windows, where posted messages come before WM_QUIT: what is queued
// when the quit is asked for, and what those deliveries post, still arrives.
TEST_F(LoopFixture, QueuedMessagesAreDeliveredBeforeTheQuit)
{
    int alive = 0;
    app.onMessage = [&](uint16_t message) {
        if (message == 54) {
            loop.Quit(3);
            loop.PostTo(&window, 28, new Payload(alive), 0); // a window's last word
        }
    };
    loop.StartTimer(kTimerRepeat, 1, 42);
    clock.Advance(5); // due, but a pending quit fires no timer
    loop.Post(54, nullptr, 0);
    loop.Post(55, new Payload(alive), 0);
    loop.PostKey(&window, 'A', 0);
    EXPECT_EQ(loop.RunFor(clock.NowMs() + 1000, kLimit), CRkHeadlessApplicationImp::RunEnd::Quit);
    EXPECT_EQ(loop.GetQuitCode(), 3u);
    EXPECT_EQ(trace, "app:54 app:13/k13 app:55/k0 win:5/k5/key65+0 win:28/k0 ");
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(loop.GetPendingCount(), 0u);
}

TEST_F(LoopFixture, AQuitThatNeverSettlesEndsAndDeletesWhatIsLeft)
{
    int alive = 0;
    uint64_t count = 0;
    // Every delivery posts another message with a payload.
    app.onMessage = [&](uint16_t message) {
        ++count;
        if (message == 59)
            loop.Post(59, new Payload(alive), 0);
    };
    loop.Post(59, nullptr, 0);
    loop.Quit(0);
    EXPECT_EQ(loop.Run(), 0u);
    EXPECT_EQ(loop.GetLastRunEnd(), CRkHeadlessApplicationImp::RunEnd::Quit);
    EXPECT_EQ(count, 1 + CRkHeadlessApplicationImp::kDeliveriesAfterQuit); // the quit request, then the bound
    EXPECT_EQ(loop.GetPendingCount(), 0u);
    EXPECT_EQ(alive, 0);

    // Posted once the loop has ended: deleted with the loop at the latest.
    app.onMessage = nullptr;
    {
        CRkHeadlessApplicationImp ended(&app);
        ended.Quit(0);
        EXPECT_EQ(ended.Run(), 0u);
        ended.Post(18, new Payload(alive), 0);
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST_F(LoopFixture, RefusedQuitKeepsTheLoopGoing)
{
    app.acceptQuit = false;
    loop.Quit(3);
    loop.Post(54, nullptr, 0);
    EXPECT_EQ(loop.RunFor(clock.NowMs() + 5000, kLimit), CRkHeadlessApplicationImp::RunEnd::Idle);
    EXPECT_FALSE(loop.HasQuit());
    EXPECT_EQ(trace, "app:13/k13 app:54 ");
}

TEST_F(LoopFixture, TimersDeliverTheirNumberFromTheClock)
{
    loop.StartTimer(kTimerRepeat, 100, 42);
    loop.StartTimerFor(&window, kTimerOnce, 150, 7);
    EXPECT_EQ(loop.RunUntilIdle(kLimit), CRkHeadlessApplicationImp::RunEnd::Idle);
    EXPECT_EQ(trace, ""); // nothing is due yet

    clock.Advance(100);
    loop.RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "app:42 ");

    clock.Advance(60); // 160: the one-shot timer is due
    trace.clear();
    loop.RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "win:7 ");
    EXPECT_FALSE(loop.HasTimer(&window, 7));

    clock.Advance(1000); // a late timer fires once, it does not catch up
    trace.clear();
    loop.RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "app:42 ");

    loop.StopTimer(42);
    clock.Advance(1000);
    trace.clear();
    loop.RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "");
    EXPECT_EQ(loop.GetTimerCount(), 0u);
}

TEST_F(LoopFixture, WaitingRunMovesTheClockToEachTimer)
{
    int fired = 0;
    app.onMessage = [&](uint16_t message) {
        if (message == 10 && ++fired == 3)
            loop.Quit(0);
    };
    loop.StartTimer(kTimerRepeat, 250, 10);
    EXPECT_EQ(loop.RunFor(clock.NowMs() + 60000, kLimit), CRkHeadlessApplicationImp::RunEnd::Quit);
    EXPECT_EQ(clock.NowMs(), 1750u);
    EXPECT_EQ(trace, "app:10 app:10 app:10 app:13/k13 ");
}

TEST_F(LoopFixture, RunsThatNeverSettleStopAtTheirLimits)
{
    // A handler that posts itself again forever.
    app.onMessage = [this](uint16_t message) { loop.Post(message, nullptr, 0); };
    loop.Post(59, nullptr, 0);
    EXPECT_EQ(loop.RunFor(clock.NowMs() + 1000, 500), CRkHeadlessApplicationImp::RunEnd::Limit);

    // A timer that never quits: the deadline ends the run.
    CRkHeadlessApplicationImp quiet(&window);
    quiet.SetClock(&clock);
    quiet.StartTimer(kTimerRepeat, 100, 11);
    EXPECT_EQ(quiet.RunFor(clock.NowMs() + 1000, kLimit), CRkHeadlessApplicationImp::RunEnd::Deadline);

    // Nothing queued and no timer: a plain Run returns instead of hanging.
    CRkHeadlessApplicationImp idle(&window);
    EXPECT_EQ(idle.Run(), 0u);
    EXPECT_EQ(idle.GetLastRunEnd(), CRkHeadlessApplicationImp::RunEnd::Idle);
}

TEST_F(LoopFixture, KeysGoThroughTheShortcutTable)
{
    CRkShortcutTable table;
    ASSERT_TRUE(table.Set('Q', kKeyModifierCtrl, 30));
    ASSERT_TRUE(table.Set('W', kKeyModifierCtrl, 0)); // command 0: an ordinary key
    loop.SetShortcutTable(&window, &table);

    loop.PostKey(&window, 'Q', kKeyModifierCtrl);
    loop.PostKey(&window, 'W', kKeyModifierCtrl);
    loop.PostKey(&window, 'Q', kKeyModifierShift);
    loop.PostKey(&app, 'Q', kKeyModifierCtrl); // no table for this target
    loop.RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "win:5/k5/key87+1 win:5/k5/key81+2 app:5/k5/key81+1 win:7/k6/c30 ");

    loop.SetShortcutTable(&window, nullptr);
    trace.clear();
    loop.PostKey(&window, 'Q', kKeyModifierCtrl);
    loop.RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "win:5/k5/key81+1 ");
}

TEST_F(LoopFixture, KeysInAControlUseTheTablesOfTheWindowsAroundIt)
{
    Target control{"ctl", trace};
    CRkShortcutTable table;
    ASSERT_TRUE(table.Set('S', kKeyModifierCtrl, 12));
    loop.SetShortcutTable(&window, &table);
    loop.SetContainer(&control, &window);

    loop.PostKey(&control, 'S', kKeyModifierCtrl); // the window's shortcut, posted to the window
    loop.PostKey(&control, 'S', 0);                // no shortcut: the control gets the key
    loop.RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "ctl:5/k5/key83+0 win:7/k6/c12 ");

    // A containment cycle ends the search instead of hanging the loop.
    loop.SetShortcutTable(&window, nullptr);
    loop.SetContainer(&window, &control);
    trace.clear();
    loop.PostKey(&control, 'S', kKeyModifierCtrl);
    EXPECT_EQ(loop.RunUntilIdle(kLimit), CRkHeadlessApplicationImp::RunEnd::Idle);
    EXPECT_EQ(trace, "ctl:5/k5/key83+1 ");

    // A window that dies takes its place in the containment with it.
    loop.SetShortcutTable(&window, &table);
    loop.ForgetTarget(&window);
    trace.clear();
    loop.PostKey(&control, 'S', kKeyModifierCtrl);
    loop.RunUntilIdle(kLimit);
    EXPECT_EQ(trace, "ctl:5/k5/key83+1 ");
}

TEST(ShortcutTable, IndexesByKeyAndModifiers)
{
    EXPECT_EQ(CRkShortcutTable::IndexOf(0x41, 0), 0x41u);
    EXPECT_EQ(CRkShortcutTable::IndexOf(0x41, kKeyModifierCtrl | kKeyModifierShift | kKeyModifierAlt), 0x741u);
    EXPECT_EQ(CRkShortcutTable::IndexOf(0x100, 0), CRkShortcutTable::kEntryCount);

    CRkShortcutTable table;
    EXPECT_FALSE(table.Set(0x1FF, 0, 12)); // no room for keys above 255
    EXPECT_TRUE(table.Set(0xFF, kKeyModifierAlt, 12));
    EXPECT_EQ(table.Lookup(0xFF, kKeyModifierAlt), 12);
    EXPECT_EQ(table.Lookup(0xFF, 0), 0);
    EXPECT_EQ(table.Lookup(0x1FF, 0), 0);
    table.Clear();
    EXPECT_EQ(table.Lookup(0xFF, kKeyModifierAlt), 0);
}

} // namespace
