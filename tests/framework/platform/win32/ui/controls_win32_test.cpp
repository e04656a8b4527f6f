// Real Win32 controls behind the framework's components: their window
// classes, styles and ids, natural sizes in the real font, check boxes that
// show the framework's answer, scroll bars and progress bars, and components
// deleted while their own messages are being handled.
#include <gtest/gtest.h>

#include "WinUiTestSupport.h"

#include <commctrl.h>

#include "framework/core/RkColor.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/ui/RkControls.h"
#include "framework/ui/RkCustomControl.h"
#include "framework/ui/RkGraphicsImp.h"
#include "framework/ui/RkWindow.h"

namespace {

class WinControls : public WinUiTest {
protected:
    void SetUp() override
    {
        WinUiTest::SetUp();
        window = new CRkWindow(CRkString(u"Controls"), kWindowCloseBox);
        window->SetOuterBounds({40, 40, 500, 400});
        window->SetVisible(true);
        frame = HandleOf(*window);
        ASSERT_NE(frame, nullptr);
    }
    static HWND HandleOf(const CRkComponent& component)
    {
        return component.GetImp() ? GetWinComponentHandle(*component.GetImp()) : nullptr;
    }

    CRkWindow* window = nullptr;
    HWND frame = nullptr;
};

struct KindRow {
    uint32_t kind;
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

TEST_F(WinControls, EachKindIsTheNativeControlOfItsRowWithTheComponentIdAsControlId)
{
    const KindRow rows[] = {
        {kKindPushButton, L"Button", 0x50010000, 0},
        {kKindPanel, L"LUMO_EMPTY_PANEL", 0x50010000, 0},
        {kKindCheckbox, L"Button", 0x50010003, 0},
        {kKindRadioButton, L"Button", 0x50010009, 0},
        {kKindLabel, L"Static", 0x50000000, 0},
        {kKindTextField, L"Edit", 0x50810080, 512},
        {kKindContainerPanel, L"LUMO_EMPTY_PANEL", 0x52010000, 0},
        {kKindProgressBar, L"msctls_progress32", 0x50010000, 0},
        {kKindScrollbar, L"ScrollBar", 0x50010000, 0},
        {kKindMultilineTextField, L"Edit", 0x50A11044, 512},
    };
    uint32_t id = 500;
    for (const KindRow& row : rows) {
        SCOPED_TRACE(row.kind);
        auto* component = new CRkComponent(window, row.kind, ++id);
        HWND control = ::GetDlgItem(frame, int(id));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control, HandleOf(*component));
        EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), row.windowClass), 0) << ClassOf(control);
        EXPECT_EQ(DWORD(::GetWindowLongW(control, GWL_STYLE)), row.style);
        EXPECT_EQ(DWORD(::GetWindowLongW(control, GWL_EXSTYLE)) & 0xFFFF, row.exStyle);
        RECT r;
        ::GetWindowRect(control, &r);
        EXPECT_EQ(r.right - r.left, 50);
        EXPECT_EQ(r.bottom - r.top, 50);
        const bool panel = row.windowClass[0] == L'L';
        const bool text = !panel && row.kind != kKindProgressBar && row.kind != kKindScrollbar;
        EXPECT_EQ(TextOf(control), text ? L"Fnord." : L"");
        if (!text)
            continue;
        // The window font, not the system's.
        EXPECT_NE(::SendMessageW(control, WM_GETFONT, 0, 0), 0);
    }
    // A vertical scroll bar is the same control with SBS_VERT.
    auto* vertical = new CRkScrollbar(window, 600, true);
    HWND bar = ::GetDlgItem(frame, 600);
    ASSERT_EQ(bar, HandleOf(*vertical));
    EXPECT_EQ(DWORD(::GetWindowLongW(bar, GWL_STYLE)), 0x50010000u | SBS_VERT);
    // A text field without a border loses WS_BORDER only.
    auto* bare = new CRkTextField(window, 601, false);
    EXPECT_EQ(DWORD(::GetWindowLongW(HandleOf(*bare), GWL_STYLE)), 0x50010080u);
}

