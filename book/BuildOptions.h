// The build options word.
#pragma once

#include <cstdint>

enum : uint32_t {
    // No page tables are built.
    ExcludePageTables = 1,
    // The book is typed as a dictionary (and gets no page tables either).
    Dictionary = 2,
};
