// The text a reader sees at a place in a prepared LML text, for showing
// where pages begin: control codes and their arguments left out.
#pragma once

#include <cstdint>
#include <string>

// Longest piece of a page's first line that is shown.
inline constexpr size_t kShownLineBytes = 72;

// The first line with visible text from `start`, stopping at `end`: the
// bytes up to the next line feed, without control codes, invisible text
// (between \v codes) and code arguments; an image shows as [image NAME],
// a rule as "----". Printable UTF-8, cut to kShownLineBytes with "..."
// after a cut; "" when nothing visible lies before `end`.
std::string VisibleFirstLine(const uint8_t* text, uint32_t length, uint32_t start, uint32_t end);
