// The menu bar: shown by every top-level window that is not a dialog, its
// items showing the states the window's chain answers, commands and
// keyboard shortcuts performed only while enabled.
#include "UiTestSupport.h"

#include "framework/ui/RkControls.h"
#include "framework/ui/RkMenuBar.h"
#include "framework/ui/RkModalDialog.h"
#include "framework/ui/RkWindow.h"

namespace {

constexpr uint32_t kCmdPrint = 700;

// The application side: Open is enabled while `canOpen`, Print never;
// performed commands are recorded.
class AppCommands : public IRkMessageHandler {
public:
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
        uint32_t id = command ? command->GetCommand() : 0;
        bool mine = id == kCmdOpen || id == kCmdPrint || id == kCmdFileMenu;
        if (!mine || (message != kMsgCommand && message != kMsgCommandStatus))
            return rest.HandleMessage(message, payload);
        if (message == kMsgCommandStatus)
            command->SetEnabled(id == kCmdFileMenu || (id == kCmdOpen && canOpen));
        else
            performed.push_back(id);
        return true;
    }
    bool canOpen = true;
    std::vector<uint32_t> performed;
};

class MenuTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        app->AddHandler(&commands, false);
        CRkMenuBar* bar = new CRkMenuBar();
        uint32_t file = bar->AddMenu(kCmdFileMenu, CRkString(u"File"));
        bar->AddItem(file, kCmdOpen, CRkString(u"Open..."), 'O', kKeyModifierCtrl);
        bar->AddItem(file, kCmdPrint, CRkString(u"Print"), 'P', kKeyModifierCtrl);
        bar->AddSeparator(file);
        bar->AddItem(file, kCmdClose, CRkString(u"Close"), 'W', kKeyModifierCtrl);
        app->SetMenuBar(bar);
    }
    void TearDown() override
    {
        app->RemoveHandler(&commands);
        UiTest::TearDown();
    }
    CRkWindow* MakeWindow(const char16_t* title)
    {
        CRkWindow* window = new CRkWindow(CRkString(title), kWindowCloseBox);
        window->SetOuterBounds({10, 10, 200, 100});
        window->SetVisible(true);
        return window;
    }
    std::string State(CRkHeadlessWindowImp* window, uint32_t command)
    {
        bool enabled = false, checked = false;
        if (!driver->GetMenuItemState(window, command, enabled, checked))
            return "none";
        return enabled ? "on" : "off";
    }
    AppCommands commands;
};

TEST_F(MenuTest, ItemsShowTheStatesTheChainAnswers)
{
    MakeWindow(u"Doc");
    CRkHeadlessWindowImp* doc = driver->FindWindow("Doc");
    ASSERT_TRUE(driver->OpenMenu(doc));
    EXPECT_EQ(State(doc, kCmdFileMenu), "on");
    EXPECT_EQ(State(doc, kCmdOpen), "on");
    EXPECT_EQ(State(doc, kCmdPrint), "off");
    EXPECT_EQ(State(doc, kCmdClose), "on"); // the window's own standard handler
    commands.canOpen = false;
    app->HandleMessage(kMsgCommandsChanged, nullptr); // installs the bar again
    EXPECT_EQ(State(doc, kCmdOpen), "off");
}

TEST_F(MenuTest, ChoosingAnItemPerformsItOnlyWhileEnabled)
{
    MakeWindow(u"Doc");
    CRkHeadlessWindowImp* doc = driver->FindWindow("Doc");
    EXPECT_TRUE(driver->ChooseMenuItem(doc, kCmdOpen));
    EXPECT_FALSE(driver->ChooseMenuItem(doc, kCmdPrint));
    commands.canOpen = false;
    EXPECT_FALSE(driver->ChooseMenuItem(doc, kCmdOpen));
    EXPECT_EQ(commands.performed, std::vector<uint32_t>{kCmdOpen});
    // Close reaches the window the menu belongs to.
    EXPECT_TRUE(driver->ChooseMenuItem(doc, kCmdClose));
    Settle();
    EXPECT_EQ(driver->FindWindow("Doc"), nullptr);
}

TEST_F(MenuTest, ShortcutsWorkFromAnyControlAndAskTheStateFirst)
{
    CRkWindow* window = MakeWindow(u"Doc");
    CRkTextField* field = new CRkTextField(window, 0);
    field->SetBounds(0, 0, 100, 21);
    field->GetImp()->SetFocus();
    CRkHeadlessWindowImp* doc = driver->FindWindow("Doc");
    ASSERT_EQ(CRkTestDriver::GetFocusedControl(doc), CRkTestDriver::GetControls(doc).front());
    ASSERT_TRUE(driver->PressKey(doc, 'O', kKeyModifierCtrl));
    ASSERT_TRUE(driver->PressKey(doc, 'P', kKeyModifierCtrl)); // disabled: nothing
    Settle();
    commands.canOpen = false;
    ASSERT_TRUE(driver->PressKey(doc, 'O', kKeyModifierCtrl)); // disabled by now
    Settle();
    EXPECT_EQ(commands.performed, std::vector<uint32_t>{kCmdOpen});
}

TEST_F(MenuTest, DialogsCarryNoMenuAndWindowsOpenedLaterGetOne)
{
    CRkWindow* owner = MakeWindow(u"Doc");
    CRkModalDialog* dialog = new CRkModalDialog(4, 71, nullptr, owner, CRkString(u"Ask"));
    dialog->ShowModal();
    CRkHeadlessWindowImp* ask = driver->FindWindow("Ask");
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(ask->GetMenuBar(), nullptr);
    // Keys in a dialog are the dialog's: Ctrl+O is no shortcut there.
    ASSERT_TRUE(driver->PressKey(ask, 'O', kKeyModifierCtrl));
    Settle();
    EXPECT_TRUE(commands.performed.empty());

    MakeWindow(u"Later");
    CRkHeadlessWindowImp* later = driver->FindWindow("Later");
    EXPECT_NE(later->GetMenuBar(), nullptr);
    EXPECT_EQ(State(later, kCmdOpen), "on");
}

TEST(MenuText, ShortcutsAreSpelledOut)
{
    EXPECT_EQ(CRkTestDriver::ToUtf8(CRkMenuBar::ShortcutText('O', kKeyModifierCtrl)), "Ctrl+O");
    EXPECT_EQ(CRkTestDriver::ToUtf8(CRkMenuBar::ShortcutText(';', kKeyModifierCtrl)), "Ctrl+;");
    EXPECT_EQ(CRkTestDriver::ToUtf8(CRkMenuBar::ShortcutText(kKeyDelete, 0)), "Delete");
    EXPECT_EQ(CRkTestDriver::ToUtf8(CRkMenuBar::ShortcutText(0, kKeyModifierCtrl)), "");
}

} // namespace
