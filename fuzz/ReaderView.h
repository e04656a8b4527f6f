// What the library's book reader sees of a file, for comparison with the
// book tool's view (the two are kept in separate files because their
// layout constants share names).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ReaderView {
    bool valid = false;
    bool complete = false;
    uint64_t fileSize = 0;
    std::vector<uint32_t> recordSizes;
};

ReaderView ViewWithReader(const std::string& path);

// The book tool on a file's bytes: its view, its check and its listing
// (with the text); a description of a fault, or an empty string.
std::string RunBookTool(const uint8_t* data, size_t size);
