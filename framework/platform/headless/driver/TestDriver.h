// The test driver: what a person does with the program, done on the
// headless platform. Tests find windows and controls, read what they show,
// and click, type, press keys, drag files, close and move windows, choose
// menu items and answer message boxes and file dialogs.
//
// Each input call does that input and nothing more: what the program posts
// in answer waits in the event loop until the test calls Settle. Input on
// a control that is hidden or disabled (or inside one that is), or in a
// hidden window, does nothing and returns false, as on a real screen.
// Clicking or typing into a control of a window that is not active
// activates that window first, as a click would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/RkString.h"
#include "framework/platform/headless/HeadlessDesktop.h"
#include "framework/platform/headless/HeadlessGraphics.h"
#include "framework/platform/headless/HeadlessNode.h"
#include "framework/platform/headless/HeadlessWindowImp.h"

class CRkHeadlessApplicationImp;

class CRkTestDriver {
public:
    // Drives the running application's loop (in headless builds the
    // application's implementation is the headless loop).
    CRkTestDriver();
    // Drives `loop` (may be null: keys then go nowhere and Settle has
    // nothing to run).
    explicit CRkTestDriver(CRkHeadlessApplicationImp* loop);

    CRkHeadlessDesktop& GetDesktop() const { return CRkHeadlessDesktop::Get(); }
    CRkHeadlessApplicationImp* GetLoop() const { return m_loop; }

    static CRkString FromUtf8(const char* text);
    static std::string ToUtf8(const CRkString& text);

    // Windows. Find returns the frontmost visible window with exactly that
    // title; FindAny looks at hidden windows too.
    std::vector<CRkHeadlessWindowImp*> GetVisibleWindows() const;
    CRkHeadlessWindowImp* FindWindow(const char* titleUtf8) const { return FindWindow(FromUtf8(titleUtf8)); }
    CRkHeadlessWindowImp* FindWindow(const CRkString& title) const;
    CRkHeadlessWindowImp* FindAnyWindow(const CRkString& title) const;
    CRkHeadlessWindowImp* GetActiveWindow() const;
    static std::string GetTitle(const CRkHeadlessWindowImp* window);

    // Controls of a window (or of any node), depth first in creation order.
    static std::vector<CRkHeadlessNode*> GetControls(const CRkHeadlessNode* window);
    static CRkHeadlessNode* FindControl(const CRkHeadlessNode* window, uint32_t id);
    static CRkHeadlessNode* FindControlByText(const CRkHeadlessNode* window, const char* textUtf8);
    static CRkHeadlessNode* FindControlByText(const CRkHeadlessNode* window, const CRkString& text);
    static CRkHeadlessNode* GetFocusedControl(const CRkHeadlessNode* window);

    // What a control shows. Visible and enabled are as a person sees them:
    // the control's own state and that of everything around it.
    static std::string GetText(const CRkHeadlessNode* node);
    static RkRect GetBounds(const CRkHeadlessNode* node) { return node->GetBounds(); }
    static RkRect GetBoundsInWindow(const CRkHeadlessNode* node) { return node->GetBoundsInRoot(); }
    static bool IsVisible(const CRkHeadlessNode* node) { return node->IsShowing(); }
    static bool IsEnabled(const CRkHeadlessNode* node) { return node->IsEnabledInTree(); }
    static bool IsChecked(const CRkHeadlessNode* node) { return node->IsChecked(); }
    static int32_t GetProperty(const CRkHeadlessNode* node, uint32_t property) { return node->GetProperty(property); }

    // Buttons and check boxes: a click (OnActivated). The framework decides
    // the check mark shown afterwards.
    bool Click(CRkHeadlessNode* node);
    bool Toggle(CRkHeadlessNode* node);

    // Text fields: each character typed at the end, each removal, is one
    // edit: the text changes, then the control reports it (OnActivated).
    // Line ends are not typed into single-line fields. These edit the field
    // directly; PressKey sends keys to the program, it edits nothing.
    bool TypeText(CRkHeadlessNode* node, const char* textUtf8) { return TypeText(node, FromUtf8(textUtf8)); }
    bool TypeText(CRkHeadlessNode* node, const CRkString& text);
    // Select all, then Delete: one edit when there was a text, none else.
    bool ClearText(CRkHeadlessNode* node);
    bool Backspace(CRkHeadlessNode* node, uint32_t count = 1);

