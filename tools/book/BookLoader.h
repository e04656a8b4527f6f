// Reading book files through the framework's file access: whole, or by
// offset as they are looked at.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IBookBytes;

// True with the file's bytes; false with a message naming the path.
bool LoadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// The file opened for reading by offset (held open until the result is
// destroyed); null with a message naming the path.
std::unique_ptr<IBookBytes> OpenBookFile(const std::string& path, std::string& error);
