// The log manager: report hooks that put every message into the log
// window, which it creates on the first message and opens by itself when a
// warning or an error arrives.
#pragma once

#include <cstdarg>
#include <cstdint>

class CRkLogWindow;
class CRkLogWindowEntry;

// Makes the three report hooks the log manager's.
void InstallLogManager();
// The log manager's hooks (each of its own level; they return 0), for
// hooks put in front of them to pass a message on.
int32_t LogManagerErrorHook(const char* format, va_list args);
int32_t LogManagerWarningHook(const char* format, va_list args);
int32_t LogManagerStatusHook(const char* format, va_list args);

// Adds the entry (owned from now on) to the log window, creating the window
// hidden when there is none; `show` opens it. A visible log comes to the
// front without taking the focus.
void PostLogEntry(CRkLogWindowEntry* entry, bool show);
// Empties the log window's list.
void ClearLog();
// Closes the log window; the next message opens a new one.
void CloseLog();

// The log window, or null when there is none.
CRkLogWindow* GetLogWindow();
// Called by a log window that is closing: the manager forgets it.
void ForgetLogWindow(const CRkLogWindow* window);
