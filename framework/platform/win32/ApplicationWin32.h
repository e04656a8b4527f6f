// The event loop on Windows. Posted framework messages wait in the layer's
// own FIFO; one wake-up message (9990) at a time sits in the Windows queue
// of the hidden "LUMO_EMPTY_PANEL" window, so a full Windows queue or a lost
// window cannot lose a message: the FIFO keeps it, a timer retries the
// wake-up, and whatever is still queued at the end is deleted with the
// layer. Timers are Windows timers of the hidden window; key presses go
// through the shortcut tables of the windows bound to targets.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>

#include "framework/core/RkApplicationImp.h"
#include "framework/core/RkShortcutRouting.h"
#include "framework/core/RkString.h"
#include "framework/platform/win32/Win32Api.h"

class CRkWinApplicationImp : public IRkApplicationImp {
public:
    // The private window message that wakes the hidden window.
    static constexpr UINT kWakeMessage = 9990;

    // `instance` is the program's instance handle (null: the process's).
    CRkWinApplicationImp(IRkMessageTarget* application, HINSTANCE instance);
    CRkWinApplicationImp(const CRkWinApplicationImp&) = delete;
    CRkWinApplicationImp& operator=(const CRkWinApplicationImp&) = delete;
    ~CRkWinApplicationImp() override;

    // IRkApplicationImp
    void GetProgramPath(CRkString& out) const override;
    uint32_t Run() override;
    void Quit(uint32_t code) override;
    void StartTimer(uint32_t mode, uint32_t interval, uint16_t id) override;
    void StopTimer(uint16_t id) override;
    void Post(uint16_t message, CRkMessage* payload, uint32_t flags) override;
    void PostTo(IRkMessageTarget* target, uint16_t message, CRkMessage* payload, uint32_t flags) override;
    void StartTimerFor(IRkMessageTarget* target, uint32_t mode, uint32_t interval, uint16_t id) override;
    void StopTimerFor(IRkMessageTarget* target, uint16_t id) override;
    void ForgetTarget(IRkMessageTarget* target) override;
    void SetShortcutTable(IRkMessageTarget* target, const CRkShortcutTable* table) override;
    void SetContainer(IRkMessageTarget* target, IRkMessageTarget* container) override;

    // The window that shows `target` (null removes the binding): a key
    // pressed in it, or in a window inside it, is looked up in the target's
    // shortcut table.
    void BindWindow(HWND window, IRkMessageTarget* target);

    HWND GetHiddenWindow() const { return m_window; }
    uint32_t GetPendingCount() const { return uint32_t(m_queue.size()); }
    uint32_t GetTimerCount() const { return uint32_t(m_timers.size()); }

private:
    enum class EntryKind { Message, Quit };
    struct Entry {
        EntryKind kind;
        IRkMessageTarget* target;
        uint16_t message;
        uint32_t code;
        std::unique_ptr<CRkMessage> payload;
    };
    struct Timer {
        IRkMessageTarget* target;
        uint16_t id;
        uint32_t mode;
        uint32_t interval;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateHiddenWindow();
    // Puts the one wake-up message in the Windows queue when none is there
    // and something waits; when posting fails the retry timer runs.
    void Wake();
    void DeliverNext();
    void FireTimer(UINT_PTR key);
    // A key message of the loop: true when a shortcut took it.
    bool TranslateShortcut(const MSG& msg);
    IRkMessageTarget* TargetOfWindow(HWND window) const;
    UINT_PTR FindTimerKey(IRkMessageTarget* target, uint16_t id) const;

    IRkMessageTarget* m_application;
    HINSTANCE m_instance;
    bool m_oleInitialized = false;
    CRkString m_programPath;
    HWND m_window = nullptr;
    std::deque<Entry> m_queue;
    bool m_wakePending = false;  // a wake-up message is in the Windows queue
    bool m_retryRunning = false; // the retry timer is set
    bool m_quitReached = false;  // the quit entry was delivered; the rest waits
    // The three tables: timers by their Windows key, shortcut tables and
    // containers by target, and the windows bound to targets.
    std::map<UINT_PTR, Timer> m_timers;
    UINT_PTR m_nextTimerKey;
    CRkShortcutRouting m_shortcuts;
    std::map<HWND, IRkMessageTarget*> m_windows;
};
