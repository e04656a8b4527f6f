#include "framework/core/StringFormat.h"

#include <cstdio>

bool FormatStringV(std::string& out, const char* format, va_list args)
{
    out.clear();
    va_list measure;
    va_copy(measure, args);
    const int needed = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (needed < 0)
        return false;
    // One byte more for the NUL that vsnprintf always writes.
    out.resize(static_cast<size_t>(needed) + 1);
    va_list ap;
    va_copy(ap, args);
    std::vsnprintf(out.data(), out.size(), format, ap);
    va_end(ap);
    out.resize(static_cast<size_t>(needed));
    return true;
}

std::string FormatString(const char* format, ...)
{
    std::string out;
    va_list args;
    va_start(args, format);
    FormatStringV(out, format, args);
    va_end(args);
    return out;
}
