// Real top-level windows: outer and client sizes with and without a menu
// bar, the restored bounds of a minimized window, showing and raising
// without taking the focus, the active framework window, menus with their
// shortcut texts and states, the Ctrl shortcuts of the loop, and Enter,
// Escape and Tab in a dialog.
#include <gtest/gtest.h>

#include "WinUiTestSupport.h"
#include "framework/core/RkSystemImp.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/ui/RkControls.h"
#include "framework/ui/RkMenuBar.h"
#include "framework/ui/RkModalDialog.h"
#include "framework/ui/RkWindow.h"

namespace {

HWND HandleOf(const CRkComponent& component)
{
    return component.GetImp() ? GetWinComponentHandle(*component.GetImp()) : nullptr;
}

CRkWindow* MakeWindow(const char16_t* title, const RkRect& outer, uint32_t flags = kWindowCloseBox)
{
    auto* window = new CRkWindow(CRkString(title), flags);
    window->SetOuterBounds(outer);
    return window;
}

using WinWindows = WinUiTest;

TEST_F(WinWindows, TheClientSizeIsTheFrameworkSizeAndTheFrameIsAroundIt)
{
    CRkWindow* window = MakeWindow(u"Sizes", {50, 60, 100, 100});
    window->SetSize(300, 200);
    HWND frame = HandleOf(*window);
    RECT client = ClientRectOf(frame);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    const RkRect outer = window->GetOuterBounds();
    EXPECT_EQ(outer.x, 50);
    EXPECT_EQ(outer.y, 60);
    EXPECT_GT(outer.width, 300);
    EXPECT_GT(outer.height, 200 + ::GetSystemMetrics(SM_CYCAPTION) - 1);
    EXPECT_EQ(window->GetSize(), (RkSize{300, 200}));
    EXPECT_EQ(TextOf(frame), L"Sizes");
    EXPECT_EQ(ClassOf(frame), L"Zev Framework Window");

    // With a menu bar the frame is taller by the bar, the client the same.
    CRkMenuBar* bar = new CRkMenuBar();
    uint32_t file = bar->AddMenu(5, CRkString(u"File"));
    bar->AddItem(file, 12, CRkString(u"Open..."), u'O', kKeyModifierCtrl);
    app->SetMenuBar(bar);
    ASSERT_NE(::GetMenu(frame), nullptr);
    window->SetSize(300, 200);
    client = ClientRectOf(frame);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_GT(window->GetOuterBounds().height, outer.height);
    app->SetMenuBar(nullptr);
}

TEST_F(WinWindows, AMinimizedWindowReportsTheBoundsItIsRestoredTo)
{
    CRkWindow* window = MakeWindow(u"Restored", {120, 140, 320, 240});
    window->SetVisible(true);
    HWND frame = HandleOf(*window);
    ::ShowWindow(frame, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(frame));
    EXPECT_EQ(window->GetWindowImp()->GetRestoredBounds(), (RkRect{120, 140, 320, 240}));
    EXPECT_EQ(window->GetOuterBounds(), (RkRect{120, 140, 320, 240}));
    ::ShowWindow(frame, SW_RESTORE);
    EXPECT_EQ(window->GetOuterBounds(), (RkRect{120, 140, 320, 240}));
}

TEST_F(WinWindows, ShowingOrRaisingWithoutActivationKeepsTheActiveWindow)
{
    CRkWindow* main = MakeWindow(u"Main", {100, 100, 300, 200});
    main->SetVisible(true);
    HWND mainFrame = HandleOf(*main);
    ASSERT_EQ(::GetActiveWindow(), mainFrame);
    EXPECT_TRUE(main->IsActive());
    EXPECT_EQ(GetActiveFrameworkWindow(), mainFrame);

    CRkWindow* log = MakeWindow(u"Log", {150, 150, 300, 200}, kWindowCloseBox | kWindowResizable);
    log->GetWindowImp()->Show(true, false);
    HWND logFrame = HandleOf(*log);
    EXPECT_TRUE(::IsWindowVisible(logFrame));
    EXPECT_EQ(::GetActiveWindow(), mainFrame);
    log->BringToFront(false);
    EXPECT_EQ(::GetActiveWindow(), mainFrame);
    EXPECT_EQ(GetActiveFrameworkWindow(), mainFrame);
    log->BringToFront(true);
    EXPECT_EQ(::GetActiveWindow(), logFrame);
    EXPECT_EQ(GetActiveFrameworkWindow(), logFrame);
    // Nothing active of ours: the shown one nearest the front.
    main->SetVisible(false);
    log->SetVisible(false);
    EXPECT_EQ(GetActiveFrameworkWindow(), nullptr);
}

TEST_F(WinWindows, FocusInAWindowThatIsNotActiveWaitsForItsActivation)
{
    CRkWindow* main = MakeWindow(u"Main", {100, 100, 300, 200});
    main->SetVisible(true);
    CRkWindow* log = MakeWindow(u"Log", {150, 150, 300, 200}, kWindowCloseBox | kWindowResizable);
    auto* list = new CRkButton(log, 0, CRkString(u"rows"));
    list->GetImp()->SetFocus(); // while the log window is hidden
    log->GetWindowImp()->Show(true, false);
    EXPECT_EQ(::GetActiveWindow(), HandleOf(*main));
    EXPECT_TRUE(list->GetImp()->HasFocus());
    log->BringToFront(true);
    EXPECT_EQ(::GetActiveWindow(), HandleOf(*log));
    EXPECT_EQ(::GetFocus(), HandleOf(*list));
}

TEST_F(WinWindows, ClosingADialogGivesTheFocusBackAndLeavesTheOtherWindowsInOrder)
{
    CRkWindow* main = MakeWindow(u"Main", {100, 100, 300, 200});
    main->SetVisible(true);
    auto* dialog = new CRkModalDialog(9, 72, nullptr, main, CRkString(u"Progress"));
    dialog->SetSize(200, 80);
    dialog->ShowModal();
    CRkWindow* log = MakeWindow(u"Log", {150, 150, 300, 200}, kWindowCloseBox | kWindowResizable);
    log->GetWindowImp()->Show(true, false);
    log->BringToFront(false);
    ASSERT_EQ(::GetActiveWindow(), HandleOf(*dialog));
    dialog->SetVisible(false);
    EXPECT_EQ(::GetActiveWindow(), HandleOf(*main));
    // The log window is still in front of the main window.
    HWND first = nullptr;
    for (HWND w = ::GetTopWindow(nullptr); w && !first; w = ::GetWindow(w, GW_HWNDNEXT))
        if (w == HandleOf(*main) || w == HandleOf(*log))
            first = w;
    EXPECT_EQ(first, HandleOf(*log));
}

// Finds the message box (trying for two seconds at most), notes its owner
// and answers Cancel.
struct BoxWatch {
    int tries = 0;
    bool seen = false;
    HWND owner = nullptr;
} gBoxWatch;

void CALLBACK CloseBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = ::FindWindowW(L"#32770", L"Owner check");
    if (!box && ++gBoxWatch.tries > 40)
        box = ::FindWindowW(L"#32770", nullptr);
    if (!box)
        return;
    ::KillTimer(nullptr, timer);
    gBoxWatch.seen = true;
    gBoxWatch.owner = ::GetWindow(box, GW_OWNER);
    ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(WinWindows, AMessageBoxIsOwnedByTheActiveFrameworkWindow)
{
    CRkWindow* main = MakeWindow(u"Main", {100, 100, 300, 200});
    main->SetVisible(true);
    CRkWindow* log = MakeWindow(u"Log", {150, 150, 300, 200});
    log->GetWindowImp()->Show(true, false);
    gBoxWatch = BoxWatch{};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CloseBox);
    const uint32_t answer = CRkGlobalVars::Get()->system->ShowMessageBox(
        CRkString(u"The file exists. Do you want to overwrite it?"), CRkString(u"Owner check"), kMessageBoxOKCancel);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(gBoxWatch.seen);
    EXPECT_EQ(gBoxWatch.owner, HandleOf(*main));
    EXPECT_EQ(answer, kMessageBoxAnswerCancel);
}

