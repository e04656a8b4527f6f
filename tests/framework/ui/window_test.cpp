// Windows: placement, distances, the close protocol with deferred
// destruction, and quitting when no window is left to see.
#include "UiTestSupport.h"

#include "framework/core/RkApplicationImp.h"
#include "framework/platform/headless/LoopClock.h"
#include "framework/ui/RkControls.h"
#include "framework/ui/RkWindow.h"

namespace {

using Window = CRkWindow;

CRkWindow* MakeWindow(const char16_t* title, int32_t width, int32_t height, CRkWindow* owner = nullptr)
{
    CRkWindow* window = new CRkWindow(CRkString(title), kWindowCloseBox, owner);
    window->SetOuterBounds({0, 0, width, height});
    return window;
}

TEST_F(UiTest, PlacementModesUseTheScreenOrTheOwner)
{
    CRkWindow* window = MakeWindow(u"Placed", 300, 200);
    window->Place(kPlaceUpperThird);
    EXPECT_EQ(window->GetOuterBounds(), (RkRect{362, 189, 300, 200})); // (768 - 200) / 3
    window->Place(kPlaceCentre);
    EXPECT_EQ(window->GetOuterBounds(), (RkRect{362, 284, 300, 200}));

    // A dialog goes over its owner, not the screen.
    CRkWindow* owner = MakeWindow(u"Owner", 400, 400);
    owner->SetPosition(100, 50);
    CRkWindow* dialog = MakeWindow(u"Dialog", 200, 100, owner);
    dialog->Place(kPlaceCentre);
    EXPECT_EQ(dialog->GetOuterBounds(), (RkRect{200, 200, 200, 100}));

    // A width below 5 is taken as 300 for the computation only.
    CRkWindow* thin = MakeWindow(u"Thin", 2, 100);
    thin->Place(kPlaceCentre);
    EXPECT_EQ(thin->GetOuterBounds(), (RkRect{362, 334, 2, 100}));

    // Larger than the screen: the position would be negative, so it stays.
    CRkWindow* huge = MakeWindow(u"Huge", 2000, 100);
    huge->SetPosition(7, 9);
    huge->Place(kPlaceCentre);
    EXPECT_EQ(huge->GetOuterBounds(), (RkRect{7, 9, 2000, 100}));
    // An owner at the screen's right edge would put the dialog within 20
    // pixels of it: it stays where it is.
    owner->SetOuterBounds({1000, 0, 30, 400});
    dialog->SetOuterBounds({5, 5, 6, 100});
    dialog->Place(kPlaceCentre); // x would be 1012, within 20 of 1030
    EXPECT_EQ(dialog->GetOuterBounds(), (RkRect{5, 5, 6, 100}));
}

TEST_F(UiTest, DistancesFollowTheWindowFont)
{
    CRkWindow* window = MakeWindow(u"Units", 100, 100);
    EXPECT_EQ(window->ConvertDistance(5), 15); // 6 pixels a character
    EXPECT_EQ(window->ConvertDistance(2), 6);
    EXPECT_EQ(window->ConvertDistance(3), 9);
    EXPECT_EQ(window->ConvertDistance(-3), -9); // truncated toward zero
    CRkButton* button = new CRkButton(window, 40, CRkString(u"Go"));
    EXPECT_EQ(button->ConvertDistance(1), 3);
}

TEST_F(UiTest, TheCloseBoxHidesDestroysAndTellsTheApplicationAfterwards)
{
    CRkWindow* first = MakeWindow(u"First", 100, 100);
    CRkWindow* second = MakeWindow(u"Second", 100, 100);
    first->SetVisible(true);
    second->SetVisible(true);
    ASSERT_EQ(app->GetWindowCount(), 2u);

    CRkHeadlessWindowImp* shown = driver->FindWindow("Second");
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(driver->PressCloseBox(shown));
    // Gone from the screen and the window list at once; deleted and
    // reported (28) only once the loop runs.
    EXPECT_EQ(driver->FindWindow("Second"), nullptr);
    EXPECT_EQ(app->GetWindowCount(), 1u);
    EXPECT_EQ(recorder.trace, "");
    Settle();
    EXPECT_EQ(recorder.trace, "28 ");
    EXPECT_EQ(driver->FindAnyWindow(CRkTestDriver::FromUtf8("Second")), nullptr);
    EXPECT_FALSE(Loop().HasQuit()); // the first window is still shown

    // Command 13 closes the same way; with no window left to see, the
    // program ends.
    EXPECT_TRUE(first->DoCommand(kCmdClose));
    Settle();
    EXPECT_EQ(recorder.trace, "28 28 13 ");
    EXPECT_TRUE(Loop().HasQuit());
    EXPECT_EQ(app->GetWindowCount(), 0u);
}

// A handler that destroys its window from inside the window's own
// dispatch and then goes on using the window: safe, since the deletion
// waits until the dispatch is over.
class SelfDestroyer : public IRkMessageHandler {
public:
    explicit SelfDestroyer(CRkWindow& window) : m_window(window) {}
    bool HandleMessage(uint16_t message, CRkMessage*, IRkMessageTarget&) override
    {
        if (message != kMsgCloseWindow)
            return false;
        m_window.Destroy();
        m_window.Destroy(); // twice is harmless
        CRkString title;
        m_window.GetTitle(title); // still alive here
        seen = std::u16string(title.GetChars(), title.GetLength());
        return true;
    }
    std::u16string seen;

private:
    CRkWindow& m_window;
};

TEST_F(UiTest, AWindowDestroyingItselfInItsOwnHandlerIsSafe)
{
    CRkWindow* window = MakeWindow(u"Doomed", 100, 100);
    CRkButton* button = new CRkButton(window, 41, CRkString(u"Press"));
    (void)button;
    SelfDestroyer* destroyer = new SelfDestroyer(*window);
    window->AddHandler(destroyer, true);
    window->SetVisible(true);
    // Messages already queued for the window die with it.
    window->PostMessage(kMsgCloseWindow, new CRkQuitMessage(), 0);
    window->PostMessage(kMsgCloseWindow, nullptr, 0);
    Settle();
    EXPECT_EQ(app->GetWindowCount(), 0u);
    EXPECT_EQ(recorder.trace, "28 13 ");
    EXPECT_TRUE(Loop().HasQuit());
}

TEST_F(UiTest, AHiddenWindowDoesNotKeepTheProgramAlive)
{
    CRkWindow* shown = MakeWindow(u"Shown", 100, 100);
    CRkWindow* hidden = MakeWindow(u"Hidden", 100, 100);
    (void)hidden;
    shown->SetVisible(true);
    ASSERT_TRUE(driver->PressCloseBox(driver->FindWindow("Shown")));
    Settle();
    // The quit protocol then closed the hidden window too, and the second
    // quit request found no window left.
    EXPECT_TRUE(Loop().HasQuit());
    EXPECT_EQ(app->GetWindowCount(), 0u);
    EXPECT_EQ(recorder.trace, "28 13 28 13 ");
}

TEST_F(UiTest, WindowsLeftOpenAreDeletedWithTheApplication)
{
    CRkWindow* window = MakeWindow(u"Left", 100, 100);
    new CRkButton(window, 42, CRkString(u"Button"));
    window->SetVisible(true);
    MakeWindow(u"Closing", 50, 50)->Destroy(); // waits in the queue
    app.reset();                               // ASan reports any window, control or payload left
    EXPECT_TRUE(driver->GetDesktop().GetWindows().empty());
}

TEST_F(UiTest, Message29GoesOnToTheApplication)
{
    CRkWindow* window = MakeWindow(u"Refuser", 100, 100);
    window->SetVisible(true);
    app->SetState(kAppQuitting);
    window->HandleMessage(kMsgCloseRefused, nullptr);
    EXPECT_EQ(recorder.trace, "29 ");
    EXPECT_EQ(app->GetState(), kAppRunning);
}

} // namespace

