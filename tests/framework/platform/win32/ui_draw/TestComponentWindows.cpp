#include "TestComponentWindows.h"

#include <algorithm>
#include <utility>

#include "framework/core/RkMessageTarget.h"
#include "framework/platform/win32/ui/WinGraphics.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/ui/RkGraphicsImp.h"

namespace {

std::vector<std::pair<HWND, IRkComponentHost*>>& Hosts()
{
    static std::vector<std::pair<HWND, IRkComponentHost*>> hosts;
    return hosts;
}

HWND g_activeWindow = nullptr;

class NullTarget : public IRkMessageTarget {
public:
    void AddHandler(IRkMessageHandler*, bool) override {}
    void RemoveHandler(IRkMessageHandler*) override {}
    bool HandleMessage(uint16_t, CRkMessage*) override { return false; }
    void PostMessage(uint16_t, CRkMessage* payload, uint32_t) override { delete payload; }
};

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        if (IRkComponentHost* host = FindWinComponentHost(window)) {
            PaintWinComponent(window, *host);
            return 0;
        }
        break;
    case WM_DROPFILES:
        HandleWinDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_NCDESTROY:
        ForgetWinComponentWindow(window);
        SetTestWindowHost(window, nullptr);
        break;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

const IRkFontImp& TestComponentImp::GetFont() const
{
    return GetWinFont(kFontWindow);
}

IRkMessageTarget& TestHost::GetMessageTarget()
{
    static NullTarget target;
    return target;
}

void TestHost::OnDrag(uint16_t message, CRkDrag& drag)
{
    Drag seen{message, {}};
    for (const RkDragItem& item : drag.GetItems())
        seen.files.emplace_back(item.path.GetChars(), item.path.GetLength());
    drags.push_back(std::move(seen));
    drag.SetAccepted(accept && !drag.GetItems().empty());
}

void SetTestWindowHost(HWND window, IRkComponentHost* host)
{
    auto& hosts = Hosts();
    std::erase_if(hosts, [window](const auto& entry) { return entry.first == window; });
    if (host)
        hosts.emplace_back(window, host);
}

void SetTestActiveWindow(HWND window)
{
    g_activeWindow = window;
}

HWND CreateTestWindow(int width, int height)
{
    static const wchar_t* className = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VxTestPaintedWindow";
        windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        ::RegisterClassW(&windowClass);
        return L"VxTestPaintedWindow";
    }();
    RECT outer{0, 0, width, height};
    ::AdjustWindowRectEx(&outer, WS_POPUP, FALSE, 0);
    HWND window = ::CreateWindowExW(0, className, L"Painted", WS_POPUP | WS_VISIBLE, 40, 40, outer.right - outer.left,
                                    outer.bottom - outer.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    PumpMessages();
    return window;
}

void PumpMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// The three functions the component windows provide.
HWND GetWinComponentHandle(const IRkComponentImp& component)
{
    const auto* test = dynamic_cast<const TestComponentImp*>(&component);
    return test ? test->window : nullptr;
}

IRkComponentHost* FindWinComponentHost(HWND window)
{
    for (const auto& [known, host] : Hosts())
        if (known == window)
            return host;
    return nullptr;
}

HWND GetActiveFrameworkWindow()
{
    return g_activeWindow;
}
