// Strings between the framework and the wide Win32 calls. On Windows a
// wchar_t is one UTF-16 code unit, so CRkString's units pass unchanged.
#pragma once

#include <string>

#include "framework/core/RkString.h"

// A terminated copy of the string's units for a wide call.
std::wstring ToWide(const CRkString& s);
void AssignWide(CRkString& out, const wchar_t* units, size_t n);
void AssignWide(CRkString& out, const std::wstring& units);
