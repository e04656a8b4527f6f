// A read-only view of a whole book file held in memory: the container
// header, the record list, and the book header record with the sections it
// names. Every accessor is bounds-checked, so any byte string can be viewed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Container header, first 78 bytes of the file (all numbers big-endian):
//   offset  width  field
//        0     32  database name, NUL-terminated, zero-filled
//       32    u16  attributes
//       34    u16  version
//       36    u32  creation time (seconds since 1970)
//       40    u32  modification time
//       44    u32  backup time
//       48    u32  modification number
//       52    u32  application-info offset
//       56    u32  sort-info offset
//       60      4  type code
//       64      4  creator code
//       68    u32  unique-ID seed
//       72    u32  next record list
//       76    u16  number of records n
// Record list at 78: n entries of u32 offset, u8 attributes, 3-byte unique
// ID; then two zero bytes; records follow back to back.
inline constexpr uint32_t kContainerHeaderSize = 78;
inline constexpr uint32_t kRecordEntrySize = 8;
inline constexpr uint32_t kBookHeaderRecordSize = 132;
inline constexpr uint32_t kPageEntrySize = 12;
inline constexpr uint32_t kPageEntriesPerRecord = 16000 / kPageEntrySize;
inline constexpr uint32_t kTextRecordLimit = 8192;
inline constexpr uint32_t kImageRecordHeaderSize = 62;

struct ContainerHeader {
    uint8_t name[32] = {};
    uint16_t attributes = 0;
    uint16_t version = 0;
    uint32_t created = 0;
    uint32_t modified = 0;
    uint32_t backupTime = 0;
    uint32_t modificationNumber = 0;
    uint32_t appInfoOffset = 0;
    uint32_t sortInfoOffset = 0;
    uint32_t type = 0;
    uint32_t creator = 0;
    uint32_t uniqueIdSeed = 0;
    uint32_t nextRecordList = 0;
    uint16_t recordCount = 0;
};

struct RecordEntry {
    uint32_t offset = 0;
    uint8_t attributes = 0;
    uint32_t uniqueId = 0;
};

// Book header record (record 0, 132 bytes), field offsets:
//    0 u16 format version   2 u16 zero          4 u32 feature bits
//    8 u16 small entries   10 u16 large entries 12 u16 first after text
//   14 u16 chapters        16 u16 small records 18 u16 large records
//   20 u16 images          22 u16 links         24 u16 metadata records
//   26 u16 index records   28 u16 footnotes     30 u16 sidebars
//   32 u16 first chapter   34 u8 10, 35 u8 0    36 u16 first small page
//   38 u16 first large     40 u16 first image   42 u16 first link
//   44 u16 metadata index  46 u16 first index   48 u16 first footnote
//   50 u16 first sidebar   52 u16 text-size idx 54 u16 text-size records
//   56 u32 zero            60 u32 random value  64 68 zero bytes
struct BookHeaderRecord {
    uint16_t formatVersion = 0;
    uint16_t reserved2 = 0;
    uint32_t features = 0;
    uint16_t smallEntries = 0;
    uint16_t largeEntries = 0;
    uint16_t firstAfterText = 0;
    uint16_t chapterCount = 0;
    uint16_t smallRecords = 0;
    uint16_t largeRecords = 0;
    uint16_t imageCount = 0;
    uint16_t linkCount = 0;
    uint16_t metadataCount = 0;
    uint16_t indexCount = 0;
    uint16_t footnoteCount = 0;
    uint16_t sidebarCount = 0;
    uint16_t firstChapter = 0;
    uint8_t byte34 = 0;
    uint8_t byte35 = 0;
    uint16_t firstSmall = 0;
    uint16_t firstLarge = 0;
    uint16_t firstImage = 0;
    uint16_t firstLink = 0;
    uint16_t metadataIndex = 0;
    uint16_t firstIndex = 0;
    uint16_t firstFootnote = 0;
    uint16_t firstSidebar = 0;
    uint16_t textSizeIndex = 0;
    uint16_t textSizeCount = 0;
    uint32_t reserved56 = 0;
    uint32_t randomValue = 0;
};

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
    const ContainerHeader& Header() const { return m_header; }
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
    ContainerHeader m_header;
    std::vector<RecordEntry> m_entries;
    bool m_hasBookHeader = false;
    BookHeaderRecord m_bookHeader;
    std::vector<BookSection> m_sections;
};

// Big-endian reads from a byte pointer; the caller checks the bounds.
inline uint16_t ReadU16At(const uint8_t* p)
{
    return uint16_t((p[0] << 8) | p[1]);
}
inline uint32_t ReadU32At(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// Four-character code as text; unprintable bytes as '?'.
std::string FourCCText(uint32_t code);
