// The framework's application object: the root message target, owner of
// the menu bar and of the list of open windows, and the one object that
// talks to the platform's event loop. A program derives its application
// from it.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/RkMessageTarget.h"
#include "framework/core/RkString.h"

class CFile;
class CRkMessageHandlerChain;
class CRkRecentFileList;
class CRkShortcutTable;
class CRkWindowList;
class IRkApplicationImp;
class IRkMenuBar;

// Application states.
enum : uint32_t {
    kAppStarting = 0,
    kAppRunning = 1,
    kAppClosingWindows = 2,
    kAppQuitting = 3,
    kAppEnded = 4,
};

class CRkApplication : public IRkMessageTarget {
public:
    // Takes messages 7 to 29: commands and their states, the quit protocol,
    // closing windows, the recent files.
    class StandardHandler : public IRkMessageHandler {
    public:
        explicit StandardHandler(CRkApplication& application);
        bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override;

    private:
        bool PerformCommand(CRkMessage* payload);
        bool ReportCommandState(CRkMessage* payload);
        bool OpenRecentFile(uint32_t index);
        void CloseNextWindow();
        IRkMessageTarget* PickWindow() const;
        bool HasVisibleWindow() const;

        CRkApplication& m_application;
        bool m_closeFrontFirst;
    };

    // Registers itself in the global variables (creating them when missing)
    // unless another application is registered already.
    CRkApplication(void* startup, const CRkString& name, const CRkString& version, uint32_t creator,
                   bool closeFrontFirst);
    CRkApplication(const CRkApplication&) = delete;
    CRkApplication& operator=(const CRkApplication&) = delete;
    ~CRkApplication() override;

    // IRkMessageTarget: handlers live in the application's chain; posting
    // goes to the platform's queue.
    void AddHandler(IRkMessageHandler* handler, bool owned) override;
    void RemoveHandler(IRkMessageHandler* handler) override;
    bool HandleMessage(uint16_t message, CRkMessage* payload) override;
    void PostMessage(uint16_t message, CRkMessage* payload, uint32_t flags) override;

    virtual const CRkString& GetName() const { return m_name; }
    virtual const CRkString& GetVersion() const { return m_version; }
    // Four characters, "TEXT" here.
    virtual uint32_t GetTypeCode() const;
    // Starts the framework's services; true once they run.
    virtual bool Initialize();

    // The registered application, or null.
    static CRkApplication* Get();

    uint32_t Run();
    void Quit(uint32_t code);
    uint32_t GetState() const { return m_state; }
    void SetState(uint32_t state) { m_state = state; }
    bool IsInitialized() const { return m_initialized != 0; }
    uint32_t GetCreator() const { return m_creator; }
    bool GetCloseFrontFirst() const { return m_closeFrontFirst != 0; }
    void* GetStartupData() const { return m_startup; }

    // Deletes the previous bar, keeps and installs the new one (may be null).
    void SetMenuBar(IRkMenuBar* bar);
    IRkMenuBar* GetMenuBar() const { return m_menuBar; }
    // Installs the current bar again so that menus show current states.
    void ReinstallMenuBar();

    // Created on first use.
    CRkWindowList& GetWindowList();
    uint32_t GetWindowCount() const;

    // Posts to any target through the platform's queue (windows use it).
    void PostMessageTo(IRkMessageTarget* target, uint16_t message, CRkMessage* payload, uint32_t flags);
    // A target about to die: its queued messages, timers and shortcuts go.
    void ForgetTarget(IRkMessageTarget* target);
    // A window's keyboard shortcuts (not owned; null removes them), and
    // where a target sits, so that keys in a control reach its window's table.
    void SetShortcutTable(IRkMessageTarget* target, const CRkShortcutTable* table);
    void SetContainer(IRkMessageTarget* target, IRkMessageTarget* container);

    // The application's timer delivers message 10; the forms with an id
    // deliver that number.
    void StartTimer(uint32_t mode, uint32_t interval);
    void StopTimer();
    void StartTimer(uint32_t mode, uint32_t interval, uint16_t id);
    void StopTimer(uint16_t id);

    IRkApplicationImp* GetImp() const { return m_imp; }
    // The running program's file (owned by the caller), null when unknown.
    CFile* GetProgramFile() const;
    // Null before Initialize.
    CRkRecentFileList* GetRecentFiles() const { return m_recentFiles.get(); }

private:
    uint32_t m_state = kAppStarting;
    IRkMenuBar* m_menuBar = nullptr;
    CRkString m_name;
    uint32_t m_creator;
    IRkApplicationImp* m_imp = nullptr;
    CRkWindowList* m_windows = nullptr;
    CRkMessageHandlerChain* m_chain = nullptr;
    void* m_startup;
    uint8_t m_closeFrontFirst;
    CRkString m_version;
    uint32_t m_initialized = 0;

    std::unique_ptr<CRkRecentFileList> m_recentFiles;
    uint32_t m_quitCode = 0; // the code of the quit under way
};
