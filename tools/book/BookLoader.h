// Reads a whole file into memory through the framework's file access.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// True with the file's bytes; false with a message naming the path.
bool LoadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);
