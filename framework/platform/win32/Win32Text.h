// Strings between the framework and the wide Win32 calls. On Windows a
// wchar_t is one UTF-16 code unit, so CRkString's units pass unchanged.
#pragma once

#include <string>

#include "framework/core/RkString.h"

// A terminated copy of the string's units for a wide call.
std::wstring ToWide(const CRkString& s);
void AssignWide(CRkString& out, const wchar_t* units, size_t n);
void AssignWide(CRkString& out, const std::wstring& units);

// The command line after the program's name, as Windows reads the name:
// up to and with the closing quote when it starts with one (no escapes in a
// program name), else up to the first space or tab; the blanks after it are
// skipped.
// A null line gives an empty tail.
const wchar_t* Win32CommandLineTail(const wchar_t* commandLine);
