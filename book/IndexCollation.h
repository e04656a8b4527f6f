// The collation of index terms: case and accents folded, punctuation and
// spaces ignored, the ligature bytes compared as their two letters.
#pragma once

#include <string>
#include <string_view>

// The folded form of a term (up to its first NUL): every byte through the
// fold table, ligatures expanded to their two letters, spaces removed.
// Two terms collate as the byte order of their folded forms.
std::string FoldIndexTerm(std::string_view term);
// <0, 0 or >0 as a sorts before, with or after b.
int CompareIndexTerms(std::string_view a, std::string_view b);