TEST_F(WinControls, NaturalSizesFollowTheRealFont)
{
    auto* label = new CRkLabel(window, 0, CRkString(u"Overwrite existing file"));
    auto* button = new CRkButton(window, 0, CRkString(u"Make Book..."));
    auto* box = new CRkCheckbox(window, 0, CRkString(u"Overwrite existing file"));
    auto* field = new CRkTextField(window, 0);

    HDC dc = ::GetDC(HandleOf(*label));
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(HandleOf(*label), WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics;
    ::GetTextMetricsW(dc, &metrics);
    SIZE text;
    ::GetTextExtentPoint32W(dc, L"Overwrite existing file", 23, &text);
    SIZE buttonText;
    ::GetTextExtentPoint32W(dc, L"Make Book...", 12, &buttonText);
    ::SelectObject(dc, old);
    ::ReleaseDC(HandleOf(*label), dc);

    const RkSize labelSize = label->GetPreferredSize();
    EXPECT_EQ(labelSize.width, text.cx);
    EXPECT_EQ(labelSize.height, metrics.tmHeight);
    // The same font the distances are converted with.
    EXPECT_EQ(window->ConvertDistance(2), label->GetFont().GetAverageCharWidth());
    EXPECT_EQ(label->GetFont().GetLineHeight(), metrics.tmHeight);
    const RkSize buttonSize = button->GetPreferredSize();
    EXPECT_GT(buttonSize.width, buttonText.cx);
    EXPECT_GT(buttonSize.height, metrics.tmHeight);
    const RkSize boxSize = box->GetPreferredSize();
    EXPECT_GE(boxSize.width, text.cx + ::GetSystemMetrics(SM_CXMENUCHECK));
    EXPECT_GE(boxSize.height, metrics.tmHeight);
    EXPECT_GT(field->GetPreferredSize().height, metrics.tmHeight);

    // Wrapped at a width, a label is as many lines high as the control
    // draws, each at most that wide; the control shows all of it.
    label->SetText(CRkString(u"You must enter a title for this book. The remaining fields are optional."));
    label->SetWrapWidth(120);
    const RkSize wrapped = label->GetPreferredSize();
    EXPECT_LE(wrapped.width, 120);
    EXPECT_GE(wrapped.height, 3 * metrics.tmHeight);
    EXPECT_EQ(wrapped.height % metrics.tmHeight, 0);

    CRkScrollbar* bar = new CRkScrollbar(window, 0, true);
    EXPECT_EQ(bar->GetThickness(), ::GetSystemMetrics(SM_CXVSCROLL));
}

// Answers the box's state from its own flag; a click asks for the command,
// which flips the flag only when told to.
class BoxOwner : public IRkMessageHandler {
public:
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        auto* command = dynamic_cast<CRkCommand*>(payload);
        if (!command || command->GetCommand() != 700)
            return rest.HandleMessage(message, payload);
        if (message == kMsgCommandStatus) {
            command->SetEnabled(true);
            command->SetChecked(checked);
        } else if (message == kMsgCommand) {
            ++clicks;
            if (flips)
                checked = !checked;
        }
        return true;
    }
    bool checked = false;
    bool flips = true;
    int clicks = 0;
};

