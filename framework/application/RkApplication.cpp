#include "framework/application/RkApplication.h"

#include "framework/application/PlatformBinding.h"
#include "framework/application/RecentFiles.h"
#include "framework/application/RkMenuBarHost.h"
#include "framework/application/RkServiceCreators.h"
#include "framework/application/RkWindowList.h"
#include "framework/core/Prefs.h"
#include "framework/core/RkApplicationImp.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkMessage.h"
#include "framework/core/RkMessageHandlerChain.h"
#include "framework/core/RkSystemImp.h"
#include "framework/core/TypeFactory.h"
#include "framework/io/File.h"
#include "framework/text/LocalStrings.h"

namespace {

void CreateService(CRkServiceKind kind, CRkGlobalService& slot)
{
    if (CRkServiceCreator create = GetServiceCreator(kind)) {
        slot.Reset();
        create(slot);
    }
}

// The localized strings of the user's language: the preference decides,
// the system's language when it asks for the automatic choice.
void CreateLocalStrings(CRkGlobalVars& globals)
{
    globals.localStrings.Reset();
    uint32_t language = globals.system ? globals.system->GetPreferredLanguage() : kLanguageEnglish;
    char16_t newline = globals.system && globals.system->IsWindows() ? u'\r' : u'\n';
    if (!CreateLocalStringManager(language, newline, &FindPlatformStringResource))
        return; // a manager made outside the application stays its maker's
    globals.localStrings.object = GetLocalStringManager();
    globals.localStrings.destroy = [](void*) { DeleteLocalStringManager(); };
}

} // namespace

CRkApplication::CRkApplication(void* startup, const CRkString& name, const CRkString& version, uint32_t creator,
                               bool closeFrontFirst)
    : m_name(name),
      m_creator(creator),
      m_startup(startup),
      m_closeFrontFirst(closeFrontFirst ? 1 : 0),
      m_version(version)
{
    m_chain = new CRkMessageHandlerChain();
    m_imp = CreateApplicationImp(this, startup);
    m_chain->AddHandler(new StandardHandler(*this), true);
    CRkGlobalVars* globals = CRkGlobalVars::Create();
    if (!globals->application)
        globals->application = this;
}

CRkApplication::~CRkApplication()
{
    m_state = kAppEnded;
    // Windows still open go first, directly: nothing is dispatched any more.
    while (m_windows && !m_windows->IsEmpty()) {
        IRkMessageTarget* window = m_windows->GetLast();
        m_windows->Remove(window);
        delete window;
    }
    delete m_chain;
    m_chain = nullptr;
    SetMenuBar(nullptr);
    // Payloads still queued may hold windows that forget themselves as they
    // go: the loop is out of reach by then.
    IRkApplicationImp* imp = m_imp;
    m_imp = nullptr;
    delete imp;
    delete m_windows;
    m_windows = nullptr;

    CRkGlobalVars* globals = CRkGlobalVars::Get();
    bool registered = globals && globals->application == this;
    if (m_initialized && registered) {
        m_recentFiles->Save();
        m_recentFiles.reset();
        globals->clipboard.Reset();
        globals->localStrings.Reset();
        ClosePrefs();
        globals->preferences = nullptr;
        delete globals->system;
        globals->system = nullptr;
        globals->fileNames.Reset();
        if (globals->typeFactories)
            globals->typeFactories->Clear();
    }
    if (registered) {
        globals->application = nullptr;
        CRkGlobalVars::Destroy();
    }
}

void CRkApplication::AddHandler(IRkMessageHandler* handler, bool owned)
{
    m_chain->AddHandler(handler, owned);
}

void CRkApplication::RemoveHandler(IRkMessageHandler* handler)
{
    m_chain->RemoveHandler(handler);
}

bool CRkApplication::HandleMessage(uint16_t message, CRkMessage* payload)
{
    return m_chain ? m_chain->HandleMessage(message, payload) : false;
}

