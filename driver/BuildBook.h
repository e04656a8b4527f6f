// The build of one book: from an LML source file to a book file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CFile;
class CMemBuffer;
class CBookInfo;
class IBookSink;

// What a build returns.
inline constexpr uint32_t kBookWritten = 0;    // the book was written
inline constexpr uint32_t kBuildNotRun = 1;    // a file object (or the text) was missing; nothing was done
inline constexpr uint32_t kBookNotWritten = 2; // the build ran and wrote no book; the reasons were reported

// Largest source accepted; four times it (every byte a tab) still fits the
// 32-bit buffers, and a book cannot hold that much text anyway.
inline constexpr uint64_t kMaxSourceSize = 512u * 1024 * 1024;

// Builds `output` from `source` with the title and metadata of `info`
// (null: all empty) and the build options (ExcludePageTables, Dictionary).
// Returns kBuildNotRun without doing anything when a file object is
// missing, else kBookWritten or kBookNotWritten; everything that went wrong
// has been reported.
uint32_t BuildBook(CFile* source, CFile* output, const CBookInfo* info, uint32_t options);

// The same build with the book going to sink (a stream) instead of a file.
uint32_t BuildBookInto(CFile* source, IBookSink* sink, const CBookInfo* info, uint32_t options);

// Reads the whole source from its start to the end of its stream (a pipe, a
// FIFO or a device as well as a file) into one buffer. Null after reporting
// why: it cannot be opened, a read failed, or it holds more than limit
// bytes (at most kMaxSourceSize), found by reading one byte past the limit.
std::unique_ptr<CMemBuffer> ReadSourceText(CFile& source, uint64_t limit = kMaxSourceSize);

// The build of a source already read by ReadSourceText (or from a stream):
// `source` names it (identity, image directory; null for a stream, which
// then has none), `sourceName` shows it in messages. The book goes to
// `output`, or to `sink` when given. Returns kBuildNotRun without doing
// anything when the text or both targets are missing, else kBookWritten or
// kBookNotWritten.
uint32_t BuildBookFromText(const CFile* source, const std::string& sourceName, std::unique_ptr<CMemBuffer> text,
                           CFile* output, IBookSink* sink, const CBookInfo* info, uint32_t options);
