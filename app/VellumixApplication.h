// The program's application object: it opens the main window, takes files
// from the window, the open dialog and the command line, and builds them
// one after the other in a chain of messages it posts to itself (54 to 61),
// so that the windows stay alive between the steps.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <deque>
#include <memory>

#include "app/BuildJob.h"
#include "framework/application/RkApplication.h"
#include "framework/core/RkMessageNumbers.h"
#include "framework/core/RkString.h"

class CRkDialogDismissedMessage;
class CRkFileMessage;
class CRkProgressDialog;
class CRkWindow;
class CVellumixInfoDialog;
class CVellumixWindow;

// The build chain's messages.
enum : uint16_t {
    kMsgBeginRun = 54,
    kMsgPrepareJob = 55,
    kMsgAskBookInfo = 56,
    kMsgChooseOutput = 57,
    kMsgBuildJob = 58,
    kMsgAdvance = 59,
    kMsgFinishRun = 60,
    kMsgInfoDismissed = 61,
};

class CVellumixApplication : public CRkApplication, public IRkMessageHandler {
public:
    explicit CVellumixApplication(void* startup = nullptr);
    // Puts the standard report hooks back first, then empties the queue and
    // closes the log.
    ~CVellumixApplication() override;

    // "APPL".
    uint32_t GetTypeCode() const override;
    // The framework's services, the log manager behind the application's
    // own report hooks, the menu bar and the application's handler.
    bool Initialize() override;
    const CRkString& GetDisplayName() const { return m_displayName; }

    // IRkMessageHandler
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override;
    using CRkApplication::HandleMessage;

    // An error was reported while the program ran: the process then ends
    // with exit code 1.
    bool HadError() const { return m_errorReported; }

    // The windows the application keeps pointers to tell it when they go.
    void WindowGone(CRkWindow* window);

private:
    static int32_t ErrorHook(const char* format, va_list args);
    static int32_t WarningHook(const char* format, va_list args);
    static CVellumixApplication* Running();

    void BuildMenuBar();
    bool PerformCommand(CRkMessage* payload);
    bool ReportCommandState(CRkMessage* payload);
    void ShowMainWindow();
    void AddJob(const CRkFileMessage& message);
    void EmptyQueue();
    bool IsBusy() const { return !m_queue.empty() || m_running; }
    void RefreshCommands() { CRkApplication::HandleMessage(kMsgCommandsChanged, nullptr); }
    void Post(uint16_t message) { PostMessage(message, nullptr, 0); }

    // The steps of the build chain.
    void BeginRun();
    void PrepareJob();
    void AskBookInfo();
    void InfoDismissed(const CRkDialogDismissedMessage* dismissal);
    void ChooseOutput();
    void BuildHeadJob();
    void Advance();
    void FinishRun();
    void LoadSettings();

    uint8_t m_quitWhenDone = 1;
    BuildSettings m_settings;
    uint32_t m_jobCount = 0;
    std::deque<std::unique_ptr<BuildJob>> m_queue; // oldest first
    CRkString m_displayName;
    CRkProgressDialog* m_progress = nullptr;

    bool m_running = false;        // from posting 54 until 60
    bool m_waitingForInfo = false; // from 56 until its 61
    CVellumixInfoDialog* m_infoDialog = nullptr;
    CVellumixWindow* m_mainWindow = nullptr;
    bool m_errorReported = false;
};
