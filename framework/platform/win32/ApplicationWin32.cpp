#include "framework/platform/win32/ApplicationWin32.h"

#include <commctrl.h>
#include <ole2.h>

#include <utility>

#include "framework/core/RkMessage.h"
#include "framework/core/RkMessageNumbers.h"
#include "framework/core/RkMessageTarget.h"
#include "framework/core/RkShortcutTable.h"
#include "framework/platform/win32/Win32Keys.h"
#include "framework/platform/win32/Win32Platform.h"
#include "framework/platform/win32/Win32Text.h"

namespace {

const wchar_t kHiddenWindowClass[] = L"LUMO_EMPTY_PANEL";
const wchar_t kHiddenWindowTitle[] = L"LUMO_EMPTY_PANEL";

// The timer that retries a wake-up the Windows queue refused; the
// framework's timers use the keys above it.
constexpr UINT_PTR kRetryTimerKey = 1;
constexpr UINT kRetryInterval = 10;

bool RegisterHiddenWindowClass(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kHiddenWindowClass;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

CRkWinApplicationImp::CRkWinApplicationImp(IRkMessageTarget* application, HINSTANCE instance)
    : m_application(application),
      m_instance(instance ? instance : ::GetModuleHandleW(nullptr)),
      m_nextTimerKey(kRetryTimerKey + 1)
{
    m_oleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        AssignWide(m_programPath, path, n); // a longer path is not cut: it stays unknown
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);
    CreateHiddenWindow();
}

CRkWinApplicationImp::~CRkWinApplicationImp()
{
    m_queue.clear(); // undelivered payloads go with their entries
    if (m_window) {
        for (const auto& timer : m_timers)
            ::KillTimer(m_window, timer.first);
        HWND window = m_window;
        m_window = nullptr;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        ::DestroyWindow(window);
    }
    m_timers.clear();
    if (m_oleInitialized)
        ::OleUninitialize();
}

bool CRkWinApplicationImp::CreateHiddenWindow()
{
    if (!RegisterHiddenWindowClass(m_instance, &WindowProc))
        return false;
    HWND window = ::CreateWindowExW(0, kHiddenWindowClass, kHiddenWindowTitle, WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                    m_instance, nullptr);
    if (!window)
        return false;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // The UI layer's panels share the class name: whoever registered it,
    // this window answers through this layer's procedure.
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    m_window = window;
    m_wakePending = false;
    m_retryRunning = false;
    // Timers of a window that was lost are set again on the new one.
    for (const auto& timer : m_timers)
        ::SetTimer(m_window, timer.first, timer.second.interval, nullptr);
    return true;
}

LRESULT CALLBACK CRkWinApplicationImp::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CRkWinApplicationImp*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || self->m_window != window)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return self->HandleWindowMessage(message, wParam, lParam);
}

