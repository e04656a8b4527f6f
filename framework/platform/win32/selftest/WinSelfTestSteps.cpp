#include "framework/platform/win32/selftest/WinSelfTestSteps.h"

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "framework/platform/win32/selftest/WinSelfTestDrag.h"
#include "framework/platform/win32/selftest/WinSelfTestObserve.h"
#include "framework/platform/win32/selftest/WinSelfTestWindows.h"
#include "framework/platform/win32/ui/WinUiShared.h"

namespace {

constexpr unsigned kUiTimeoutMs = 3000;

std::wstring Arg(const SelfTestStep& step, size_t i)
{
    return SelfTestWide(step.args[i]);
}

bool IsNumber(const std::string& text)
{
    size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    return text.size() > start && text.find_first_not_of("0123456789", start) == std::string::npos && text.size() < 10;
}

int Number(const SelfTestStep& step, size_t i)
{
    return std::stoi(step.args[i]);
}

bool Yes(const SelfTestStep& step, size_t i)
{
    return step.args[i] == "yes";
}

// The window of the step's first argument, remembered the first time it is
// found; null (with `seen` saying what is shown) when it is not there.
HWND Window(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    const std::wstring selector = Arg(step, 0);
    HWND window = FindSelfTestWindow(selector);
    if (!window) {
        seen = L"no window \"" + selector + L"\"; " + DescribeSelfTestWindows();
        return nullptr;
    }
    context.firstSeen.emplace(selector, window);
    return window;
}

// A control argument: an id, or ID:CLASS for the control of that id and
// window class (where controls inside controls share an id).
bool IsControlArgument(const std::string& text)
{
    const size_t colon = text.find(':');
    return IsNumber(text.substr(0, colon)) && (colon == std::string::npos || colon + 1 < text.size());
}

// The control of the second argument in the step's window (id 0: the
// window itself).
HWND Control(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND window = Window(context, step, seen);
    if (!window)
        return nullptr;
    const std::wstring argument = Arg(step, 1);
    const size_t colon = argument.find(L':');
    const int id = std::stoi(argument.substr(0, colon));
    const std::wstring cls = colon == std::wstring::npos ? L"" : argument.substr(colon + 1);
    if (id == 0 && cls.empty())
        return window;
    HWND control = cls.empty() ? FindSelfTestControl(window, id) : nullptr;
    for (HWND child : cls.empty() ? std::vector<HWND>() : SelfTestDescendants(window)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (GetDlgCtrlID(child) == id && cls == name) {
            control = child;
            break;
        }
    }
    if (!control)
        seen = L"\"" + Arg(step, 0) + L"\" has no control " + argument;
    return control;
}

POINT CentreOf(HWND control)
{
    RECT r = {};
    GetClientRect(control, &r);
    return {(r.right - r.left) / 2, (r.bottom - r.top) / 2};
}

bool ReadFile(const std::wstring& path, std::string& bytes)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool FileExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring g_baseDirectory;

// A scenario's file names are relative to the folder the program started
// in, whatever the program (or its dialogs) make the current one since.
std::wstring FullPath(const std::wstring& path)
{
    const bool relative = path.size() < 2 || (path[1] != L':' && path[0] != L'\\' && path[0] != L'/');
    const std::wstring name = relative && !g_baseDirectory.empty() ? g_baseDirectory + L"\\" + path : path;
    wchar_t full[MAX_PATH * 2] = {};
    DWORD length = GetFullPathNameW(name.c_str(), MAX_PATH * 2, full, nullptr);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(full, length) : name;
}

// Menu item text as a person reads it: without the & marks and the
// shortcut after the tab.
std::wstring PlainMenuText(HMENU menu, UINT position)
{
    wchar_t text[256] = {};
    GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    std::wstring plain;
    for (const wchar_t* c = text; *c && *c != L'\t'; ++c)
        if (*c != L'&')
            plain += *c;
    return plain;
}

// ---- actions ----

bool WaitWindow(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    return Window(context, step, seen) != nullptr;
}

bool ExpectNoWindow(SelfTestContext&, const SelfTestStep& step, std::wstring& seen)
{
    if (!FindSelfTestWindow(Arg(step, 0)))
        return true;
    seen = L"\"" + Arg(step, 0) + L"\" is still shown";
    return false;
}

bool Click(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND control = Control(context, step, seen);
    if (!control)
        return false;
    // Like a person's click, nothing reaches a disabled control.
    if (IsWindowEnabled(control))
        PostMessageW(control, BM_CLICK, 0, 0);
    return true;
}

bool MouseClick(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND control = Control(context, step, seen);
    if (!control)
        return false;
    if (IsWindowEnabled(control)) {
        POINT p = CentreOf(control);
        PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    return true;
}

bool Type(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND control = Control(context, step, seen);
    if (!control)
        return false;
    for (wchar_t c : Arg(step, 2))
        PostMessageW(control, WM_CHAR, c, 1);
    return true;
}

struct KeyName {
    const char* name;
    UINT key;
};
constexpr KeyName kKeys[] = {
    {"enter", VK_RETURN}, {"escape", VK_ESCAPE}, {"tab", VK_TAB},       {"backspace", VK_BACK},
    {"up", VK_UP},        {"down", VK_DOWN},     {"delete", VK_DELETE},
};

const KeyName* FindKey(const std::string& name)
{
    for (const KeyName& key : kKeys)
        if (name == key.name)
            return &key;
    return nullptr;
}

// A key pressed and released in the window: it goes to the control that has
// the focus when that control is in the window, else to the window.
bool Key(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND window = Window(context, step, seen);
    if (!window)
        return false;
    HWND target = window;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetSelfTestUiThreadId(), &info) && info.hwndFocus &&
        (info.hwndFocus == window || IsChild(window, info.hwndFocus)))
        target = info.hwndFocus;
    const UINT key = FindKey(step.args[1])->key;
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
    return true;
}

