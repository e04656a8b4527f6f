#include "app/VellumixApplication.h"

#include <vector>

#include "app/VellumixCommandLine.h"
#include "app/VellumixInfoDialog.h"
#include "app/VellumixWindow.h"
#include "framework/application/RkCommandLine.h"
#include "framework/application/RkFileMessage.h"
#include "framework/core/Report.h"
#include "framework/core/RkMessage.h"
#include "framework/io/File.h"
#include "framework/text/LocalStrings.h"
#include "framework/ui/RkComponentImp.h"
#include "framework/ui/RkFileDialog.h"
#include "framework/ui/RkLogManager.h"
#include "framework/ui/RkMenuBar.h"
#include "framework/ui/RkProgressDialog.h"

namespace {

CRkString Local(uint32_t id)
{
    const CRkString* text = GetLocalString(id);
    return text ? CRkString(*text) : CRkString();
}

} // namespace

CVellumixApplication::CVellumixApplication(void* startup)
    : CRkApplication(startup, CRkString(u"Vellumix"), CRkString(u"1.6.0"), FourCC("VxAp"), false),
      m_displayName(u"Vellumix")
{
}

CVellumixApplication::~CVellumixApplication()
{
    // A report from here on must reach nothing that is going away.
    ResetReportHooks();
    RemoveHandler(this);
    SetState(kAppEnded);
    EmptyQueue();
    m_jobCount = 0;
    CloseLog();
}

uint32_t CVellumixApplication::GetTypeCode() const
{
    return FourCC("APPL");
}

bool CVellumixApplication::Initialize()
{
    if (IsInitialized())
        return true;
    if (!CRkApplication::Initialize())
        return false;
    InstallLogManager();
    SetErrorHook(ErrorHook);
    SetWarningHook(WarningHook);
    BuildMenuBar();
    AddHandler(this, false);
    RefreshCommands();
    return true;
}

CVellumixApplication* CVellumixApplication::Running()
{
    return dynamic_cast<CVellumixApplication*>(CRkApplication::Get());
}

// Errors and warnings keep the program open after its builds; an error
// also makes the exit code 1.
int32_t CVellumixApplication::ErrorHook(const char* format, va_list args)
{
    if (CVellumixApplication* app = Running()) {
        app->m_quitWhenDone = 0;
        app->m_errorReported = true;
    }
    return LogManagerErrorHook(format, args);
}

int32_t CVellumixApplication::WarningHook(const char* format, va_list args)
{
    if (CVellumixApplication* app = Running())
        app->m_quitWhenDone = 0;
    return LogManagerWarningHook(format, args);
}

void CVellumixApplication::BuildMenuBar()
{
    CRkMenuBar* bar = new CRkMenuBar();
    uint32_t file = bar->AddMenu(kCmdFileMenu, Local(107));
    bar->AddItem(file, kCmdOpen, Local(109), u'O', kKeyModifierCtrl);
    bar->AddItem(file, kCmdClose, Local(112), u'W', kKeyModifierCtrl);
    bar->AddSeparator(file);
    bar->AddItem(file, kCmdQuitItem, Local(121), u'Q', kKeyModifierCtrl);
    uint32_t edit = bar->AddMenu(kCmdEditMenu, Local(123));
    bar->AddItem(edit, kCmdUndo, Local(124), u'Z', kKeyModifierCtrl);
    bar->AddSeparator(edit);
    bar->AddItem(edit, kCmdCut, Local(126), u'X', kKeyModifierCtrl);
    bar->AddItem(edit, kCmdCopy, Local(127), u'C', kKeyModifierCtrl);
    bar->AddItem(edit, kCmdPaste, Local(128), u'V', kKeyModifierCtrl);
    bar->AddItem(edit, kCmdDelete, Local(129), kKeyDelete, 0);
    bar->AddSeparator(edit);
    bar->AddItem(edit, kCmdPreferences, Local(132), u';', kKeyModifierCtrl);
    SetMenuBar(bar);
}

