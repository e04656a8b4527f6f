// A read-only view of a whole book file held in memory: the container
// header, the record list, and the book header record with the sections it
// names. Every accessor is bounds-checked, so any byte string can be viewed.
// The fields are decoded by the book layer's own functions (those of
// CLDBFile and of the writer's record structures); unlike CLDBFile, the view
// keeps the entries of a record list that the file cuts short, so that a
// damaged book can still be shown and checked.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "book/BookHeaderRecord.h"
#include "book/Container.h"

enum class SectionKind {
    Text,
    SmallPages,
    LargePages,
    Chapters,
    Links,
    Images,
    Index,
    Metadata,
    Sidebars,
    Footnotes,
    TextSizes,
    EndMarker,
};

// A run of records as the book header record names it.
struct BookSection {
    SectionKind kind;
    const char* name;
    uint32_t first;
    uint32_t count;
};

// Where a book's bytes come from: read by offset as they are needed, so
// that only what is looked at is held in memory.
class IBookBytes {
public:
    virtual ~IBookBytes() = default;
    virtual uint64_t Size() const = 0;
    // Reads n bytes at offset (all of them inside Size); false on a read error.
    virtual bool ReadAt(uint64_t offset, void* into, size_t n) = 0;
};

// The bytes of one record, read from the book.
class CBookRecord {
public:
    // The bytes; null when the record does not lie wholly in the file (or
    // could not be read).
    const uint8_t* Data() const;
    uint32_t Size() const { return uint32_t(m_bytes.size()); }

private:
    friend class CBookImage;
    bool m_present = false;
    std::vector<uint8_t> m_bytes;
};

class CBookImage {
public:
    // A book held in memory.
    explicit CBookImage(std::vector<uint8_t> bytes);
    // A book read through `bytes` as it is looked at (a file).
    explicit CBookImage(std::unique_ptr<IBookBytes> bytes);

    uint64_t FileSize() const { return m_size; }
    // Reads n bytes at offset; false when they are not all in the file or
    // cannot be read.
    bool ReadBytes(uint64_t offset, void* into, size_t n) const;
    // True once a read of the file failed (not a record out of the file:
    // the file itself could not be read).
    bool ReadFailed() const { return m_readFailed; }

    bool HasContainerHeader() const { return m_hasHeader; }
    const LDBHeader& Header() const { return m_header; }
    // Entries of the record list that lie inside the file.
    const std::vector<RecordEntry>& Entries() const { return m_entries; }
    bool RecordListComplete() const { return m_hasHeader && m_entries.size() == m_header.recordCount; }
    uint32_t RecordCount() const { return uint32_t(m_entries.size()); }

    // Size by the container rule: next offset minus this one, the last
    // record up to the end of the file; 0 when the offsets do not allow it.
    uint32_t RecordSize(uint32_t index) const;
    // The record's bytes when it lies wholly inside the file. A record is
    // read whole, so memory goes by the largest record looked at.
    CBookRecord ReadRecord(uint32_t index) const;
    // At most the first n bytes of the record (fewer when it is shorter).
    CBookRecord ReadRecordStart(uint32_t index, uint32_t n) const;

    bool HasBookHeader() const { return m_hasBookHeader; }
    const BookHeaderRecord& BookHeader() const { return m_bookHeader; }
    // The sections in file order, from the book header record (empty
    // without one), ending with the end marker record.
    const std::vector<BookSection>& Sections() const { return m_sections; }
    const BookSection* FindSection(SectionKind kind) const;
    // The uncompressed length of every text record from the text-size
    // record; false when that record is missing or does not fit.
    bool ReadTextSizes(std::vector<uint16_t>& sizes) const;

private:
    void ParseContainer();
    void ParseBookHeader();

    std::unique_ptr<IBookBytes> m_bytes;
    uint64_t m_size = 0;
    mutable bool m_readFailed = false;
    bool m_hasHeader = false;
    LDBHeader m_header;
    std::vector<RecordEntry> m_entries;
    bool m_hasBookHeader = false;
    BookHeaderRecord m_bookHeader;
    std::vector<BookSection> m_sections;
};

// Four-character code as text; unprintable bytes as '?'.
std::string FourCCText(uint32_t code);
