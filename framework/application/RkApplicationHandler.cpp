// The application's standard handler: commands and their states, the quit
// protocol (windows are asked to close one by one, and the program ends
// when the last one has gone), and the recent-files commands.
#include "framework/application/RecentFiles.h"
#include "framework/application/RkApplication.h"
#include "framework/application/RkFileMessage.h"
#include "framework/application/RkWindowList.h"
#include "framework/core/RkMessage.h"

CRkApplication::StandardHandler::StandardHandler(CRkApplication& application)
    : m_application(application), m_closeFrontFirst(application.GetCloseFrontFirst())
{
}

bool CRkApplication::StandardHandler::HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget&)
{
    CRkApplication& app = m_application;
    switch (message) {
    case kMsgCommand:
        return PerformCommand(payload);
    case kMsgCommandStatus:
        return ReportCommandState(payload);
    case kMsgCommandsChanged: {
        app.ReinstallMenuBar();
        // Every window shows its controls' states again.
        CRkWindowList& windows = app.GetWindowList();
        for (uint32_t i = 0; i < windows.GetCount(); ++i)
            if (IRkMessageTarget* window = windows.GetAt(i))
                window->HandleMessage(kMsgCommandsChanged, nullptr);
        return true;
    }
    case kMsgQuitRequest: {
        app.SetState(kAppQuitting);
        app.ReinstallMenuBar();
        if (IRkMessageTarget* window = PickWindow())
            app.PostMessageTo(window, kMsgCloseWindow, nullptr, 0);
        else if (CRkQuitMessage* quit = dynamic_cast<CRkQuitMessage*>(payload))
            quit->accepted = 1;
        return true;
    }
    case kMsgQuitIfNoWindow:
        // A running program whose windows are all hidden (a log window that
        // never showed) has nothing left for the user: it quits, and the
        // quit closes the hidden ones.
        if (app.GetWindowCount() == 0 || (app.GetState() == kAppRunning && !HasVisibleWindow()))
            app.Quit(0);
        return true;
    case kMsgCloseAllWindows:
        app.SetState(kAppClosingWindows);
        CloseNextWindow();
        return true;
    case kMsgWindowClosed:
        if (app.GetWindowCount() > 0) {
            if (app.GetState() == kAppClosingWindows || app.GetState() == kAppQuitting)
                CloseNextWindow();
            else if (app.GetState() == kAppRunning && !HasVisibleWindow())
                app.Quit(app.m_quitCode);
        } else if (app.GetState() != kAppEnded) {
            app.SetState(kAppQuitting);
            app.Quit(app.m_quitCode);
        }
        return true;
    case kMsgCloseRefused:
        app.SetState(kAppRunning);
        app.m_quitCode = 0;
        app.ReinstallMenuBar();
        return true;
    default:
        return false;
    }
}

bool CRkApplication::StandardHandler::PerformCommand(CRkMessage* payload)
{
    CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
    if (!command)
        return false;
    CRkApplication& app = m_application;
    uint32_t number = command->GetCommand();
    switch (number) {
    case kCmdQuit:
    case kCmdQuitItem:
        // Through Quit, so that the program also ends when no window is open.
        app.Quit(0);
        return true;
    case kCmdCloseAll:
        app.HandleMessage(kMsgCloseAllWindows, nullptr);
        return true;
    case kCmdClearRecentFiles:
        if (CRkRecentFileList* recent = app.GetRecentFiles())
            recent->Clear();
        app.HandleMessage(kMsgCommandsChanged, nullptr);
        return true;
    default:
        if (number >= kCmdRecentFile1 && number <= kCmdRecentFile10)
            return OpenRecentFile(number - kCmdRecentFile1);
        return false;
    }
}

bool CRkApplication::StandardHandler::ReportCommandState(CRkMessage* payload)
{
    CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
    if (!command)
        return false;
    CRkApplication& app = m_application;
    CRkRecentFileList* recent = app.GetRecentFiles();
    uint32_t number = command->GetCommand();
    switch (number) {
    case kCmdQuit:
    case kCmdQuitItem:
        command->SetEnabled(true);
        return true;
    case kCmdCloseAll:
        command->SetEnabled(app.GetWindowCount() > 0);
        return true;
    case kCmdRecentFilesMenu:
    case kCmdClearRecentFiles:
        command->SetEnabled(recent && recent->GetCount() > 0);
        return true;
    default:
        if (number >= kCmdRecentFile1 && number <= kCmdRecentFile10) {
            command->SetEnabled(true);
            return true;
        }
        return false;
    }
}

// Hands a recent file that still exists over as message 18; one that has
// gone is taken off the list.
bool CRkApplication::StandardHandler::OpenRecentFile(uint32_t index)
{
    CRkApplication& app = m_application;
    CRkRecentFileList* recent = app.GetRecentFiles();
    const CFile* file = recent ? recent->GetFile(index) : nullptr;
    if (!file)
        return true; // no such entry: nothing to open
    if (file->Exists()) {
        CRkFileMessage open(*file);
        app.HandleMessage(kMsgOpenFile, &open);
    } else {
        recent->Remove(index);
        app.HandleMessage(kMsgCommandsChanged, nullptr);
    }
    return true;
}

void CRkApplication::StandardHandler::CloseNextWindow()
{
    if (IRkMessageTarget* window = PickWindow())
        m_application.PostMessageTo(window, kMsgCloseWindow, nullptr, 0);
}

bool CRkApplication::StandardHandler::HasVisibleWindow() const
{
    return m_application.GetWindowList().GetVisibleCount() > 0;
}

IRkMessageTarget* CRkApplication::StandardHandler::PickWindow() const
{
    if (m_application.GetWindowCount() == 0)
        return nullptr;
    CRkWindowList& windows = m_application.GetWindowList();
    return m_closeFrontFirst ? windows.GetLast() : windows.GetFirst();
}