// Answers the menu's commands: 12 enabled, 40 disabled, 41 checked.
class MenuOwner : public IRkMessageHandler {
public:
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        auto* command = dynamic_cast<CRkCommand*>(payload);
        if (!command)
            return rest.HandleMessage(message, payload);
        const uint32_t id = command->GetCommand();
        if (message == kMsgCommandStatus && (id == 5 || id == 12 || id == 40 || id == 41)) {
            command->SetEnabled(id != 40);
            command->SetChecked(id == 41);
            return true;
        }
        if (message == kMsgCommand && (id == 12 || id == 40 || id == 41)) {
            performed.push_back(id);
            return true;
        }
        return rest.HandleMessage(message, payload);
    }
    std::vector<uint32_t> performed;
};

class WinMenus : public WinUiTest {
protected:
    void SetUp() override
    {
        WinUiTest::SetUp();
        CRkMenuBar* bar = new CRkMenuBar();
        uint32_t file = bar->AddMenu(5, CRkString(u"File"));
        bar->AddItem(file, 12, CRkString(u"Open..."), u'O', kKeyModifierCtrl);
        bar->AddItem(file, 40, CRkString(u"Print"), u'P', kKeyModifierCtrl);
        bar->AddSeparator(file);
        bar->AddItem(file, 41, CRkString(u"Wrap"), u'R', kKeyModifierCtrl);
        uint32_t edit = bar->AddMenu(6, CRkString(u"Edit"));
        bar->AddItem(edit, 265, CRkString(u"Preferences..."), u';', kKeyModifierCtrl);
        app->SetMenuBar(bar);
        window = MakeWindow(u"Menus", {80, 80, 320, 240});
        // At the end of every window's chain, as a program's handler is.
        app->AddHandler(&owner, false);
        window->SetVisible(true);
        frame = HandleOf(*window);
    }
    void TearDown() override
    {
        app->RemoveHandler(&owner);
        WinUiTest::TearDown();
    }
    std::wstring ItemText(HMENU menu, UINT command)
    {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, command, text, 128, MF_BYCOMMAND);
        return text;
    }

    MenuOwner owner;
    CRkWindow* window = nullptr;
    HWND frame = nullptr;
};

