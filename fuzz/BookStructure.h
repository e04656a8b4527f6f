// A structural check of a book file written by the build: the container,
// the book header record and its section chain, every text record (which
// must decompress back to the expected text), the text-size record, the
// page tables, chapters, links, notes tables, index and end marker.
#pragma once

#include <cstdint>
#include <string>

// Returns an empty string when the book at `path` holds together and its
// text records decompress to `expectedText`; otherwise the first fault
// found. `options` are the build options the book was made with.
std::string CheckBookStructure(const std::string& path, const std::string& expectedText, uint32_t options);