    // Keys go through the loop (shortcut tables first) to the focused
    // control of the window, or to the window when none has the focus.
    // Without a window: the active one.
    bool PressKey(uint16_t keyCode, uint8_t modifiers = 0);
    bool PressKey(CRkHeadlessWindowImp* window, uint16_t keyCode, uint8_t modifiers = 0);

    // The mouse, at a point in the control's own coordinates.
    bool MouseClick(CRkHeadlessNode* node, int32_t x, int32_t y, uint32_t clicks = 1);
    bool MouseEvent(CRkHeadlessNode* node, uint32_t value1, uint32_t clicks, int32_t x, int32_t y);
    // Mouse wheel notches (messages 2 down, 3 up).
    bool LineScroll(CRkHeadlessNode* node, bool down, uint32_t notches = 1);
    // Drags a scroll bar to `value`, kept within minimum and (maximum - page).
    bool ScrollTo(CRkHeadlessNode* node, int32_t value);

    // Dragging files: over a drop target (31 when the drag enters it, then
    // 33), off it again (32), or dropped on it (34, after entering when the
    // drag was not over it yet). Over and drop return whether the
    // component accepted; off returns whether a drag was over it.
    bool DragFilesOver(CRkHeadlessNode* node, const std::vector<std::string>& pathsUtf8);
    bool DragFilesOver(CRkHeadlessNode* node, const std::vector<CRkString>& paths);
    bool DragFilesOff(CRkHeadlessNode* node);
    bool DropFiles(CRkHeadlessNode* node, const std::vector<std::string>& pathsUtf8);
    bool DropFiles(CRkHeadlessNode* node, const std::vector<CRkString>& paths);

    // Windows: the close box (only on windows that have one), moving and
    // resizing (only resizable ones) by the frame, a click on the window.
    bool PressCloseBox(CRkHeadlessWindowImp* window);
    bool MoveWindow(CRkHeadlessWindowImp* window, int32_t x, int32_t y);
    bool ResizeWindow(CRkHeadlessWindowImp* window, int32_t width, int32_t height);
    bool ActivateWindow(CRkHeadlessWindowImp* window);

    // Menus of a window (the active one when null). Opening asks the
    // program for the item states; choosing opens, then picks the item
    // unless it shows disabled.
    bool OpenMenu(CRkHeadlessWindowImp* window);
    bool ChooseMenuItem(CRkHeadlessWindowImp* window, uint32_t command);
    // The state last shown for the command; false when none was.
    bool GetMenuItemState(CRkHeadlessWindowImp* window, uint32_t command, bool& enabled, bool& checked) const;

    // Message boxes and file dialogs: answers for the next ones, and what
    // was shown.
    void AnswerNextMessageBox(uint32_t answer) { GetDesktop().QueueMessageBoxAnswer(answer); }
    const std::vector<RkMessageBoxRecord>& GetMessageBoxes() const { return GetDesktop().GetMessageBoxes(); }
    void AnswerNextFileDialog(const char* pathUtf8) { AnswerNextFileDialog(FromUtf8(pathUtf8)); }
    void AnswerNextFileDialog(const CRkString& path) { GetDesktop().QueueFileDialogAnswer(path); }
    void CancelNextFileDialog() { GetDesktop().QueueFileDialogCancel(); }
    const std::vector<RkFileDialogRecord>& GetFileDialogs() const { return GetDesktop().GetFileDialogs(); }

    // Painting: a control alone in its own coordinates; a window with every
    // showing control in it, in window coordinates; or whatever asked for
    // a repaint in the visible windows (returns how many were painted).
    std::vector<RkDrawOp> Paint(CRkHeadlessNode* node);
    std::vector<RkDrawOp> PaintWindow(CRkHeadlessWindowImp* window);
    uint32_t PaintDirty();

    // Runs the loop until nothing is left to deliver; false when
    // `maxDeliveries` were delivered first (a loop that never settles).
    bool Settle(uint64_t maxDeliveries = 100000);

private:
    static bool CanInteract(const CRkHeadlessNode* node);
    // The window of the node becomes the active one, and the node takes
    // the focus when it is a control that does.
    void Engage(CRkHeadlessNode* node);
    CRkHeadlessWindowImp* WindowOrActive(CRkHeadlessWindowImp* window) const;
    void SendDrag(CRkHeadlessNode* node, uint16_t message, bool& accepted);

    CRkHeadlessApplicationImp* m_loop;
    CRkHeadlessNode* m_dragNode = nullptr;
    std::vector<CRkString> m_dragPaths;
};
