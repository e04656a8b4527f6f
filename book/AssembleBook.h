// Writes a book file from the compiled records, and the record-count check
// made before.
#pragma once

#include <cstdint>

class CFile;
class CMemBuffer;
class IBookSink;
class CBookInfo;
struct BookRecLists;
struct BuildLists;

// The most records the build accepts in one book.
inline constexpr uint32_t kMaxBookRecords = 65506;

struct AssembleInputs {
    const CMemBuffer* text = nullptr;         // compressed text records back to back
    const CMemBuffer* sidebarText = nullptr;  // sidebar text records back to back (null: none)
    const CMemBuffer* footnoteText = nullptr; // footnote text records back to back (null: none)
    const CFile* output = nullptr;            // the book file to write (replaced when written)
    IBookSink* sink = nullptr;                // where the book goes instead of output (null: output)
    const char* databaseName = nullptr;       // NUL-terminated, at most 29 characters
    const CBookInfo* info = nullptr;          // null: all five strings empty
    BookRecLists* recLists = nullptr;         // links finished, sets sorted (the index is grouped here if needed)
    const BuildLists* buildLists = nullptr;
    uint32_t options = 0;      // ExcludePageTables, Dictionary
    uint32_t creationTime = 0; // seconds since 1970-01-01 UTC
    uint32_t randomValue = 0;  // the book header record's value (CBookRandom::HeaderValue)
};

// Estimates the record count of the book; logs "Too many records (%ld of
// them) for a .ldb file!" and returns true when there are too many. The
// page-table sizes are checked apart (CheckPageTableSize). Groups the index
// if that has not been done.
bool CountBookRecords(const BuildLists& lists, BookRecLists& recLists);

// Writes the book into the sink, or else into a temporary file beside the
// output that is moved over the output only when every write, the flush and
// the close succeeded (CBookFileOutput); then logs "Done." and returns
// true. On any failure the temporary file is removed, the error is logged
// ("An error occurred writing the file %s." for a failed write), the output
// is left as it was, and the result is false.
bool AssembleBook(const AssembleInputs& inputs);
