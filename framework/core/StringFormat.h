// printf-style formatting into a std::string, however long the result.
#pragma once

#include <cstdarg>
#include <string>

#include "framework/core/Compiler.h"

// Formats with the C library's rules into `out` (replacing its contents).
// False, with `out` empty, when the C library refuses the format or its
// arguments (an encoding error); the result may hold NUL bytes (from %c).
bool FormatStringV(std::string& out, const char* format, va_list args);

// The formatted text; empty when the C library refuses it.
std::string FormatString(const char* format, ...) VX_PRINTF_FORMAT(1, 2);
