// Generates a long, realistic LML source for measurements: key lines, then
// chapters of paragraphs of prose with 8-bit letters, tab indents, byte
// escapes, italics, links to earlier chapters and a mix of CR LF and LF
// line ends. The same size and seed give the same text.
#pragma once

#include <cstdint>
#include <string>

// Appends about targetBytes of source (never less) to text.
void GenerateLmlSource(std::string& text, uint64_t targetBytes, uint32_t seed = 1);

// Writes a generated source to path; false when the file cannot be written.
bool WriteLmlSource(const std::string& path, uint64_t targetBytes, uint32_t seed = 1);
