// The readable text form in which preference tables are saved to a file.
#pragma once

#include <cstddef>
#include <string>

#include "framework/core/PrefsTable.h"

// The whole file for `table`; `title` names the application in a comment.
std::string FormatPrefsText(const CPrefsTable& table, const char* title);

// Fills `table` from a file's bytes. On failure returns false, leaves
// `table` empty and describes the first fault in `error` ("line 3: ...").
bool ParsePrefsText(const char* text, size_t size, CPrefsTable& table, std::string& error);