bool Close(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND window = Window(context, step, seen);
    if (!window)
        return false;
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
}

bool Move(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND window = Window(context, step, seen);
    if (!window)
        return false;
    const int x = Number(step, 1), y = Number(step, 2);
    bool moved = RunOnSelfTestUiThread(
        [window, x, y] { SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); },
        kUiTimeoutMs);
    if (!moved)
        seen = L"the program did not answer";
    return moved;
}

// Chooses a menu item given as "Menu/Item" by the texts shown.
bool Menu(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND window = Window(context, step, seen);
    if (!window)
        return false;
    const std::wstring path = Arg(step, 1);
    const size_t slash = path.find(L'/');
    const std::wstring title = path.substr(0, slash);
    const std::wstring item = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
    HMENU bar = GetMenu(window);
    if (!bar) {
        seen = L"the window has no menu bar";
        return false;
    }
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        if (PlainMenuText(bar, i) != title)
            continue;
        HMENU menu = GetSubMenu(bar, i);
        for (int j = 0; menu && j < GetMenuItemCount(menu); ++j) {
            if (PlainMenuText(menu, j) != item)
                continue;
            if (GetMenuState(menu, j, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED)) {
                seen = L"the item is disabled";
                return false;
            }
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetMenuItemID(menu, j), 0), 0);
            return true;
        }
    }
    seen = L"no menu item \"" + path + L"\"";
    return false;
}

std::vector<std::wstring> DroppedPaths(const SelfTestStep& step)
{
    std::vector<std::wstring> paths;
    for (size_t i = 2; i < step.args.size(); ++i)
        paths.push_back(FullPath(Arg(step, i)));
    return paths;
}

// Files dropped on a control as the shell drops them: an HDROP with their
// full paths, posted as WM_DROPFILES; the receiver frees it.
bool Drop(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND control = Control(context, step, seen);
    if (!control)
        return false;
    HGLOBAL memory = MakeSelfTestDropHandle(DroppedPaths(step), CentreOf(control));
    if (!memory) {
        seen = L"no memory for the drop";
        return false;
    }
    if (!PostMessageW(control, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0)) {
        GlobalFree(memory);
        seen = L"the drop could not be posted";
        return false;
    }
    return true;
}

// Files dragged onto a control with OLE drag and drop (DoDragDrop on the
// program's thread, so the control's registered drop target takes them).
bool OleDrop(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND control = Control(context, step, seen);
    if (!control)
        return false;
    auto result = std::make_shared<std::pair<bool, std::wstring>>();
    const std::vector<std::wstring> paths = DroppedPaths(step);
    if (!RunOnSelfTestUiThread(
            [control, paths, result] { result->first = OleDragSelfTestFiles(control, paths, result->second); },
            kUiTimeoutMs * 3)) {
        seen = L"the program did not answer";
        return false;
    }
    seen = result->second;
    return result->first;
}

// ---- expectations ----