LRESULT CRkWinApplicationImp::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kWakeMessage:
        m_wakePending = false;
        DeliverNext();
        return 0;
    case WM_TIMER:
        if (wParam == kRetryTimerKey) {
            ::KillTimer(m_window, kRetryTimerKey);
            m_retryRunning = false;
            Wake();
        } else {
            FireTimer(wParam);
        }
        return 0;
    case WM_CLOSE:
        return 0; // the hidden window lives as long as the layer
    case WM_NCDESTROY: {
        // Destroyed from outside: the FIFO keeps what waits, and the next
        // wake-up makes a new window.
        HWND window = m_window;
        m_window = nullptr;
        m_wakePending = false;
        m_retryRunning = false;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        return ::DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void CRkWinApplicationImp::Wake()
{
    if (m_queue.empty() || m_quitReached || m_wakePending)
        return;
    if (!m_window && !CreateHiddenWindow())
        return; // nothing can be delivered; the FIFO still owns the entries
    if (::PostMessageW(m_window, kWakeMessage, 0, 0)) {
        m_wakePending = true;
        return;
    }
    // The Windows queue is full: a timer message needs no queue space.
    if (!m_retryRunning && ::SetTimer(m_window, kRetryTimerKey, kRetryInterval, nullptr))
        m_retryRunning = true;
}

void CRkWinApplicationImp::DeliverNext()
{
    if (m_queue.empty() || m_quitReached)
        return;
    Entry entry = std::move(m_queue.front());
    m_queue.pop_front();
    if (entry.kind == EntryKind::Quit) {
        // What was posted after the quit stays queued for a later Run, or
        // is deleted with the layer.
        m_quitReached = true;
        ::PostQuitMessage(int(entry.code));
        return;
    }
    // The next wake-up first, so that a handler running a modal loop does
    // not hold up the messages behind it.
    Wake();
    entry.target->HandleMessage(entry.message, entry.payload.get());
    // The payload is deleted with the entry, whoever took it.
}

void CRkWinApplicationImp::FireTimer(UINT_PTR key)
{
    auto found = m_timers.find(key);
    if (found == m_timers.end()) {
        ::KillTimer(m_window, key); // a stale Windows timer
        return;
    }
    if (m_quitReached)
        return;
    IRkMessageTarget* target = found->second.target;
    const uint16_t id = found->second.id;
    if (found->second.mode == kTimerOnce) {
        ::KillTimer(m_window, key);
        m_timers.erase(found);
    }
    target->HandleMessage(id, nullptr);
}

void CRkWinApplicationImp::GetProgramPath(CRkString& out) const
{
    out.Assign(m_programPath);
}

uint32_t CRkWinApplicationImp::Run()
{
    m_quitReached = false;
    Wake();
    MSG msg;
    uint32_t code = 0;
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            code = uint32_t(msg.wParam);
            break;
        }
        if (got == -1) {
            code = 1;
            break;
        }
        if (TranslateShortcut(msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    // A quit from elsewhere (PostQuitMessage of a dialog) ends the loop too.
    m_quitReached = true;
    return code;
}

void CRkWinApplicationImp::Quit(uint32_t code)
{
    CRkQuitMessage request;
    if (m_application)
        m_application->HandleMessage(kMsgQuitRequest, &request);
    if (!request.accepted)
        return; // windows are closing; the quit is asked for again later
    m_queue.push_back(Entry{EntryKind::Quit, nullptr, 0, code, nullptr});
    Wake();
}

void CRkWinApplicationImp::StartTimer(uint32_t mode, uint32_t interval, uint16_t id)
{
    StartTimerFor(m_application, mode, interval, id);
}

void CRkWinApplicationImp::StopTimer(uint16_t id)
{
    StopTimerFor(m_application, id);
}

void CRkWinApplicationImp::Post(uint16_t message, CRkMessage* payload, uint32_t flags)
{
    PostTo(m_application, message, payload, flags);
}

void CRkWinApplicationImp::PostTo(IRkMessageTarget* target, uint16_t message, CRkMessage* payload, uint32_t)
{
    std::unique_ptr<CRkMessage> owned(payload);
    if (!target)
        return; // nobody to deliver to: the payload goes now
    m_queue.push_back(Entry{EntryKind::Message, target, message, 0, std::move(owned)});
    Wake();
}

UINT_PTR CRkWinApplicationImp::FindTimerKey(IRkMessageTarget* target, uint16_t id) const
{
    for (const auto& timer : m_timers)
        if (timer.second.target == target && timer.second.id == id)
            return timer.first;
    return 0;
}

void CRkWinApplicationImp::StartTimerFor(IRkMessageTarget* target, uint32_t mode, uint32_t interval, uint16_t id)
{
    if (!target)
        return;
    if (interval == 0)
        interval = 1; // Windows raises it to its minimum
    UINT_PTR key = FindTimerKey(target, id);
    if (key == 0)
        key = m_nextTimerKey++;
    // Starting a running timer again restarts it with the new settings.
    m_timers[key] = Timer{target, id, mode, interval};
    if (m_window || CreateHiddenWindow())
        ::SetTimer(m_window, key, interval, nullptr);
}

void CRkWinApplicationImp::StopTimerFor(IRkMessageTarget* target, uint16_t id)
{
    const UINT_PTR key = FindTimerKey(target, id);
    if (key == 0)
        return;
    if (m_window)
        ::KillTimer(m_window, key);
    m_timers.erase(key);
}

void CRkWinApplicationImp::ForgetTarget(IRkMessageTarget* target)
{
    std::erase_if(m_queue, [target](const Entry& e) { return e.kind == EntryKind::Message && e.target == target; });
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->second.target == target) {
            if (m_window)
                ::KillTimer(m_window, it->first);
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
    m_shortcuts.Forget(target);
    std::erase_if(m_windows, [target](const auto& binding) { return binding.second == target; });
    if (target == m_application)
        m_application = nullptr;
}

void CRkWinApplicationImp::SetShortcutTable(IRkMessageTarget* target, const CRkShortcutTable* table)
{
    m_shortcuts.SetTable(target, table);
}

void CRkWinApplicationImp::SetContainer(IRkMessageTarget* target, IRkMessageTarget* container)
{
    m_shortcuts.SetContainer(target, container);
}

void CRkWinApplicationImp::BindWindow(HWND window, IRkMessageTarget* target)
{
    if (!window)
        return;
    if (target)
        m_windows[window] = target;
    else
        m_windows.erase(window);
}

IRkMessageTarget* CRkWinApplicationImp::TargetOfWindow(HWND window) const
{
    auto found = m_windows.find(window);
    return found != m_windows.end() ? found->second : nullptr;
}

bool CRkWinApplicationImp::TranslateShortcut(const MSG& msg)
{
    if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || !m_shortcuts.HasTables() || msg.wParam > 0xFF)
        return false;
    const uint16_t keyCode = FrameworkKeyCode(uint32_t(msg.wParam));
    if (keyCode == 0 || keyCode > 0xFF)
        return false;
    const uint8_t modifiers = CurrentKeyModifiers();
    // The window that got the key and the windows around it up to its
    // top-level window (not that window's owner: a dialog's keys are not
    // its owner's shortcuts), each with the targets that contain its target.
    for (HWND window = msg.hwnd; window;) {
        IRkMessageTarget* owner = nullptr;
        uint16_t command = 0;
        if (m_shortcuts.Find(TargetOfWindow(window), keyCode, modifiers, owner, command)) {
            PostTo(owner, kMsgCommand, CRkShortcutRouting::MakeCommand(command), 0);
            return true;
        }
        if ((::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0)
            break;
        window = ::GetParent(window);
    }
    return false;
}

IRkApplicationImp* CreateWin32ApplicationImp(IRkMessageTarget* application, void* startup)
{
    return new CRkWinApplicationImp(application, static_cast<HINSTANCE>(startup));
}
