// What the fuzz targets run on one input, shared with the replay of the
// stored inputs in the test suite. Each returns an empty string when every
// check held, otherwise a description of what broke.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The whole build from source bytes. The first byte chooses the options:
// bit 0 ExcludePageTables, bit 1 Dictionary, bit 2 batch mode, bit 3 book
// information with a long title holding colons (else none), bit 4 an image
// folder holding a small palette image "a.png" and a damaged one "b.png",
// bit 5 (without bit 4) a plain file where the image folder belongs. The
// rest is the source.
std::string RunBuildInput(const uint8_t* data, size_t size);

// The image probe and the PNG re-encoding (from memory and from a file) on
// an image file of these bytes.
std::string RunPngInput(const uint8_t* data, size_t size);

// The book information keys read from a file of these bytes.
std::string RunBookInfoInput(const uint8_t* data, size_t size);

// The book reader on a file of these bytes: every accessor, every record;
// and the book tool's check and listing of the same bytes.
std::string RunLDBFileInput(const uint8_t* data, size_t size);
