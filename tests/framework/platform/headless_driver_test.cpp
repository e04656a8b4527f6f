// The test driver against fake hosts: what each user action reports to the
// program, and that hidden or disabled controls ignore the user.
#include <gtest/gtest.h>

#include <memory>

#include "HeadlessFakes.h"
#include "framework/core/RkColor.h"
#include "framework/core/RkMessageNumbers.h"
#include "framework/core/RkShortcutTable.h"
#include "framework/platform/headless/HeadlessApplicationImp.h"
#include "framework/platform/headless/HeadlessUiPlatform.h"
#include "framework/ui/RkComponentKinds.h"
#include "framework/ui/RkDragImp.h"

namespace {

CRkString U(const char* utf8)
{
    return CRkTestDriver::FromUtf8(utf8);
}

// A window with a button, a check box, a text field, a scroll bar and a
// panel inside a container; every host writes into one trace.
struct Driver : ::testing::Test {
    void SetUp() override
    {
        CRkHeadlessDesktop::Get().Reset();
        windowImp.reset(platform.CreateWindow(windowHost, U("Caf\xC3\xA9"), kWindowCloseBox, nullptr));
        window = dynamic_cast<CRkHeadlessWindowImp*>(windowImp.get());
        button = Make(buttonHost, kKindPushButton, 1, *windowImp, "OK");
        checkbox = Make(checkboxHost, kKindCheckbox, 326, *windowImp, "Overwrite existing file");
        field = Make(fieldHost, kKindTextField, 344, *windowImp, "");
        scrollbar = Make(scrollHost, kKindScrollbar, 314, *windowImp, "");
        container = Make(containerHost, kKindContainerPanel, 20, *windowImp, "");
        panel = Make(panelHost, kKindPanel, 312, *imps.back(), "");
        windowImp->SetOuterBounds(RkRect{100, 100, 400, 300});
        windowImp->Show(true, true);
        trace.clear();
    }

    CRkHeadlessNode* Make(FakeHost& host, uint32_t kind, uint32_t id, IRkComponentImp& parent, const char* text)
    {
        imps.emplace_back(platform.CreateComponent(host, kind, id, parent));
        imps.back()->SetText(U(text));
        return dynamic_cast<CRkHeadlessNode*>(imps.back().get());
    }

