// The page tables' numbers are 16-bit: a book cannot have more pages.
#pragma once

#include <cstdint>

class PageRecList;

inline constexpr uint32_t kMaxPageEntries = 65535;

// Reports "Too many pages ..." with the larger entry count and returns true
// when either page table holds more than kMaxPageEntries entries.
bool CheckPageTableSize(const PageRecList& smallFontPages, const PageRecList& largeFontPages);