void CRkApplication::PostMessage(uint16_t message, CRkMessage* payload, uint32_t flags)
{
    if (m_imp)
        m_imp->Post(message, payload, flags);
    else
        delete payload;
}

uint32_t CRkApplication::GetTypeCode() const
{
    return FourCC("TEXT");
}

bool CRkApplication::Initialize()
{
    CRkGlobalVars* globals = CRkGlobalVars::Get();
    if (m_initialized || !globals || globals->application != this)
        return m_initialized != 0; // the services belong to the registered application
    m_state = kAppStarting;
    RegisterTypeFactory(new CRkCoreTypeFactory());
    if (!globals->system)
        globals->system = CreateSystemImp();
    if (!m_name.IsEmpty() && !GetPrefsImp()) {
        IPrefsImp* store = CreatePrefsImp(m_name);
        if (store && !InstallPrefs(store))
            delete store;
    }
    globals->preferences = GetPrefsImp();
    CreateLocalStrings(*globals);
    CreateService(CRkServiceKind::FileNames, globals->fileNames);
    CreateService(CRkServiceKind::Clipboard, globals->clipboard);
    m_recentFiles = std::make_unique<CRkRecentFileList>();
    m_recentFiles->Load();
    m_initialized = 1;
    return true;
}

CRkApplication* CRkApplication::Get()
{
    CRkGlobalVars* globals = CRkGlobalVars::Get();
    return globals ? globals->application : nullptr;
}

uint32_t CRkApplication::Run()
{
    m_state = kAppRunning;
    uint32_t code = m_imp->Run();
    m_state = kAppEnded;
    return code;
}

void CRkApplication::Quit(uint32_t code)
{
    m_quitCode = code;
    m_imp->Quit(code);
}

void CRkApplication::SetMenuBar(IRkMenuBar* bar)
{
    if (bar == m_menuBar)
        return;
    if (m_menuBar) {
        m_menuBar->Uninstall();
        delete m_menuBar;
    }
    m_menuBar = bar;
    if (m_menuBar)
        m_menuBar->Install();
}

void CRkApplication::ReinstallMenuBar()
{
    if (m_menuBar)
        m_menuBar->Install();
}

CRkWindowList& CRkApplication::GetWindowList()
{
    if (!m_windows)
        m_windows = new CRkWindowList();
    return *m_windows;
}

uint32_t CRkApplication::GetWindowCount() const
{
    return m_windows ? m_windows->GetCount() : 0;
}

void CRkApplication::PostMessageTo(IRkMessageTarget* target, uint16_t message, CRkMessage* payload, uint32_t flags)
{
    if (m_imp)
        m_imp->PostTo(target, message, payload, flags);
    else
        delete payload;
}

void CRkApplication::ForgetTarget(IRkMessageTarget* target)
{
    if (m_imp)
        m_imp->ForgetTarget(target);
}

void CRkApplication::SetShortcutTable(IRkMessageTarget* target, const CRkShortcutTable* table)
{
    if (m_imp)
        m_imp->SetShortcutTable(target, table);
}

void CRkApplication::SetContainer(IRkMessageTarget* target, IRkMessageTarget* container)
{
    if (m_imp)
        m_imp->SetContainer(target, container);
}

void CRkApplication::StartTimer(uint32_t mode, uint32_t interval)
{
    StartTimer(mode, interval, kMsgApplicationTimer);
}

void CRkApplication::StopTimer()
{
    StopTimer(kMsgApplicationTimer);
}

void CRkApplication::StartTimer(uint32_t mode, uint32_t interval, uint16_t id)
{
    m_imp->StartTimer(mode, interval, id);
}

void CRkApplication::StopTimer(uint16_t id)
{
    m_imp->StopTimer(id);
}

CFile* CRkApplication::GetProgramFile() const
{
    CRkString path;
    m_imp->GetProgramPath(path);
    if (path.IsEmpty())
        return nullptr;
    return new CFile(path);
}
