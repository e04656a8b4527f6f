#include "framework/platform/win32/selftest/WinSelfTestWindows.h"

#include <memory>
#include <vector>

namespace {

constexpr UINT kRunWork = WM_APP + 0x5e1f;
constexpr UINT kTextTimeoutMs = 2000;

HWND g_agent = nullptr;
DWORD g_uiThread = 0;

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK CollectShown(HWND window, LPARAM data)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM data)
{
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
    return TRUE;
}

std::vector<HWND> ShownTopWindows()
{
    std::vector<HWND> windows;
    EnumWindows(CollectShown, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool IsMessageBoxWithText(HWND window, const std::wstring& text)
{
    if (ClassOf(window) != L"#32770")
        return false;
    for (HWND child : SelfTestDescendants(window)) {
        std::wstring shown;
        if (ClassOf(child) == L"Static" && ReadSelfTestText(child, shown) && shown.find(text) != std::wstring::npos)
            return true;
    }
    return false;
}

LRESULT CALLBACK AgentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunWork) {
        std::unique_ptr<std::shared_ptr<std::function<void()>>> work(
            reinterpret_cast<std::shared_ptr<std::function<void()>>*>(lParam));
        (**work)();
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

std::wstring SelfTestWide(const std::string& text)
{
    if (text.empty())
        return {};
    int count = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), count);
    return wide;
}

std::string SelfTestNarrow(const std::wstring& text)
{
    if (text.empty())
        return {};
    int count =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), count, nullptr, nullptr);
    return narrow;
}

std::vector<HWND> SelfTestDescendants(HWND window)
{
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

bool ReadSelfTestText(HWND window, std::wstring& text)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kTextTimeoutMs, &length))
        return false;
    std::vector<wchar_t> buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL,
                             kTextTimeoutMs, &copied))
        return false;
    text.assign(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
    return true;
}

HWND FindSelfTestControl(HWND window, int id)
{
    if (HWND direct = GetDlgItem(window, id))
        return direct;
    for (HWND child : SelfTestDescendants(window))
        if (GetDlgCtrlID(child) == id)
            return child;
    return nullptr;
}

HWND FindSelfTestWindow(const std::wstring& selector)
{
    const bool box = selector.rfind(L"box:", 0) == 0;
    std::wstring title = box ? selector.substr(4) : selector;
    int id = -1;
    size_t at = title.rfind(L'@');
    if (!box && at != std::wstring::npos && at + 1 < title.size() &&
        title.find_first_not_of(L"0123456789", at + 1) == std::wstring::npos) {
        id = std::stoi(title.substr(at + 1));
        title.resize(at);
    }
    for (HWND window : ShownTopWindows()) {
        if (box) {
            if (IsMessageBoxWithText(window, title))
                return window;
            continue;
        }
        std::wstring shown;
        if (!ReadSelfTestText(window, shown) || shown != title)
            continue;
        if (id < 0 || FindSelfTestControl(window, id))
            return window;
    }
    return nullptr;
}

std::wstring DescribeSelfTestWindows()
{
    std::wstring list;
    for (HWND window : ShownTopWindows()) {
        std::wstring title;
        if (!ReadSelfTestText(window, title))
            title = L"(busy)";
        list += (list.empty() ? L"\"" : L", \"") + title + L"\"";
    }
    return list.empty() ? L"no window shown" : L"shown: " + list;
}

void CreateSelfTestAgent()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = AgentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VxSelfTestAgent";
    RegisterClassW(&windowClass);
    g_agent = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
    g_uiThread = GetCurrentThreadId();
}

DWORD GetSelfTestUiThreadId()
{
    return g_uiThread;
}

bool RunOnSelfTestUiThread(const std::function<void()>& work, unsigned timeoutMs)
{
    if (!g_agent)
        return false;
    // The UI thread owns its copy: if the call times out, the work may
    // still run later without touching the driver's stack.
    auto* shared = new std::shared_ptr<std::function<void()>>(std::make_shared<std::function<void()>>(work));
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(g_agent, kRunWork, 0, reinterpret_cast<LPARAM>(shared), SMTO_NORMAL, timeoutMs, &result))
        return false; // the agent frees it when the message is handled
    return result == 1;
}
