// The process-wide singleton in which the framework keeps its shared
// services. Created before the application, deleted by the application's
// destructor. The report hooks and the batch flag live with the report
// functions (Report.h); the accessors here reach them.
#pragma once

#include <cstdint>

#include "framework/core/Report.h"

class CRkApplication;
class CRkTypeFactoryChain;
class IPrefsImp;
class IRkSystemImp;

// A service that the framework holds but does not know the type of
// (clipboard, localized strings, ...): the object and how to destroy it.
struct CRkGlobalService {
    void* object = nullptr;
    void (*destroy)(void* object) = nullptr;

    // Destroys the object (when there is one) and empties the slot.
    void Reset();
};

class CRkGlobalVars {
public:
    // Creates the singleton when there is none; returns it either way.
    static CRkGlobalVars* Create();
    // The singleton, or null.
    static CRkGlobalVars* Get();
    // Deletes the singleton (services still held are destroyed) and puts the
    // standard report hooks back.
    static void Destroy();

    CRkGlobalVars(const CRkGlobalVars&) = delete;
    CRkGlobalVars& operator=(const CRkGlobalVars&) = delete;

    CRkApplication* application = nullptr; // not owned
    IPrefsImp* preferences = nullptr;      // the open store, owned by the application
    IRkSystemImp* system = nullptr;        // owned by the application
    // The process's type factories and the serial counter of written
    // objects: attached to the type factory code while the globals live.
    CRkTypeFactoryChain* typeFactories = nullptr;
    uint32_t serialNumber = 0;
    // The modal dialogs that exist now.
    uint32_t modalDialogCount = 0;

    CRkGlobalService clipboard;
    CRkGlobalService localStrings;
    CRkGlobalService fileNames;
    CRkGlobalService fontCache;
    CRkGlobalService windowCache;
    CRkGlobalService dragTypes; // the drag type names registered so far

    static bool GetBatchMode() { return batchMode; }
    static void SetBatchMode(bool on) { batchMode = on; }
    static ReportHook GetErrorHook() { return ::GetErrorHook(); }
    static ReportHook GetWarningHook() { return ::GetWarningHook(); }
    static ReportHook GetStatusHook() { return ::GetStatusHook(); }

private:
    CRkGlobalVars();
    ~CRkGlobalVars();
};
