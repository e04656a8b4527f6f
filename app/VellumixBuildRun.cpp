// The build chain: each step does one piece of the work on the head job
// and posts the next, so that the event loop runs in between.
#include <algorithm>
#include <memory>
#include <string>

#include "app/OutputNames.h"
#include "app/VellumixApplication.h"
#include "app/VellumixInfoDialog.h"
#include "app/VellumixWindow.h"
#include "book/BookInfo.h"
#include "book/BuildOptions.h"
#include "book/RecordNames.h"
#include "driver/BuildBook.h"
#include "framework/core/Prefs.h"
#include "framework/core/Report.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkMessage.h"
#include "framework/core/RkSystemImp.h"
#include "framework/text/LocalStrings.h"
#include "framework/ui/RkLogManager.h"
#include "framework/ui/RkProgressDialog.h"

namespace {

constexpr uint16_t kProgressDialogId = 301;
// Longest piece of a path shown in a message.
constexpr size_t kPathInMessage = 255;

// The progress dialog of a run; it tells the application when it goes, so
// that nothing refers to it afterwards.
class CVellumixProgressDialog : public CRkProgressDialog {
public:
    CVellumixProgressDialog(CVellumixApplication& app, CRkWindow* owner)
        : CRkProgressDialog(kProgressDialogId, FirstText(), &app, owner)
    {
    }
    // The application may be going itself (its windows go with it).
    ~CVellumixProgressDialog() override
    {
        if (CVellumixApplication* app = dynamic_cast<CVellumixApplication*>(CRkApplication::Get()))
            app->WindowGone(this);
    }

private:
    // "Building ..." until the first book's name is known.
    static CRkString FirstText()
    {
        const CRkString nothing;
        const CRkString* text = FormatLocalString(301, &nothing);
        return text ? CRkString(*text) : CRkString();
    }
};

std::string ShownPath(const CFile& file)
{
    CRkString path;
    file.GetPath(path);
    std::string shown = DeviceLatinText(path);
    if (shown.size() > kPathInMessage)
        shown.resize(kPathInMessage);
    return shown;
}

} // namespace

void CVellumixApplication::LoadSettings()
{
    struct Setting {
        const char* key;
        uint8_t& value;
    } settings[] = {
        {kPrefOverwrite, m_settings.overwrite},
        {kPrefPrompt, m_settings.prompt},
        {kPrefDictionary, m_settings.dictionary},
        {kPrefExcludePageTables, m_settings.excludePageTables},
    };
    for (Setting& setting : settings) {
        SetDefaultBool(setting.key, false);
        bool value = false;
        GetBool(setting.key, value);
        setting.value = value ? 1 : 0;
    }
}

void CVellumixApplication::BeginRun()
{
    m_running = true;
    ClearLog();
    if (!m_progress) {
        m_progress = new CVellumixProgressDialog(*this, m_mainWindow);
        if (const CRkString* title = GetLocalString(300))
            m_progress->SetTitle(*title);
        m_progress->ShowModal();
    }
    LoadSettings();
    Post(kMsgPrepareJob);
}

void CVellumixApplication::PrepareJob()
{
    if (m_queue.empty()) {
        Post(kMsgAdvance);
        return;
    }
    BuildJob& job = *m_queue.front();
    CRkString name;
    job.source->GetName(name);
    if (IsBookName(name)) {
        ReportError("The file \"%s\" is a book file, not a source.", ShownPath(*job.source).c_str());
        Post(kMsgAdvance);
        return;
    }
    if (!job.source->Exists() || job.source->IsDirectory()) {
        if (job.source->IsNameTooLong())
            ReportError("The input file \"%s\" could not be opened: its name is too long.",
                        ShownPath(*job.source).c_str());
        else
            ReportError("The input file \"%s\" could not be opened.", ShownPath(*job.source).c_str());
        Post(kMsgAdvance);
        return;
    }
    job.info = std::make_unique<CBookInfo>();
    char outName[32] = {};
    ReadBookInfo(*job.source, outName, *job.info);
    Post(job.info->title.IsEmpty() ? kMsgAskBookInfo : kMsgChooseOutput);
}

void CVellumixApplication::AskBookInfo()
{
    if (m_queue.empty() || !m_queue.front()->info) {
        Post(kMsgAdvance);
        return;
    }
    m_waitingForInfo = true;
    m_infoDialog = new CVellumixInfoDialog(*m_queue.front()->info, this, m_mainWindow);
    m_infoDialog->ShowModal();
}

