#include "framework/platform/win32/Win32Text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Win32 layer needs 16-bit wchar_t");

std::wstring ToWide(const CRkString& s)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(s.GetChars()), s.GetLength());
}

void AssignWide(CRkString& out, const wchar_t* units, size_t n)
{
    out.Assign(reinterpret_cast<const char16_t*>(units), uint32_t(n));
}

void AssignWide(CRkString& out, const std::wstring& units)
{
    AssignWide(out, units.data(), units.size());
}

const wchar_t* Win32CommandLineTail(const wchar_t* line)
{
    if (!line)
        return L"";
    while (*line == L' ' || *line == L'\t')
        ++line;
    if (*line == L'"') {
        ++line;
        while (*line && *line != L'"')
            ++line;
        if (*line == L'"')
            ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t')
            ++line;
    }
    while (*line == L' ' || *line == L'\t')
        ++line;
    return line;
}
