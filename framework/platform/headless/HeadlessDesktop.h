// The headless desktop: everything a person would see or answer on a real
// one. The live windows in z-order and the active one, the message boxes
// and file dialogs shown with the answers queued for the next ones, the
// menu bars and the registered drag types. One per process; the UI
// platform, the windows and the system services all reach it through Get.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "framework/core/RkString.h"
#include "framework/ui/RkFileDialogImp.h"

class CRkHeadlessMenuBarImp;
class CRkHeadlessWindowImp;

// A message box as it was shown, and how it was answered.
struct RkMessageBoxRecord {
    CRkString text;
    CRkString caption;
    uint32_t buttons = 0; // kMessageBoxOK or kMessageBoxOKCancel
    uint32_t answer = 0;  // kMessageBoxAnswerOK or kMessageBoxAnswerCancel
};

// A file dialog as it was shown, and how it was answered.
struct RkFileDialogRecord {
    uint32_t kind = 0; // kFileDialogOpen or kFileDialogSave
    CRkString title;
    std::vector<RkFileFilter> filters;
    uint32_t preselected = 0;
    bool confirmed = false;
    CRkString path; // the chosen file when confirmed
};

class CRkHeadlessDesktop {
public:
    static CRkHeadlessDesktop& Get();

    // Forgets the boxes and dialogs shown, the queued answers and the drag
    // types registered (bar "File", which is always 3). Live windows and
    // menu bars stay: their owners still hold them.
    void Reset();

    // Windows, front first, hidden ones included.
    const std::vector<CRkHeadlessWindowImp*>& GetWindows() const { return m_windows; }
    std::vector<CRkHeadlessWindowImp*> GetVisibleWindows() const;
    CRkHeadlessWindowImp* GetActiveWindow() const { return m_active; }
    // The window's place in the z-order, 0 at the front; -1 when unknown.
    int32_t GetZIndex(const CRkHeadlessWindowImp* window) const;

    // Message boxes: answers are used in queuing order. With none queued an
    // OK-only box answers OK and an OK/Cancel box Cancel. An OK-only box has
    // no Cancel button: it answers OK whatever was queued (and uses the answer up).
    void QueueMessageBoxAnswer(uint32_t answer);
    uint32_t GetQueuedMessageBoxAnswers() const { return uint32_t(m_boxAnswers.size()); }
    const std::vector<RkMessageBoxRecord>& GetMessageBoxes() const { return m_boxes; }
    uint32_t ShowMessageBox(const CRkString& text, const CRkString& caption, uint32_t buttons);

    // File dialogs: a queued path confirms the next dialog with it, a queued
    // cancel cancels it; with nothing queued the dialog is cancelled.
    void QueueFileDialogAnswer(const CRkString& path);
    void QueueFileDialogCancel();
    uint32_t GetQueuedFileDialogAnswers() const { return uint32_t(m_dialogAnswers.size()); }
    const std::vector<RkFileDialogRecord>& GetFileDialogs() const { return m_dialogs; }
    bool RunFileDialog(uint32_t kind, const CRkString& title, const std::vector<RkFileFilter>& filters,
                       uint32_t preselected, CRkString& chosenPath);

    // Drag types: "File" is 3, further names count on from 4; a name
    // registered again keeps its number (compared with case).
    uint32_t RegisterDragType(const CRkString& name);
    // How many times RegisterDragType was called since the last Reset.
    uint32_t GetDragTypeRegistrations() const { return m_dragRegistrations; }

    // For the window and menu bar implementations.
    void AddWindow(CRkHeadlessWindowImp* window);
    void RemoveWindow(CRkHeadlessWindowImp* window);
    // Moves the window to the front, with the windows it owns above it.
    void Raise(CRkHeadlessWindowImp* window);
    // Makes the window the active one (null: none), telling both hosts.
    void Activate(CRkHeadlessWindowImp* window);
    // When `leaving` stops being eligible: the frontmost other visible
    // window becomes active, if `leaving` was.
    void ActivateNext(CRkHeadlessWindowImp* leaving);
    void AddMenuBar(CRkHeadlessMenuBarImp* menuBar);
    void RemoveMenuBar(CRkHeadlessMenuBarImp* menuBar);

private:
    CRkHeadlessDesktop();

    std::vector<CRkHeadlessWindowImp*> m_windows;
    CRkHeadlessWindowImp* m_active = nullptr;
    std::vector<CRkHeadlessMenuBarImp*> m_menuBars;
    std::deque<uint32_t> m_boxAnswers;
    std::vector<RkMessageBoxRecord> m_boxes;
    std::deque<std::optional<CRkString>> m_dialogAnswers;
    std::vector<RkFileDialogRecord> m_dialogs;
    std::vector<CRkString> m_dragTypes; // index 0 is number 3
    uint32_t m_dragRegistrations = 0;
};
