// The window controller: the framework's top-level windows in the order
// they were last active, which of them is active now, and what the rest of
// the Win32 layer asks of them (the owner of message boxes and file
// dialogs). Also the layer's window classes and its binding to the loop.
#pragma once

#include <vector>

#include "framework/platform/win32/Win32Api.h"

class IRkMessageTarget;

class CWinWindowController {
public:
    static CWinWindowController& Get();

    void Add(HWND window);
    void Remove(HWND window);
    // The window became the active one (WM_ACTIVATE).
    void Activated(HWND window);
    bool Contains(HWND window) const;
    // The active framework window, else the shown one nearest the front,
    // else null.
    HWND GetActiveWindow() const;
    // Front first, as they were last active.
    const std::vector<HWND>& GetStack() const { return m_stack; }

private:
    CWinWindowController() = default;
    std::vector<HWND> m_stack; // the last active at the back
};

// Registers "LUMO_EMPTY_PANEL" when nothing else has (the event loop's
// hidden window shares the class; each window takes its own procedure).
void RegisterWinPanelClass();
// Tells the event loop which framework target a native window shows, for
// its shortcut tables (null takes the binding away).
void BindWinWindow(HWND window, IRkMessageTarget* target);