// Only the dismissal of the dialog the run waits for counts. When that
// dialog went before its dismissal was handled, the file is skipped.
void CVellumixApplication::InfoDismissed(const CRkDialogDismissedMessage* dismissal)
{
    if (!m_waitingForInfo || !dismissal)
        return;
    CVellumixInfoDialog* dialog = m_infoDialog;
    bool live = dialog && dismissal->dialog == static_cast<IRkDialog*>(dialog);
    if (dialog && !live)
        return; // a stray dismissal: the live dialog is still open
    m_waitingForInfo = false;
    m_infoDialog = nullptr;
    bool confirmed = live && dismissal->button == kButtonOK && !m_queue.empty() && m_queue.front()->info;
    if (confirmed)
        *m_queue.front()->info = dialog->GetInfo();
    if (dialog)
        dialog->Destroy();
    Post(confirmed ? kMsgChooseOutput : kMsgAdvance);
}

void CVellumixApplication::ChooseOutput()
{
    if (m_queue.empty()) {
        Post(kMsgAdvance);
        return;
    }
    BuildJob* job = m_queue.front().get();
    CRkString sourceName;
    job->source->GetName(sourceName);
    job->output.reset(job->source->GetSibling(BookNameForSource(sourceName)));
    if (!job->output) {
        Post(kMsgAdvance);
        return;
    }
    if (!m_settings.overwrite) {
        CFile* free = FirstFreeBookFile(*job->output);
        if (!free) {
            ReportError("No free file name for \"%s\".", ShownPath(*job->output).c_str());
            Post(kMsgAdvance);
            return;
        }
        job->output.reset(free);
        Post(kMsgBuildJob);
        return;
    }
    if (m_settings.prompt && job->output->Exists()) {
        CRkString outputName;
        job->output->GetName(outputName);
        CRkString text(u"The file \"");
        text.Append(outputName);
        text.Append(u"\" exists. Do you want to overwrite it?");
        CRkGlobalVars* globals = CRkGlobalVars::Get();
        uint32_t answer = globals && globals->system
                              ? globals->system->ShowMessageBox(text, CRkString(), kMessageBoxOKCancel)
                              : kMessageBoxAnswerCancel;
        // The box may have let other messages run: the job must still be
        // the one asked about.
        bool same = !m_queue.empty() && m_queue.front().get() == job;
        Post(answer == kMessageBoxAnswerOK && same ? kMsgBuildJob : kMsgAdvance);
        return;
    }
    Post(kMsgBuildJob);
}

void CVellumixApplication::BuildHeadJob()
{
    if (!m_queue.empty()) {
        BuildJob& job = *m_queue.front();
        if (job.source && job.output && job.info) {
            if (m_progress) {
                CRkString outputName;
                job.output->GetName(outputName);
                if (const CRkString* text = FormatLocalString(301, &outputName))
                    m_progress->SetText(*text);
            }
            uint32_t options =
                (m_settings.dictionary ? Dictionary : 0u) | (m_settings.excludePageTables ? ExcludePageTables : 0u);
            BuildBook(job.source.get(), job.output.get(), job.info.get(), options);
        }
    }
    Post(kMsgAdvance);
}

void CVellumixApplication::Advance()
{
    if (!m_queue.empty()) {
        if (m_progress && m_jobCount != 0) {
            uint64_t percent = (uint64_t(m_queue.front()->index) + 1) * 100 / m_jobCount;
            m_progress->SetProgress(int32_t(std::min<uint64_t>(percent, 100)));
        }
        m_queue.pop_front();
    }
    Post(m_queue.empty() ? kMsgFinishRun : kMsgPrepareJob);
}

void CVellumixApplication::FinishRun()
{
    if (!m_queue.empty()) {
        // Files that joined after the last job was taken off: the run goes on.
        Post(kMsgPrepareJob);
        return;
    }
    if (m_progress) {
        CRkProgressDialog* progress = m_progress;
        m_progress = nullptr;
        progress->SetProgress(100);
        progress->Destroy();
    }
    EmptyQueue();
    m_jobCount = 0;
    m_running = false;
    RefreshCommands();
    if (m_quitWhenDone && GetState() <= kAppRunning)
        Quit(0);
}
