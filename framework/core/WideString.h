// Zero-terminated UTF-16 string functions (code-unit order, no surrogate
// handling) and the heap functions every handed-over block is freed with.
#pragma once

#include <cstddef>
#include <cstdint>

uint32_t WideLength(const char16_t* s);
char16_t* WideCopy(char16_t* dest, const char16_t* src);
char16_t* WideConcat(char16_t* dest, const char16_t* src);
// Difference of the first unequal units; 0 when equal.
int WideCompare(const char16_t* a, const char16_t* b);
// Copies at most n units and pads the rest of the n with zeros.
char16_t* WideCopyN(char16_t* dest, const char16_t* src, uint32_t n);
// First / last occurrence of a unit (finding 0 yields the terminator), or null.
const char16_t* WideFindChar(const char16_t* s, char16_t unit);
const char16_t* WideFindLastChar(const char16_t* s, char16_t unit);
// First occurrence of needle (an empty needle yields s), or null.
const char16_t* WideFindString(const char16_t* s, const char16_t* needle);
// First occurrence of a unit within the first n units, or null.
const char16_t* WideFindCharN(const char16_t* s, char16_t unit, uint32_t n);
// Bounded formatting (see WideFormat.h): at most limit units including the
// terminator; -1 when the output reached the limit.
int32_t WideFormatBounded(char16_t* dest, uint32_t limit, const char16_t* format, ...);

void* MemAllocate(size_t bytes);
void* MemAllocateZeroed(size_t count, size_t size);
void* MemReallocate(void* block, size_t bytes);
void MemFree(void* block);
