// A CFile for a std::filesystem path on every platform: the native bytes on
// POSIX, the UTF-16 units on Windows (where the narrow form is the ANSI code
// page and may not hold every character).
#pragma once

#include <filesystem>

#include "framework/io/File.h"

inline CFile FileAt(const std::filesystem::path& path)
{
#ifdef _WIN32
    return CFile(path.u16string().c_str());
#else
    return CFile(path.c_str());
#endif
}
