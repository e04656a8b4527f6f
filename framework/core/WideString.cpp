#include "framework/core/WideString.h"

#include <cstdarg>
#include <cstdlib>

#include "framework/core/WideFormat.h"

uint32_t WideLength(const char16_t* s)
{
    uint32_t n = 0;
    while (s[n])
        ++n;
    return n;
}

char16_t* WideCopy(char16_t* dest, const char16_t* src)
{
    char16_t* d = dest;
    while ((*d++ = *src++) != 0) {}
    return dest;
}

char16_t* WideConcat(char16_t* dest, const char16_t* src)
{
    WideCopy(dest + WideLength(dest), src);
    return dest;
}

int WideCompare(const char16_t* a, const char16_t* b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return static_cast<int>(*a) - static_cast<int>(*b);
}

char16_t* WideCopyN(char16_t* dest, const char16_t* src, uint32_t n)
{
    uint32_t i = 0;
    for (; i < n && src[i]; ++i)
        dest[i] = src[i];
    for (; i < n; ++i)
        dest[i] = 0;
    return dest;
}

const char16_t* WideFindChar(const char16_t* s, char16_t unit)
{
    for (;; ++s) {
        if (*s == unit)
            return s;
        if (!*s)
            return nullptr;
    }
}

const char16_t* WideFindLastChar(const char16_t* s, char16_t unit)
{
    const char16_t* found = nullptr;
    for (;; ++s) {
        if (*s == unit)
            found = s;
        if (!*s)
            return found;
    }
}

const char16_t* WideFindString(const char16_t* s, const char16_t* needle)
{
    if (!*needle)
        return s;
    for (; *s; ++s) {
        uint32_t i = 0;
        while (needle[i] && s[i] == needle[i])
            ++i;
        if (!needle[i])
            return s;
    }
    return nullptr;
}

const char16_t* WideFindCharN(const char16_t* s, char16_t unit, uint32_t n)
{
    for (uint32_t i = 0; i < n; ++i)
        if (s[i] == unit)
            return s + i;
    return nullptr;
}

int32_t WideFormatBounded(char16_t* dest, uint32_t limit, const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const int32_t n = WideFormatV(dest, limit, format, args);
    va_end(args);
    return n;
}

void* MemAllocate(size_t bytes)
{
    return std::malloc(bytes);
}

void* MemAllocateZeroed(size_t count, size_t size)
{
    return std::calloc(count, size);
}

void* MemReallocate(void* block, size_t bytes)
{
    return std::realloc(block, bytes);
}

void MemFree(void* block)
{
    std::free(block);
}
