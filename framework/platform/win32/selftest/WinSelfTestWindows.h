// What the self-test driver needs to reach the program's windows from its
// own thread: finding top-level windows and controls, reading their text,
// and running a piece of work on the program's UI thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/platform/win32/Win32Api.h"

// Text in UTF-8 and back.
std::wstring SelfTestWide(const std::string& text);
std::string SelfTestNarrow(const std::wstring& text);

// A shown top-level window of this process chosen by `selector`:
//   TITLE      the window with exactly that title;
//   TITLE@ID   the window with that title that has a control of that id;
//   box:TEXT   a message box (a dialog) whose text contains TEXT.
// Null when there is none (yet).
HWND FindSelfTestWindow(const std::wstring& selector);
// The control of `window` with the control id `id` (any depth); null when none.
HWND FindSelfTestControl(HWND window, int id);
// Every control of `window`, at any depth, parents before their children.
std::vector<HWND> SelfTestDescendants(HWND window);
// The window's text; false when the UI thread did not answer in time.
bool ReadSelfTestText(HWND window, std::wstring& text);
// Describes the shown top-level windows of this process (for reports).
std::wstring DescribeSelfTestWindows();

// Made on the UI thread before the driver starts: a message-only window
// through which RunOnSelfTestUiThread reaches that thread.
void CreateSelfTestAgent();
// Runs `work` on the UI thread (inside whatever message loop it is in);
// false when the thread did not take it within `timeoutMs` (the work may
// still run later, on its own copy).
bool RunOnSelfTestUiThread(const std::function<void()>& work, unsigned timeoutMs);
DWORD GetSelfTestUiThreadId();