TEST_F(WinMenus, EveryWindowShowsTheMenusWithTheirShortcutTexts)
{
    HMENU bar = ::GetMenu(frame);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(::GetMenuItemCount(bar), 2);
    wchar_t title[64] = {};
    ::GetMenuStringW(bar, 0, title, 64, MF_BYPOSITION);
    EXPECT_STREQ(title, L"File");
    HMENU file = ::GetSubMenu(bar, 0);
    EXPECT_EQ(::GetMenuItemCount(file), 4);
    EXPECT_EQ(ItemText(file, 12), L"Open...\tCtrl+O");
    EXPECT_EQ(ItemText(file, 41), L"Wrap\tCtrl+R");
    EXPECT_EQ(ItemText(::GetSubMenu(bar, 1), 265), L"Preferences...\tCtrl+;");
    EXPECT_NE(::GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);

    // A second window has menus of its own; a dialog has none.
    CRkWindow* second = MakeWindow(u"Second", {90, 90, 200, 150});
    HMENU secondBar = ::GetMenu(HandleOf(*second));
    EXPECT_NE(secondBar, nullptr);
    EXPECT_NE(secondBar, bar);
    auto* dialog = new CRkModalDialog(7, 70, nullptr, window, CRkString(u"Zev Framework Dialog"));
    EXPECT_EQ(::GetMenu(HandleOf(*dialog)), nullptr);
    EXPECT_EQ(ClassOf(HandleOf(*dialog)), L"Zev Framework Dialog");
    EXPECT_EQ(::GetWindow(HandleOf(*dialog), GW_OWNER), frame);
}

