// Structural verification of a book file: container header, record list,
// book header record, every section's record layout and the text records.
#pragma once

#include <string>
#include <vector>

class CBookImage;

// Each problem as one line: where, what was expected, what was found.
// An empty result means the structure is sound.
std::vector<std::string> CheckBook(const CBookImage& book);
