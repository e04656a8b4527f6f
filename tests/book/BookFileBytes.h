// A built book file read back by tests: its big-endian fields and its
// records cut by the record list. The container's offsets are written out
// here, apart from the writer's constants, so that a wrong constant shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline uint32_t U16(const std::string& b, size_t at)
{
    return (uint32_t(uint8_t(b[at])) << 8) | uint8_t(b[at + 1]);
}

inline uint32_t U32(const std::string& b, size_t at)
{
    return (U16(b, at) << 16) | U16(b, at + 2);
}

inline std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The record list: its count at 76, then an entry of 8 bytes per record
// from 78 (the record's offset, then its attributes and unique id), then 2
// bytes of gap.
constexpr size_t kTestRecordCountAt = 76;
constexpr size_t kTestRecordListAt = 78;
constexpr size_t kTestRecordEntrySize = 8;

// The records of a book file's bytes, each up to the next one's offset or
// the end of the file; none when the bytes are too short for a list.
inline std::vector<std::string> CutBookRecords(const std::string& b)
{
    std::vector<std::string> records;
    if (b.size() < kTestRecordListAt + 2)
        return records;
    const uint32_t n = U16(b, kTestRecordCountAt);
    for (uint32_t i = 0; i < n && kTestRecordListAt + kTestRecordEntrySize * (i + 1) <= b.size(); ++i) {
        const uint32_t start = U32(b, kTestRecordListAt + kTestRecordEntrySize * i);
        const uint32_t end =
            i + 1 < n ? U32(b, kTestRecordListAt + kTestRecordEntrySize * (i + 1)) : uint32_t(b.size());
        records.push_back(start <= end ? b.substr(start, end - start) : std::string());
    }
    return records;
}

inline std::vector<std::string> ReadBookRecords(const std::filesystem::path& path)
{
    return CutBookRecords(ReadFileBytes(path));
}