namespace {

// Counts the timer messages that reach a window.
class TimerCounter : public IRkMessageHandler {
public:
    bool HandleMessage(uint16_t message, CRkMessage*, IRkMessageTarget& rest) override
    {
        if (message != 800)
            return rest.HandleMessage(message, nullptr);
        ++fired;
        return true;
    }
    int fired = 0;
};

TEST_F(UiTest, AWindowsTimerFiresOnlyWhileItIsShownAndStopsWithIt)
{
    CRkManualClock clock(1000);
    Loop().SetClock(&clock);
    CRkWindow* window = new CRkWindow(CRkString(u"Ticking"), kWindowCloseBox);
    TimerCounter* counter = new TimerCounter();
    window->AddHandler(counter, true);
    window->SetVisible(true);
    window->StartTimer(kTimerRepeat, 100, 800);
    clock.Advance(100);
    Settle();
    EXPECT_EQ(counter->fired, 1);
    window->SetVisible(false);
    clock.Advance(100);
    Settle();
    EXPECT_EQ(counter->fired, 1);
    window->SetVisible(true);
    clock.Advance(100);
    Settle();
    EXPECT_EQ(counter->fired, 2);
    window->Destroy();
    Settle();
    EXPECT_FALSE(Loop().HasTimer(window, 800));
    EXPECT_EQ(Loop().GetTimerCount(), 0u);
    Loop().SetClock(nullptr);
}

} // namespace