TEST_F(WinMenus, OpeningAMenuShowsTheItemStatesAndChoosingOnePerformsIt)
{
    HMENU file = ::GetSubMenu(::GetMenu(frame), 0);
    ::SendMessageW(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    EXPECT_EQ(::GetMenuState(file, 12, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED), 0u);
    EXPECT_NE(::GetMenuState(file, 40, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(::GetMenuState(file, 41, MF_BYCOMMAND) & MF_CHECKED, 0u);

    ::SendMessageW(frame, WM_COMMAND, MAKEWPARAM(12, 0), 0);
    EXPECT_EQ(owner.performed, (std::vector<uint32_t>{12}));
}

TEST_F(WinMenus, CtrlShortcutsAreTakenByTheLoopBeforeTheKeyIsDispatched)
{
    {
        HeldKeys ctrl({VK_CONTROL});
        ::PostMessageW(frame, WM_KEYDOWN, 'O', 1);
        ::PostMessageW(frame, WM_KEYDOWN, 'R', 1);
        ::PostMessageW(frame, WM_KEYDOWN, 'P', 1); // disabled now: nothing
        ASSERT_TRUE(Settle());
    }
    EXPECT_EQ(owner.performed, (std::vector<uint32_t>{12, 41}));
}

// A dialog with a text field, a default OK button and a cancel button.
class KeyDialog : public CRkModalDialog {
public:
    explicit KeyDialog(CRkWindow* owner) : CRkModalDialog(8, 71, nullptr, owner, CRkString(u"Keys"))
    {
        field = new CRkTextField(this, 801);
        ok = new CRkButton(this, kButtonOK, CRkString(u"OK"));
        cancel = new CRkButton(this, kButtonCancel, CRkString(u"Cancel"));
        ok->SetProperty(kPropDefaultButton, 1);
        cancel->SetProperty(kPropCancelButton, 1);
        field->SetBounds(10, 10, 200, 22);
        ok->SetBounds(10, 50, 80, 24);
        cancel->SetBounds(100, 50, 80, 24);
        SetSize(240, 100);
    }
    CRkTextField* field;
    CRkButton* ok;
    CRkButton* cancel;
};

class DialogCommands : public IRkMessageHandler {
public:
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        auto* command = dynamic_cast<CRkCommand*>(payload);
        if (command && (command->GetCommand() == kButtonOK || command->GetCommand() == kButtonCancel ||
                        command->GetCommand() == 801)) {
            if (message == kMsgCommandStatus)
                command->SetEnabled(true);
            else if (message == kMsgCommand && command->GetCommand() != 801)
                dialog->Dismiss(command->GetCommand());
            return true;
        }
        return rest.HandleMessage(message, payload);
    }
    CRkModalDialog* dialog = nullptr;
};

class WinDialogKeys : public WinUiTest {
protected:
    void SetUp() override
    {
        WinUiTest::SetUp();
        owner = MakeWindow(u"Owner", {100, 100, 400, 300});
        owner->SetVisible(true);
        recorder.onMessage = [this](uint16_t message, CRkMessage* payload) {
            if (message != 71)
                return false;
            if (auto* dismissed = dynamic_cast<CRkDialogDismissedMessage*>(payload)) {
                buttons.push_back(dismissed->button);
                dismissed->dialog->GetDialogWindow().Destroy();
            }
            return true;
        };
    }
    KeyDialog* Open()
    {
        auto* dialog = new KeyDialog(owner);
        commands.dialog = dialog;
        dialog->AddHandler(&commands, false);
        dialog->ShowModal();
        return dialog;
    }

    CRkWindow* owner = nullptr;
    DialogCommands commands;
    std::vector<uint32_t> buttons;
};

TEST_F(WinDialogKeys, EnterInTheTextFieldPressesTheDefaultButton)
{
    KeyDialog* dialog = Open();
    HWND field = HandleOf(*dialog->field);
    EXPECT_EQ(::GetFocus(), field);
    ::PostMessageW(field, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(field, WM_CHAR, L'\r', 1);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(buttons, (std::vector<uint32_t>{kButtonOK}));
}

TEST_F(WinDialogKeys, EscapeCancelsAndTabMovesTheFocus)
{
    KeyDialog* dialog = Open();
    HWND field = HandleOf(*dialog->field);
    HWND ok = HandleOf(*dialog->ok);
    HWND cancel = HandleOf(*dialog->cancel);
    ::PostMessageW(field, WM_KEYDOWN, VK_TAB, 1);
    ::PostMessageW(field, WM_CHAR, L'\t', 1);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(::GetFocus(), ok);
    {
        HeldKeys shift({VK_SHIFT});
        ::PostMessageW(ok, WM_KEYDOWN, VK_TAB, 1);
        ASSERT_TRUE(Settle());
    }
    EXPECT_EQ(::GetFocus(), field);
    EXPECT_TRUE(buttons.empty());
    // Typing still goes into the field.
    ::PostMessageW(field, WM_CHAR, L'a', 1);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(TextOf(field), L"a");
    ::SetFocus(cancel);
    ::PostMessageW(cancel, WM_KEYDOWN, VK_ESCAPE, 1);
    ::PostMessageW(cancel, WM_CHAR, 27, 1);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(buttons, (std::vector<uint32_t>{kButtonCancel}));
}

TEST_F(WinDialogKeys, TheDialogIsOwnedCentredOverItsOwnerAndItsCloseBoxCancels)
{
    KeyDialog* dialog = Open();
    HWND frame = HandleOf(*dialog);
    EXPECT_EQ(::GetWindow(frame, GW_OWNER), HandleOf(*owner));
    EXPECT_EQ(TextOf(frame), L"Keys");
    const RkRect outer = dialog->GetOuterBounds();
    EXPECT_EQ(outer.x, 100 + (400 - outer.width) / 2);
    EXPECT_EQ(::GetActiveWindow(), frame);
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(buttons, (std::vector<uint32_t>{kButtonCancel}));
    EXPECT_FALSE(::IsWindow(frame));
}

} // namespace
