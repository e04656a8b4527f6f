// The build of one book: from an LML source file to a book file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CFile;
class CMemBuffer;
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

// Reads the whole source from its start to the end of its stream (a pipe, a
// FIFO or a device as well as a file) into one buffer. Null after reporting
// why: it cannot be opened, a read failed, or it holds more than limit
// bytes (at most kMaxSourceSize), found by reading one byte past the limit.
std::unique_ptr<CMemBuffer> ReadSourceText(CFile& source, uint64_t limit = kMaxSourceSize);

// The build of a source already read by ReadSourceText (or from a stream):
// `source` names it (identity, image directory; null for a stream, which
// then has none), `sourceName` shows it in messages. The book goes to
// `output`, or to `sink` when given. Returns 1 without doing anything when
// the text or both targets are missing, else 0.
uint32_t BuildBookFromText(const CFile* source, const std::string& sourceName, std::unique_ptr<CMemBuffer> text,
                           CFile* output, IBookSink* sink, const CBookInfo* info, uint32_t options,
                           bool* bookWritten = nullptr);