    std::string trace;
    CRkHeadlessUiPlatform platform;
    CRkHeadlessApplicationImp loop{nullptr};
    CRkTestDriver driver{&loop};
    FakeHost windowHost{"w", trace}, buttonHost{"ok", trace}, checkboxHost{"box", trace}, fieldHost{"f", trace},
        scrollHost{"sb", trace}, containerHost{"cp", trace}, panelHost{"p", trace};
    std::unique_ptr<IRkWindowImp> windowImp;
    std::vector<std::unique_ptr<IRkComponentImp>> imps;
    CRkHeadlessWindowImp* window = nullptr;
    CRkHeadlessNode *button = nullptr, *checkbox = nullptr, *field = nullptr, *scrollbar = nullptr,
                    *container = nullptr, *panel = nullptr;
};

TEST_F(Driver, FindsWindowsByTitleAndControlsByIdOrText)
{
    EXPECT_EQ(driver.FindWindow("Caf\xC3\xA9"), window);
    EXPECT_EQ(driver.FindWindow(CRkString(u"Caf\u00E9")), window);
    EXPECT_EQ(driver.FindWindow("Cafe"), nullptr);
    EXPECT_EQ(CRkTestDriver::GetTitle(window), "Caf\xC3\xA9");
    // A hidden window is not on the screen, but it is still there.
    windowImp->Show(false, false);
    EXPECT_EQ(driver.FindWindow("Caf\xC3\xA9"), nullptr);
    EXPECT_EQ(driver.FindAnyWindow(U("Caf\xC3\xA9")), window);
    EXPECT_TRUE(driver.GetVisibleWindows().empty());
    windowImp->Show(true, true);

    EXPECT_EQ(CRkTestDriver::FindControl(window, 312), panel); // inside the container
    EXPECT_EQ(CRkTestDriver::FindControl(window, 999), nullptr);
    EXPECT_EQ(CRkTestDriver::FindControlByText(window, "Overwrite existing file"), checkbox);
    EXPECT_EQ(CRkTestDriver::GetText(button), "OK");
    container->SetBounds(RkRect{10, 20, 200, 100});
    panel->SetBounds(RkRect{5, 5, 50, 40});
    EXPECT_EQ(CRkTestDriver::GetBounds(panel), (RkRect{5, 5, 50, 40}));
    EXPECT_EQ(CRkTestDriver::GetBoundsInWindow(panel), (RkRect{15, 25, 50, 40}));
    // Visible and enabled as a person sees them: a hidden container hides its panel.
    container->SetVisible(false);
    EXPECT_FALSE(CRkTestDriver::IsVisible(panel));
    container->SetVisible(true);
    container->SetEnabled(false);
    EXPECT_FALSE(CRkTestDriver::IsEnabled(panel));
}

TEST_F(Driver, ClicksReachEnabledVisibleButtonsOnly)
{
    EXPECT_TRUE(driver.Click(button));
    EXPECT_EQ(trace, "ok.activated ");
    EXPECT_TRUE(button->HasFocus()); // a click takes the focus, as on Windows

    trace.clear();
    button->SetEnabled(false);
    EXPECT_FALSE(driver.Click(button));
    button->SetEnabled(true);
    button->SetVisible(false);
    EXPECT_FALSE(driver.Click(button));
    button->SetVisible(true);
    windowImp->Show(false, false);
    EXPECT_FALSE(driver.Click(button)); // in a hidden window
    windowImp->Show(true, true);
    windowImp->SetEnabled(false);
    EXPECT_FALSE(driver.Click(button)); // in a disabled window
    windowImp->SetEnabled(true);
    EXPECT_FALSE(driver.Click(field)); // not a button
    EXPECT_FALSE(driver.Click(nullptr));
    EXPECT_EQ(trace, "w.inactive w.active "); // only the test's own hide and show
}

TEST_F(Driver, ToggleIsAClickAndTheProgramSetsTheCheckMark)
{
    EXPECT_TRUE(driver.Toggle(checkbox));
    EXPECT_FALSE(CRkTestDriver::IsChecked(checkbox)); // nobody set it
    checkboxHost.onActivated = [this] { imps[1]->SetChecked(!imps[1]->IsChecked()); };
    EXPECT_TRUE(driver.Toggle(checkbox));
    EXPECT_TRUE(CRkTestDriver::IsChecked(checkbox));
    EXPECT_EQ(trace, "box.activated box.activated ");
    EXPECT_FALSE(driver.Toggle(button)); // only check boxes toggle
    checkbox->SetEnabled(false);
    EXPECT_FALSE(driver.Toggle(checkbox));
    EXPECT_TRUE(CRkTestDriver::IsChecked(checkbox));
}

TEST_F(Driver, EveryEditOfATextFieldIsReportedOnce)
{
    std::vector<std::string> seen;
    fieldHost.onActivated = [this, &seen] { seen.push_back(CRkTestDriver::GetText(field)); };
    // The program's own SetText is no edit.
    imps[2]->SetText(U("x"));
    EXPECT_TRUE(seen.empty());
    imps[2]->SetText(U(""));

    EXPECT_TRUE(driver.TypeText(field, "ab\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "ab", "ab\xE2\x82\xAC", "ab\xE2\x82\xAC\xF0\x9F\x98\x80"}));
    EXPECT_TRUE(field->HasFocus());
    seen.clear();
    EXPECT_TRUE(driver.Backspace(field, 2)); // the emoji is one character
    EXPECT_EQ(seen, (std::vector<std::string>{"ab\xE2\x82\xAC", "ab"}));
    seen.clear();
    EXPECT_TRUE(driver.TypeText(field, "c\r\nd")); // no line ends in a single-line field
    EXPECT_EQ(seen, (std::vector<std::string>{"abc", "abcd"}));
    seen.clear();
    EXPECT_TRUE(driver.ClearText(field));
    EXPECT_EQ(seen, (std::vector<std::string>{""}));
    EXPECT_TRUE(driver.ClearText(field)); // already empty: no edit
    EXPECT_TRUE(driver.Backspace(field, 3));
    EXPECT_EQ(seen.size(), 1u);

    field->SetEnabled(false);
    EXPECT_FALSE(driver.TypeText(field, "z"));
    EXPECT_EQ(CRkTestDriver::GetText(field), "");
    EXPECT_FALSE(driver.TypeText(button, "z"));
}

TEST_F(Driver, KeysGoThroughTheLoopToTheFocusedControlOrTheWindow)
{
    CRkShortcutTable table;
    table.Set('W', kKeyModifierCtrl, 13);
    loop.SetShortcutTable(&windowHost.GetMessageTarget(), &table);
    loop.SetContainer(&fieldHost.GetMessageTarget(), &windowHost.GetMessageTarget());

    EXPECT_TRUE(driver.PressKey(kKeyEnter));
    EXPECT_EQ(trace, ""); // posted, not delivered yet
    EXPECT_TRUE(driver.Settle(100));
    EXPECT_EQ(trace, "w:5/key3+0 ");

    trace.clear();
    imps[2]->SetFocus();
    EXPECT_TRUE(driver.PressKey(window, kKeyDown));
    EXPECT_TRUE(driver.PressKey(window, 'W', kKeyModifierCtrl)); // the window's shortcut
    EXPECT_TRUE(driver.Settle(100));
    EXPECT_EQ(trace, "f:5/key13+0 w:7/c13 ");
    // A focused control that becomes disabled gives the keys to the window.
    trace.clear();
    imps[0]->SetFocus();
    imps[0]->SetEnabled(false);
    EXPECT_TRUE(driver.PressKey(window, kKeyEscape));
    EXPECT_TRUE(driver.Settle(100));
    EXPECT_EQ(trace, "w:5/key27+0 ");
    windowImp->Show(false, false);
    EXPECT_FALSE(driver.PressKey(window, kKeyEnter)); // hidden
    EXPECT_FALSE(driver.PressKey(kKeyEnter));         // no active window
    CRkTestDriver without(nullptr);
    windowImp->Show(true, true);
    EXPECT_FALSE(without.PressKey(kKeyEnter)); // no loop
}

TEST_F(Driver, MouseWheelAndScrollBars)
{
    EXPECT_TRUE(driver.MouseClick(panel, 4, 30));
    EXPECT_TRUE(driver.LineScroll(panel, true, 2));
    EXPECT_TRUE(driver.LineScroll(panel, false));
    EXPECT_EQ(trace, "p.mouse 0/1 4,30 p.mouse 1/1 4,30 p.line down p.line down p.line up ");
    EXPECT_FALSE(panel->HasFocus()); // panels take the focus themselves

    trace.clear();
    imps[3]->SetProperty(kPropMaximum, 500);
    imps[3]->SetProperty(kPropPage, 300);
    EXPECT_TRUE(driver.ScrollTo(scrollbar, 120));
    EXPECT_TRUE(driver.ScrollTo(scrollbar, 999)); // no further than maximum - page
    EXPECT_TRUE(driver.ScrollTo(scrollbar, -4));
    EXPECT_EQ(trace, "sb.scrolled 120 sb.scrolled 200 sb.scrolled 0 ");
    EXPECT_EQ(CRkTestDriver::GetProperty(scrollbar, kPropValue), 0);
    EXPECT_FALSE(driver.ScrollTo(panel, 3));

    trace.clear();
    container->SetEnabled(false);
    EXPECT_FALSE(driver.MouseClick(panel, 1, 1));
    EXPECT_FALSE(driver.LineScroll(panel, true));
    EXPECT_EQ(trace, "");
}

TEST_F(Driver, DraggingFilesOverOffAndOntoADropTarget)
{
    // Not a drop target: nothing reaches it.
    EXPECT_FALSE(driver.DropFiles(panel, {"/b/tale.lml"}));
    EXPECT_EQ(trace, "");

    platform.GetDrag().SetDropTarget(*imps[5], true);
    panelHost.accepts = true;
    EXPECT_TRUE(driver.DragFilesOver(panel, {"/b/tale.lml"}));
    EXPECT_TRUE(driver.DragFilesOver(panel, {"/b/tale.lml"}));
    EXPECT_TRUE(driver.DragFilesOff(panel));
    EXPECT_FALSE(driver.DragFilesOff(panel)); // nothing over it any more
    EXPECT_EQ(trace, "p.drag 31 3:/b/tale.lml p.drag 33 3:/b/tale.lml p.drag 33 3:/b/tale.lml "
                     "p.drag 32 3:/b/tale.lml ");

    trace.clear();
    EXPECT_TRUE(driver.DropFiles(panel, {"/b/a.lml", "/b/b.txt", "/b/c.LML"}));
    EXPECT_EQ(trace, "p.drag 31 3:/b/a.lml 3:/b/b.txt 3:/b/c.LML p.drag 33 3:/b/a.lml 3:/b/b.txt 3:/b/c.LML "
                     "p.drag 34 3:/b/a.lml 3:/b/b.txt 3:/b/c.LML ");

    // Refused; and a drag that moves to another target leaves the first.
    trace.clear();
    panelHost.accepts = false;
    EXPECT_FALSE(driver.DragFilesOver(panel, {"/b/a.doc"}));
    platform.GetDrag().SetDropTarget(*imps[4], true);
    EXPECT_FALSE(driver.DropFiles(container, {"/b/a.doc"}));
    EXPECT_EQ(trace, "p.drag 31 3:/b/a.doc p.drag 33 3:/b/a.doc p.drag 32 3:/b/a.doc cp.drag 31 3:/b/a.doc "
                     "cp.drag 33 3:/b/a.doc cp.drag 34 3:/b/a.doc ");

    trace.clear();
    imps[5]->SetVisible(false);
    EXPECT_FALSE(driver.DropFiles(panel, {"/b/a.lml"}));
    EXPECT_EQ(trace, "");
}

TEST_F(Driver, CloseBoxMovingAndResizingWindows)
{
    EXPECT_TRUE(driver.PressCloseBox(window));
    EXPECT_TRUE(driver.MoveWindow(window, 100, 80));
    EXPECT_EQ(window->GetOuterBounds(), (RkRect{100, 80, 400, 300}));
    EXPECT_FALSE(driver.ResizeWindow(window, 500, 400)); // not resizable
    EXPECT_EQ(trace, "w.close w.moved 100,80 400x300 ");

    trace.clear();
    FakeHost dialogHost("d", trace);
    std::unique_ptr<IRkWindowImp> dialog(
        platform.CreateWindow(dialogHost, U("Book Info"), kWindowDialog, windowImp.get()));
    auto* dialogNode = dynamic_cast<CRkHeadlessWindowImp*>(dialog.get());
    EXPECT_FALSE(driver.PressCloseBox(dialogNode)); // hidden
    dialog->Show(true, true);
    EXPECT_FALSE(driver.PressCloseBox(dialogNode)); // no close box
    std::unique_ptr<IRkWindowImp> log(
        platform.CreateWindow(dialogHost, U("Log"), kWindowCloseBox | kWindowResizable, nullptr));
    log->Show(true, false);
    auto* logNode = dynamic_cast<CRkHeadlessWindowImp*>(log.get());
    EXPECT_TRUE(driver.ResizeWindow(logNode, 512, 384));
    EXPECT_EQ(logNode->GetClientSize(), (RkSize{512, 384}));
    EXPECT_EQ(trace, "w.inactive d.active d.moved 0,0 512x384 ");
}

TEST_F(Driver, ClickingInABackgroundWindowActivatesIt)
{
    FakeHost otherHost("v", trace), otherButtonHost("b2", trace);
    std::unique_ptr<IRkWindowImp> other(platform.CreateWindow(otherHost, U("Other"), 0, nullptr));
    std::unique_ptr<IRkComponentImp> otherButton(platform.CreateComponent(otherButtonHost, kKindPushButton, 5, *other));
    other->Show(true, true);
    trace.clear();
    EXPECT_TRUE(driver.Click(button));
    EXPECT_EQ(trace, "v.inactive w.active ok.activated ");
    EXPECT_EQ(driver.GetActiveWindow(), window);
    EXPECT_EQ(driver.GetVisibleWindows().front(), window);
}

TEST_F(Driver, MenuItemsAreChosenAfterTheMenuOpens)
{
    FakeMenuHost menuHost(trace);
    std::unique_ptr<IRkMenuBarImp> menuBar(platform.CreateMenuBar(menuHost, *windowImp));
    EXPECT_FALSE(driver.ChooseMenuItem(window, 12)); // no bar shown yet
    windowImp->SetMenuBar(menuBar.get());
    bool busy = false;
    menuHost.onOpening = [&] { menuBar->SetItemState(12, !busy, false); };

    EXPECT_TRUE(driver.ChooseMenuItem(nullptr, 12)); // the active window's
    busy = true;
    EXPECT_FALSE(driver.ChooseMenuItem(window, 12)); // shows disabled now
    EXPECT_EQ(trace, "menu.opening menu.command 12 menu.opening ");
    bool enabled = true, checked = true;
    ASSERT_TRUE(driver.GetMenuItemState(window, 12, enabled, checked));
    EXPECT_FALSE(enabled);
    EXPECT_FALSE(checked);
    EXPECT_FALSE(driver.GetMenuItemState(window, 30, enabled, checked));
    trace.clear();
    windowImp->Show(false, false);
    EXPECT_FALSE(driver.ChooseMenuItem(window, 12));
    EXPECT_EQ(trace, "w.inactive ");
}

TEST_F(Driver, PaintingAWindowShowsItsControlsInWindowCoordinates)
{
    button->SetBounds(RkRect{194, 250, 56, 23});
    container->SetBounds(RkRect{10, 20, 200, 100});
    panel->SetBounds(RkRect{5, 5, 50, 40});
    checkbox->SetVisible(false);
    field->SetVisible(false);
    scrollbar->SetVisible(false);
    panelHost.onPaint = [](IRkGraphicsContextImp& context) {
        context.FillRect(RkRect{0, 0, 50, 40}, CRkColor(0, 0, 0));
    };
    EXPECT_EQ(DescribeDisplayList(driver.PaintWindow(window)),
              (std::vector<std::string>{"Control 194,250 56x23 kind 0 id 1 \"OK\"", "Fill 15,25 50x40 rgb(0,0,0)"}));
    EXPECT_EQ(trace, "w.paint cp.paint p.paint ");
}

// Posts itself the same message again on every delivery: a loop that never settles.
class Echo : public TraceTarget {
public:
    Echo(std::string& trace, CRkHeadlessApplicationImp& loop) : TraceTarget("echo", trace), m_loop(loop) {}
    bool HandleMessage(uint16_t message, CRkMessage* payload) override
    {
        m_loop.PostTo(this, message, nullptr, 0);
        return TraceTarget::HandleMessage(message, payload);
    }

private:
    CRkHeadlessApplicationImp& m_loop;
};

TEST_F(Driver, SettleStopsAtItsDeliveryLimit)
{
    TraceTarget quiet("q", trace);
    loop.PostTo(&quiet, 40, nullptr, 0);
    loop.PostTo(&quiet, 41, nullptr, 0);
    EXPECT_TRUE(driver.Settle(10));
    EXPECT_EQ(trace, "q:40 q:41 ");
    Echo echo(trace, loop);
    loop.PostTo(&echo, 42, nullptr, 0);
    EXPECT_FALSE(driver.Settle(50));
    loop.ForgetTarget(&echo);
    EXPECT_TRUE(driver.Settle(10));
}

} // namespace
