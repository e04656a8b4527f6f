// The check of a book file written by a fuzzed build: everything that
// `vellumix-book check` verifies, and beyond it what only the build knows:
// the type code of its options, no page tables when they were left out,
// and text records that hold exactly the prepared text.
#pragma once

#include <cstdint>
#include <string>

// Returns an empty string when the book at `path` holds together and its
// text records decompress to `expectedText`; otherwise the faults found,
// one per line. `options` are the build options the book was made with.
std::string CheckBookStructure(const std::string& path, const std::string& expectedText, uint32_t options);
