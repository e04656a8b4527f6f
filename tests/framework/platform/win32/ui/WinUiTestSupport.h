// A running framework application on the Win32 UI layer for tests: real
// windows and controls, a loop that runs until nothing is left to do (and
// fails rather than hangs), and a record of the messages the application
// hears.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/application/RkApplication.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkMessage.h"
#include "framework/platform/win32/ApplicationWin32.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/Win32Text.h"

// Passes everything on; records commands and the numbers of other messages.
class WinMessageRecorder : public IRkMessageHandler {
public:
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        if (message == kMsgCommand) {
            if (auto* command = dynamic_cast<CRkCommand*>(payload))
                commands.push_back(command->GetCommand());
        } else if (message != kMsgCommandStatus) {
            messages.push_back(message);
        }
        if (onMessage && onMessage(message, payload))
            return true;
        return rest.HandleMessage(message, payload);
    }
    std::vector<uint32_t> commands;
    std::vector<uint16_t> messages;
    std::function<bool(uint16_t, CRkMessage*)> onMessage;
};

class WinUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app =
            std::make_unique<CRkApplication>(nullptr, CRkString(u"VxWinUiTest"), CRkString(u"1.0"), 0x54657374u, false);
        ASSERT_TRUE(app->Initialize());
        app->AddHandler(&recorder, false);
        app->SetState(kAppRunning);
    }
    void TearDown() override
    {
        if (app)
            app->RemoveHandler(&recorder);
        app.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Lumo\\VxWinUiTest");
    }

    CRkWinApplicationImp& Loop() { return *static_cast<CRkWinApplicationImp*>(app->GetImp()); }

    // Runs the real loop until it has nothing left to do (posted messages,
    // input, paints and the framework's queue all empty at two checks in a
    // row), at most `ms` milliseconds; false when it was still busy. The
    // checks are timer messages, which Windows hands out only when nothing
    // else waits.
    bool Settle(uint32_t ms = 3000)
    {
        m_idleRounds = 0;
        m_timedOut = false;
        m_deadline = ::GetTickCount() + ms;
        Loop().StartTimerFor(&m_stopper, kTimerOnce, 10, kProbe);
        Loop().Run();
        Loop().StopTimerFor(&m_stopper, kProbe);
        return !m_timedOut;
    }

    std::unique_ptr<CRkApplication> app;
    WinMessageRecorder recorder;

private:
    static constexpr uint16_t kProbe = 9101;

    class Stopper : public IRkMessageTarget {
    public:
        explicit Stopper(WinUiTest& test) : m_test(test) {}
        void AddHandler(IRkMessageHandler*, bool) override {}
        void RemoveHandler(IRkMessageHandler*) override {}
        void PostMessage(uint16_t, CRkMessage* payload, uint32_t) override { delete payload; }
        bool HandleMessage(uint16_t message, CRkMessage*) override
        {
            if (message != kProbe)
                return false;
            if (int32_t(::GetTickCount() - m_test.m_deadline) > 0) {
                m_test.m_timedOut = true;
                ::PostQuitMessage(0);
                return true;
            }
            MSG pending;
            const bool busy = m_test.Loop().GetPendingCount() > 0 ||
                              ::PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE | PM_QS_POSTMESSAGE | PM_QS_INPUT);
            m_test.m_idleRounds = busy ? 0 : m_test.m_idleRounds + 1;
            if (m_test.m_idleRounds >= 2)
                ::PostQuitMessage(0);
            else
                m_test.Loop().StartTimerFor(this, kTimerOnce, 10, kProbe);
            return true;
        }

    private:
        WinUiTest& m_test;
    };

    Stopper m_stopper{*this};
    int m_idleRounds = 0;
    bool m_timedOut = false;
    DWORD m_deadline = 0;
};

inline std::wstring ClassOf(HWND window)
{
    wchar_t name[128] = {};
    ::GetClassNameW(window, name, 128);
    return name;
}

inline std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

inline RECT ClientRectOf(HWND window)
{
    RECT r{};
    ::GetClientRect(window, &r);
    return r;
}

// Holds Ctrl (or other keys) down in the thread's keyboard state while it
// lives, as GetKeyState reports them to the loop.
class HeldKeys {
public:
    explicit HeldKeys(std::vector<int> keys)
    {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        ::GetKeyboardState(state);
        for (int key : keys)
            state[key] = 0x80;
        ::SetKeyboardState(state);
    }
    ~HeldKeys() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};