bool ExpectText(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND control = Control(context, step, seen);
    std::wstring text;
    if (!control || !ReadSelfTestText(control, text))
        return false;
    seen = L"text \"" + text + L"\"";
    return text == Arg(step, 2);
}

bool ExpectEnabled(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND control = Control(context, step, seen);
    if (!control)
        return false;
    const bool enabled = IsWindowEnabled(control) != FALSE;
    seen = enabled ? L"enabled" : L"disabled";
    return enabled == Yes(step, 2);
}

bool ExpectChecked(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND control = Control(context, step, seen);
    DWORD_PTR state = 0;
    if (!control || !SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_NORMAL, kUiTimeoutMs, &state))
        return false;
    const bool checked = state == BST_CHECKED;
    seen = checked ? L"checked" : L"not checked";
    return checked == Yes(step, 2);
}

bool ExpectProgress(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND control = Control(context, step, seen);
    DWORD_PTR position = 0;
    if (!control || !SendMessageTimeoutW(control, PBM_GETPOS, 0, 0, SMTO_NORMAL, kUiTimeoutMs, &position))
        return false;
    seen = L"at " + std::to_wstring(position);
    return static_cast<int>(position) == Number(step, 2);
}

// A line that the control painted contains the text.
bool ExpectPainted(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND control = Control(context, step, seen);
    if (!control)
        return false;
    auto lines = std::make_shared<std::vector<std::wstring>>();
    if (!RunOnSelfTestUiThread([control, lines] { GetWinPaintedText(control, *lines); }, kUiTimeoutMs)) {
        seen = L"the program did not answer";
        return false;
    }
    seen = L"painted:";
    for (const std::wstring& line : *lines) {
        if (line.find(Arg(step, 2)) != std::wstring::npos)
            return true;
        seen += L" \"" + line + L"\"";
    }
    if (lines->empty())
        seen += L" nothing";
    return false;
}

bool ExpectPosition(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND window = Window(context, step, seen);
    RECT r = {};
    if (!window || !GetWindowRect(window, &r))
        return false;
    seen = L"at " + std::to_wstring(r.left) + L", " + std::to_wstring(r.top);
    return r.left == Number(step, 1) && r.top == Number(step, 2);
}

bool ExpectSameWindow(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    const std::wstring selector = Arg(step, 0);
    auto first = context.firstSeen.find(selector);
    HWND window = Window(context, step, seen);
    if (!window)
        return false;
    if (first == context.firstSeen.end()) {
        seen = L"\"" + selector + L"\" was not seen before";
        return false;
    }
    seen = L"another window than the first \"" + selector + L"\"";
    return window == first->second;
}

bool ExpectFile(SelfTestContext&, const SelfTestStep& step, std::wstring& seen)
{
    seen = L"no file " + Arg(step, 0);
    return FileExists(FullPath(Arg(step, 0)));
}

bool ExpectNoFile(SelfTestContext&, const SelfTestStep& step, std::wstring& seen)
{
    seen = L"the file " + Arg(step, 0) + L" exists";
    return !FileExists(FullPath(Arg(step, 0)));
}

bool ExpectSameFile(SelfTestContext&, const SelfTestStep& step, std::wstring& seen)
{
    std::string a, b;
    if (!ReadFile(FullPath(Arg(step, 0)), a) || !ReadFile(FullPath(Arg(step, 1)), b)) {
        seen = L"a file cannot be read";
        return false;
    }
    if (a == b)
        return true;
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    seen = L"sizes " + std::to_wstring(a.size()) + L" and " + std::to_wstring(b.size()) +
           L", first difference at byte " + std::to_wstring(at);
    return false;
}

bool DumpBounds(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND window = Window(context, step, seen);
    if (!window)
        return false;
    auto result = std::make_shared<std::pair<bool, std::wstring>>();
    const std::wstring path = FullPath(Arg(step, 1));
    if (!RunOnSelfTestUiThread(
            [window, path, result] { result->first = WriteSelfTestBounds(window, path, result->second); },
            kUiTimeoutMs)) {
        seen = L"the program did not answer";
        return false;
    }
    seen = result->second;
    return result->first;
}

bool Screenshot(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen)
{
    HWND window = Window(context, step, seen);
    if (!window)
        return false;
    auto result = std::make_shared<std::pair<bool, std::wstring>>();
    const std::wstring path = FullPath(Arg(step, 1));
    if (!RunOnSelfTestUiThread(
            [window, path, result] { result->first = WriteSelfTestScreenshot(window, path, result->second); },
            kUiTimeoutMs)) {
        seen = L"the program did not answer";
        return false;
    }
    seen = result->second;
    return result->first;
}