bool CVellumixApplication::HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget&)
{
    switch (message) {
    case kMsgCommand:
        return PerformCommand(payload);
    case kMsgCommandStatus:
        return ReportCommandState(payload);
    case kMsgQuitRequest:
        // The files still queued are skipped; the windows then close as
        // usual (the standard handler goes on with the request).
        EmptyQueue();
        return false;
    case kMsgStarted:
        DoCommand(kCmdPreferences);
        return true;
    case kMsgStartedWithoutFiles:
        m_quitWhenDone = 0;
        return true;
    case kMsgCommandLine:
        if (CRkCommandLineMessage* line = dynamic_cast<CRkCommandLineMessage*>(payload)) {
            if (line->GetCommandLine())
                line->GetCommandLine()->Process();
        }
        return true;
    case kMsgOpenFile:
        if (CRkFileMessage* file = dynamic_cast<CRkFileMessage*>(payload))
            AddJob(*file);
        return true;
    case kMsgBeginRun:
        BeginRun();
        return true;
    case kMsgPrepareJob:
        PrepareJob();
        return true;
    case kMsgAskBookInfo:
        AskBookInfo();
        return true;
    case kMsgChooseOutput:
        ChooseOutput();
        return true;
    case kMsgBuildJob:
        BuildHeadJob();
        return true;
    case kMsgAdvance:
        Advance();
        return true;
    case kMsgFinishRun:
        FinishRun();
        return true;
    case kMsgInfoDismissed:
        InfoDismissed(dynamic_cast<CRkDialogDismissedMessage*>(payload));
        return true;
    default:
        return false;
    }
}

bool CVellumixApplication::PerformCommand(CRkMessage* payload)
{
    CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
    if (!command)
        return false;
    switch (command->GetCommand()) {
    case kCmdOpen: {
        const std::vector<RkFileType> types = {
            {CRkString(u"LML Files"), CRkString(u".lml")},
            {CRkString(u"Text Files"), CRkString(u".txt")},
        };
        RunFileDialog(kFileDialogOpen, Local(2), types, this, kMsgOpenFile, 0);
        return true;
    }
    case kCmdShowMainWindow:
    case kCmdPreferences:
        ShowMainWindow();
        return true;
    default:
        return false;
    }
}

bool CVellumixApplication::ReportCommandState(CRkMessage* payload)
{
    CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
    if (!command)
        return false;
    switch (command->GetCommand()) {
    case kCmdOpen:
    case kCmdShowMainWindow:
    case kCmdPreferences:
        command->SetEnabled(!IsBusy());
        return true;
    case kCmdFileMenu:
    case kCmdEditMenu:
        command->SetEnabled(true);
        return true;
    default:
        return false;
    }
}

void CVellumixApplication::ShowMainWindow()
{
    if (m_mainWindow) {
        m_mainWindow->BringToFront();
        return;
    }
    m_mainWindow = new CVellumixWindow();
    m_mainWindow->Show();
}

void CVellumixApplication::WindowGone(CRkWindow* window)
{
    if (window == m_mainWindow)
        m_mainWindow = nullptr;
    if (window == m_progress)
        m_progress = nullptr;
    if (window == m_infoDialog)
        m_infoDialog = nullptr;
}

// A batch that arrives while a run goes on joins it: its jobs continue the
// count, and no second run starts.
void CVellumixApplication::AddJob(const CRkFileMessage& message)
{
    if (message.GetIndex() == 0 && !m_running)
        m_jobCount = 0;
    auto job = std::make_unique<BuildJob>();
    job->index = m_jobCount++;
    job->source = std::make_unique<CFile>(message.GetFile());
    m_queue.push_back(std::move(job));
    if (message.IsLastOfBatch() && !m_running) {
        m_running = true;
        Post(kMsgBeginRun);
    }
    RefreshCommands();
}

void CVellumixApplication::EmptyQueue()
{
    m_queue.clear();
}