TEST_F(WinControls, ACheckBoxShowsTheStateTheFrameworkAnswersAfterEveryClick)
{
    BoxOwner owner;
    window->AddHandler(&owner, false);
    auto* box = new CRkCheckbox(window, 700, CRkString(u"Dictionary"));
    window->RefreshCommandState();
    HWND control = HandleOf(*box);
    EXPECT_EQ(::SendMessageW(control, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    ::SendMessageW(control, BM_CLICK, 0, 0);
    EXPECT_EQ(owner.clicks, 1);
    EXPECT_EQ(::SendMessageW(control, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(box->IsChecked());

    // A framework that refuses the change: the box stays as it was, though
    // the control toggled itself on the click.
    owner.flips = false;
    ::SendMessageW(control, BM_CLICK, 0, 0);
    EXPECT_EQ(owner.clicks, 2);
    EXPECT_EQ(::SendMessageW(control, BM_GETCHECK, 0, 0), BST_CHECKED);
    owner.flips = true;
    ::SendMessageW(control, BM_CLICK, 0, 0);
    EXPECT_EQ(::SendMessageW(control, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    window->RemoveHandler(&owner);
}

TEST_F(WinControls, TypingInATextFieldReportsEachEditButSettingItsTextDoesNot)
{
    recorder.onMessage = [](uint16_t message, CRkMessage* payload) {
        auto* command = dynamic_cast<CRkCommand*>(payload);
        if (message != kMsgCommandStatus || !command || command->GetCommand() != 710)
            return false;
        command->SetEnabled(true);
        return true;
    };
    auto* field = new CRkTextField(window, 710);
    field->SetText(CRkString(u"set by the program"));
    EXPECT_TRUE(recorder.commands.empty());
    HWND control = HandleOf(*field);
    const int end = ::GetWindowTextLengthW(control);
    ::SendMessageW(control, EM_SETSEL, WPARAM(end), LPARAM(end));
    ::SendMessageW(control, WM_CHAR, L'!', 1);
    ASSERT_EQ(recorder.commands.size(), 1u);
    EXPECT_EQ(recorder.commands[0], 710u);
    CRkString text;
    field->GetText(text);
    EXPECT_EQ(ToWide(text), L"set by the program!");
}

TEST_F(WinControls, ScrollBarsAndProgressBarsShowTheFrameworkRange)
{
    auto* bar = new CRkScrollbar(window, 720, true);
    bar->SetRange(1000, 100);
    bar->SetValue(950); // clamped to maximum - page
    EXPECT_EQ(bar->GetValue(), 900);
    HWND control = HandleOf(*bar);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(::GetScrollInfo(control, SB_CTL, &info));
    EXPECT_EQ(info.nPos, 900);
    EXPECT_EQ(info.nPage, 100u);
    // Windows' last position is the framework's too.
    EXPECT_EQ(info.nMax - int(info.nPage) + 1, 900);

    // A click on the arrow moves the bar and tells the framework.
    bar->SetValue(0);
    ::SendMessageW(frame, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), reinterpret_cast<LPARAM>(control));
    EXPECT_GT(bar->GetValue(), 0);
    EXPECT_EQ(::GetScrollPos(control, SB_CTL), bar->GetValue());
    ::SendMessageW(frame, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(bar->GetValue(), 900);

    auto* progress = new CRkProgressbar(window, 721);
    progress->SetValue(66);
    HWND native = HandleOf(*progress);
    EXPECT_EQ(::SendMessageW(native, PBM_GETPOS, 0, 0), 66);
    EXPECT_EQ(::SendMessageW(native, PBM_GETRANGE, FALSE, 0), 100);
}

// Deletes the component whose command it is, from inside the command.
class SelfRemover : public IRkMessageHandler {
public:
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        auto* command = dynamic_cast<CRkCommand*>(payload);
        if (message == kMsgCommandStatus && command && command->GetCommand() == 730) {
            command->SetEnabled(true);
            return true;
        }
        if (message == kMsgCommand && command && command->GetCommand() == 730 && target) {
            CRkComponent* going = target;
            target = nullptr;
            container->RemoveChild(going);
            return true;
        }
        return rest.HandleMessage(message, payload);
    }
    CRkContainer* container = nullptr;
    CRkComponent* target = nullptr;
};

TEST_F(WinControls, AComponentDeletedByItsOwnClickGoesOnceTheClickIsDone)
{
    SelfRemover remover;
    remover.container = window;
    window->AddHandler(&remover, false);
    auto* button = new CRkButton(window, 730, CRkString(u"Remove me"));
    remover.target = button;
    HWND control = HandleOf(*button);
    ::SendMessageW(control, BM_CLICK, 0, 0);
    EXPECT_EQ(remover.target, nullptr);
    EXPECT_FALSE(::IsWindow(control));
    EXPECT_EQ(::GetDlgItem(frame, 730), nullptr);
    window->RemoveHandler(&remover);
}

TEST_F(WinControls, AWindowClosedFromItsOwnControlIsDestroyedAfterTheLoopRuns)
{
    window->SetVisible(false);
    auto* other = new CRkWindow(CRkString(u"Closing"), kWindowCloseBox);
    other->SetOuterBounds({60, 60, 300, 200});
    other->SetVisible(true);
    HWND otherFrame = HandleOf(*other);
    ::SendMessageW(otherFrame, WM_CLOSE, 0, 0);
    // Hidden at once, gone from the window list, destroyed later.
    EXPECT_FALSE(::IsWindowVisible(otherFrame));
    EXPECT_TRUE(::IsWindow(otherFrame));
    EXPECT_TRUE(Settle());
    EXPECT_FALSE(::IsWindow(otherFrame));
}

// A panel that draws one line of text, the one it is given.
class TextPanel : public CRkCustomControl {
public:
    TextPanel(CRkContainer* parent, uint32_t id) : CRkCustomControl(parent, id) {}
    void Draw(IRkGraphicsContextImp& context) override { context.DrawText(2, 2, text, CRkColor(0, 0, 0), GetFont()); }
    CRkString text;
};

TEST_F(WinControls, UpdatePaintsAPanelBeforeItReturns)
{
    auto* panel = new TextPanel(window, 740);
    panel->SetBounds(10, 10, 200, 30);
    ASSERT_TRUE(Settle()); // the first paint
    panel->text = CRkString(u"Building tale.ldb...");
    panel->Redraw();
    panel->GetImp()->Update(); // no loop in between: the program is busy
    std::vector<std::wstring> lines;
    GetWinPaintedText(HandleOf(*panel), lines);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"Building tale.ldb..."}));
    EXPECT_EQ(_wcsicmp(ClassOf(HandleOf(*panel)).c_str(), L"LUMO_EMPTY_PANEL"), 0);
}

// Records the mouse and line-scroll messages that reach a panel.
class PointerRecorder : public IRkMessageHandler {
public:
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        if (auto* mouse = dynamic_cast<CRkMouseMessage*>(payload); mouse && message == kMsgMouse) {
            events.push_back({mouse->value1, mouse->value2, mouse->x, mouse->y});
            return true;
        }
        if (message == kMsgLineDown || message == kMsgLineUp) {
            lines.push_back(message == kMsgLineDown);
            return true;
        }
        return rest.HandleMessage(message, payload);
    }
    struct Event {
        uint32_t value1, clicks;
        int32_t x, y;
        bool operator==(const Event&) const = default;
    };
    std::vector<Event> events;
    std::vector<bool> lines;
};

TEST_F(WinControls, APanelHearsPressesDoubleClicksAndTheWheelInItsOwnCoordinates)
{
    auto* panel = new TextPanel(window, 750);
    panel->SetBounds(20, 30, 200, 100);
    PointerRecorder recorder;
    panel->AddHandler(&recorder, false);
    HWND native = HandleOf(*panel);
    ::SendMessageW(native, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 7));
    ::SendMessageW(native, WM_LBUTTONUP, 0, MAKELPARAM(12, 7));
    ::SendMessageW(native, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(13, 7));
    ::SendMessageW(native, WM_LBUTTONUP, 0, MAKELPARAM(13, 7));
    using E = PointerRecorder::Event;
    ASSERT_EQ(recorder.events.size(), 4u);
    EXPECT_EQ(recorder.events[0], (E{kMouseDown, 1, 12, 7}));
    EXPECT_EQ(recorder.events[1], (E{kMouseUp, 1, 12, 7}));
    EXPECT_EQ(recorder.events[2], (E{kMouseDown, 2, 13, 7})); // close in time and place
    EXPECT_EQ(::GetCapture(), nullptr);
    // One notch down, in two halves: the lines a notch scrolls, once.
    ::SendMessageW(native, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-60)), 0);
    EXPECT_TRUE(recorder.lines.empty());
    ::SendMessageW(native, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-60)), 0);
    UINT perNotch = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
    if (perNotch == 0 || perNotch > 100)
        perNotch = 3;
    EXPECT_EQ(recorder.lines, std::vector<bool>(perNotch, true));
    panel->RemoveHandler(&recorder);
}

} // namespace