// The program is to end by itself: the exit handler completes this step.
bool ExpectExit(SelfTestContext&, const SelfTestStep&, std::wstring& seen)
{
    seen = L"the program is still running; " + DescribeSelfTestWindows();
    return false;
}

constexpr size_t kMany = 1000;

const SelfTestStepKind kStepKinds[] = {
    {"wait-window", 1, 1, WaitWindow},
    {"expect-no-window", 1, 1, ExpectNoWindow, true},
    {"click", 2, 2, Click},
    {"mouse-click", 2, 2, MouseClick},
    {"type", 3, 3, Type},
    {"key", 2, 2, Key},
    {"close", 1, 1, Close},
    {"move", 3, 3, Move},
    {"menu", 2, 2, Menu},
    {"drop", 3, kMany, Drop},
    {"ole-drop", 3, kMany, OleDrop},
    {"expect-text", 3, 3, ExpectText},
    {"expect-enabled", 3, 3, ExpectEnabled},
    {"expect-checked", 3, 3, ExpectChecked},
    {"expect-progress", 3, 3, ExpectProgress},
    {"expect-painted", 3, 3, ExpectPainted},
    {"expect-position", 3, 3, ExpectPosition},
    {"expect-same-window", 1, 1, ExpectSameWindow},
    {"expect-file", 1, 1, ExpectFile, true},
    {"expect-no-file", 1, 1, ExpectNoFile, true},
    {"expect-same-file", 2, 2, ExpectSameFile, true},
    {"dump-bounds", 2, 2, DumpBounds},
    {"screenshot", 2, 2, Screenshot},
    {"expect-exit", 0, 0, ExpectExit, true},
};

// Which arguments must be numbers, yes/no or key names, by kind.
bool ArgumentsWellFormed(const SelfTestStep& step)
{
    const std::string& kind = step.kind;
    const bool controlStep = kind == "click" || kind == "mouse-click" || kind == "type" || kind == "drop" ||
                             kind == "ole-drop" ||
                             (kind.rfind("expect-", 0) == 0 && step.args.size() == 3 && kind != "expect-position");
    if (controlStep && !IsControlArgument(step.args[1]))
        return false;
    if ((kind == "expect-enabled" || kind == "expect-checked") && step.args[2] != "yes" && step.args[2] != "no")
        return false;
    if (kind == "expect-progress" && !IsNumber(step.args[2]))
        return false;
    if ((kind == "move" || kind == "expect-position") && (!IsNumber(step.args[1]) || !IsNumber(step.args[2])))
        return false;
    if (kind == "key" && !FindKey(step.args[1]))
        return false;
    return true;
}

} // namespace

void SetSelfTestBaseDirectory(const std::wstring& directory)
{
    g_baseDirectory = directory;
}

const SelfTestStepKind* FindSelfTestStepKind(const std::string& name)
{
    for (const SelfTestStepKind& kind : kStepKinds)
        if (name == kind.name)
            return &kind;
    return nullptr;
}

bool CheckSelfTestSteps(const std::vector<SelfTestStep>& steps, std::string& error)
{
    for (const SelfTestStep& step : steps) {
        const std::string where = "line " + std::to_string(step.line) + ": ";
        const SelfTestStepKind* kind = FindSelfTestStepKind(step.kind);
        if (!kind) {
            error = where + "no step \"" + step.kind + "\"";
            return false;
        }
        if (step.args.size() < kind->minArgs || step.args.size() > kind->maxArgs) {
            error = where + "\"" + step.kind + "\" takes " + std::to_string(kind->minArgs) +
                    (kind->maxArgs == kind->minArgs ? "" : " or more") + " arguments";
            return false;
        }
        if (!ArgumentsWellFormed(step)) {
            error = where + "an id, number, yes/no or key name is not well formed";
            return false;
        }
    }
    // The program is to end by itself within the scenario; only checks
    // that hold after its end may follow.
    size_t last = steps.size();
    while (last > 0 && steps[last - 1].kind != "expect-exit" && FindSelfTestStepKind(steps[last - 1].kind)->afterExit)
        --last;
    if (last == 0 || steps[last - 1].kind != "expect-exit") {
        error = "the scenario does not end with expect-exit (and checks of files or windows gone)";
        return false;
    }
    return true;
}
