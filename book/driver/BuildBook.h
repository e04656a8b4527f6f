// The build of one book: from an LML source file to a book file.
#pragma once

#include <cstdint>

class CFile;
class CBookInfo;
class IBookSink;

// Largest source accepted; four times it (every byte a tab) still fits the
// 32-bit buffers, and a book cannot hold that much text anyway.
inline constexpr uint64_t kMaxSourceSize = 512u * 1024 * 1024;

// Builds `output` from `source` with the title and metadata of `info`
// (null: all empty) and the build options (ExcludePageTables, Dictionary).
// Returns 1 without doing anything when a file object is missing, else 0,
// whether or not a book was written; everything that went wrong has been
// reported. `bookWritten`, when given, says whether the book was written.
uint32_t BuildBook(CFile* source, CFile* output, const CBookInfo* info, uint32_t options,
                   bool* bookWritten = nullptr);

// The same build with the book going to sink (a stream) instead of a file.
uint32_t BuildBookInto(CFile* source, IBookSink* sink, const CBookInfo* info, uint32_t options,
                       bool* bookWritten = nullptr);
