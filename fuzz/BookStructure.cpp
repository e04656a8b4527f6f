#include "fuzz/BookStructure.h"

#include <vector>

#include "book/BookHeaderRecord.h"
#include "book/BuildOptions.h"
#include "book/Compressor.h"
#include "book/Container.h"
#include "book/LDBFile.h"
#include "book/PageRecList.h"
#include "framework/core/MemBuffer.h"
#include "framework/io/File.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t U16(const Bytes& b, size_t at)
{
    return (uint32_t(b[at]) << 8) | b[at + 1];
}

uint32_t U32(const Bytes& b, size_t at)
{
    return (U16(b, at) << 16) | U16(b, at + 2);
}

// The book header record fields that the section chain uses.
struct HeaderRecord {
    uint32_t smallEntries, largeEntries, firstAfterText, chapters, smallRecords, largeRecords, images, links,
        metadataCount, indexRecords, footnotes, sidebars, firstChapter, firstSmall, firstLarge, firstImage, firstLink,
        metadata, firstIndex, firstFootnote, firstSidebar, textSize, textSizeCount;
};

HeaderRecord ParseHeaderRecord(const Bytes& r)
{
    HeaderRecord h;
    h.smallEntries = U16(r, 8);
    h.largeEntries = U16(r, 10);
    h.firstAfterText = U16(r, 12);
    h.chapters = U16(r, 14);
    h.smallRecords = U16(r, 16);
    h.largeRecords = U16(r, 18);
    h.images = U16(r, 20);
    h.links = U16(r, 22);
    h.metadataCount = U16(r, 24);
    h.indexRecords = U16(r, 26);
    h.footnotes = U16(r, 28);
    h.sidebars = U16(r, 30);
    h.firstChapter = U16(r, 32);
    h.firstSmall = U16(r, 36);
    h.firstLarge = U16(r, 38);
    h.firstImage = U16(r, 40);
    h.firstLink = U16(r, 42);
    h.metadata = U16(r, 44);
    h.firstIndex = U16(r, 46);
    h.firstFootnote = U16(r, 48);
    h.firstSidebar = U16(r, 50);
    h.textSize = U16(r, 52);
    h.textSizeCount = U16(r, 54);
    return h;
}

class CBookChecker {
public:
    CBookChecker(CLDBFile& book, const std::string& expected, uint32_t options)
        : m_book(book), m_expected(expected), m_options(options)
    {
    }

    std::string Run()
    {
        if (!CheckContainer() || !CheckHeaderRecord() || !CheckText() ||
            !CheckPages(m_header.firstSmall, m_header.smallRecords, m_header.smallEntries, "small") ||
            !CheckPages(m_header.firstLarge, m_header.largeRecords, m_header.largeEntries, "large") ||
            !CheckNamedRecords(m_header.firstChapter, m_header.chapters, false, "chapter") ||
            !CheckNamedRecords(m_header.firstLink, m_header.links, true, "link") ||
            !CheckNotes(m_header.firstSidebar, m_header.sidebars, "sidebar") ||
            !CheckNotes(m_header.firstFootnote, m_header.footnotes, "footnote") || !CheckIndex() || !CheckEnd())
            return m_fault;
        return {};
    }

private:
    bool Fail(const std::string& what)
    {
        m_fault = what;
        return false;
    }

    bool Read(uint32_t i, Bytes& out)
    {
        CMemBuffer buffer;
        if (m_book.ReadRecord(i, buffer) != 0)
            return Fail("record " + std::to_string(i) + " cannot be read");
        if (buffer.GetSize() != m_book.GetRecordSize(i))
            return Fail("record " + std::to_string(i) + " read with the wrong size");
        out.assign(buffer.GetData(), buffer.GetData() + buffer.GetSize());
        return true;
    }

    bool CheckContainer()
    {
        if (!m_book.IsValid())
            return Fail("the book cannot be read back");
        if (!m_book.IsComplete())
            return Fail("the records do not fill the file");
        const uint32_t type = (m_options & Dictionary) ? FourCC("VxDc") : FourCC("VxBk");
        if (m_book.GetType() != type || m_book.GetCreator() != FourCC("VxCr"))
            return Fail("wrong type or creator code");
        const LDBHeader& header = m_book.GetHeader();
        if (header.modificationTime != header.creationTime + 1 || header.attributes != 0x0008)
            return Fail("wrong container header values");
        const char* name = m_book.GetName();
        size_t nameLength = 0;
        while (nameLength < 32 && name[nameLength])
            ++nameLength;
        if (nameLength > 29)
            return Fail("database name longer than 29 bytes");
        m_count = m_book.GetRecordCount();
        if (m_count < 4)
            return Fail("fewer records than a book needs");
        uint64_t total = FirstRecordOffset(m_count);
        if (m_book.GetRecordOffset(0) != total)
            return Fail("the first record does not follow the record list");
        for (uint32_t i = 0; i < m_count; ++i)
            total += m_book.GetRecordSize(i);
        if (total != m_book.GetFileSize())
            return Fail("record sizes do not add up to the file size");
        return true;
    }

    bool CheckHeaderRecord()
    {
        Bytes r;
        if (!Read(0, r))
            return false;
        if (r.size() != kBookHeaderRecordSize || U16(r, 0) != 10)
            return Fail("bad book header record");
        const HeaderRecord& h = m_header = ParseHeaderRecord(r);
        // Every section starts where the one before it ends, in file order.
        const bool chain = h.firstAfterText >= 1 && h.firstSmall == h.firstAfterText &&
                           h.firstLarge == h.firstSmall + h.smallRecords &&
                           h.firstChapter == h.firstLarge + h.largeRecords &&
                           h.firstLink == h.firstChapter + h.chapters && h.firstImage == h.firstLink + h.links &&
                           h.firstIndex == h.firstImage + h.images && h.metadata == h.firstIndex + h.indexRecords &&
                           h.metadataCount == 1 && h.firstSidebar == h.metadata + 1 &&
                           h.firstFootnote == h.firstSidebar + h.sidebars &&
                           h.textSize == h.firstFootnote + h.footnotes && h.textSizeCount == 1 &&
                           m_count == h.textSize + 2;
        if (!chain)
            return Fail("the sections of the book header record do not follow each other");
        if ((m_options & (ExcludePageTables | Dictionary)) && (h.smallEntries || h.largeEntries))
            return Fail("page tables in a book built without them");
        return true;
    }

    bool CheckText()
    {
        const uint32_t textRecords = m_header.firstAfterText - 1;
        CZLibUncompressor uncompressor;
        std::string text;
        m_recordStarts.clear();
        std::vector<uint32_t> lengths;
        for (uint32_t i = 1; i <= textRecords; ++i) {
            Bytes r;
            if (!Read(i, r))
                return false;
            uint8_t out[kMaxTextRecordSize];
            uint32_t length = sizeof out;
            if (r.empty() || !uncompressor.Uncompress(r.data(), static_cast<uint32_t>(r.size()), out, length))
                return Fail("text record " + std::to_string(i) + " does not decompress into 8192 bytes");
            if (length == 0)
                return Fail("empty text record " + std::to_string(i));
            m_recordStarts.push_back(static_cast<uint32_t>(text.size()));
            text.append(reinterpret_cast<const char*>(out), length);
            lengths.push_back(length);
        }
        m_textLength = static_cast<uint32_t>(text.size());
        if (text != m_expected)
            return Fail("the text records do not hold the prepared text");
        Bytes sizes;
        if (!Read(m_header.textSize, sizes))
            return false;
        if (sizes.size() != 2 * lengths.size())
            return Fail("text-size record of the wrong size");
        for (size_t i = 0; i < lengths.size(); ++i)
            if (U16(sizes, 2 * i) != lengths[i])
                return Fail("text-size record disagrees with text record " + std::to_string(i + 1));
        return true;
    }

    // Whether a text position lies in the given record (start to end, both
    // ends allowed) with the given offset.
    bool PositionMatches(uint32_t record, uint32_t offset, uint32_t position) const
    {
        if (position > m_textLength)
            return false;
        if (m_recordStarts.empty())
            return record <= 1 && offset == 0 && position == 0;
        if (record < 1 || record > m_recordStarts.size())
            return false;
        return position == m_recordStarts[record - 1] + offset;
    }

    bool CheckPages(uint32_t first, uint32_t records, uint32_t entries, const char* font)
    {
        const std::string what = std::string(font) + "-font page table: ";
        if (records != PageRecordCount(entries))
            return Fail(what + "record count does not fit the entry count");
        Bytes all;
        for (uint32_t i = 0; i < records; ++i) {
            Bytes r;
            if (!Read(first + i, r))
                return false;
            all.insert(all.end(), r.begin(), r.end());
        }
        if (all.size() != size_t(entries) * PageRecList::kEntrySize)
            return Fail(what + "records do not hold the entries");
        uint32_t previous = 0;
        for (uint32_t i = 0; i < entries; ++i) {
            const size_t at = size_t(i) * PageRecList::kEntrySize;
            const uint32_t position = U32(all, at + 6);
            if (!PositionMatches(U16(all, at + 2), U16(all, at + 4), position))
                return Fail(what + "entry " + std::to_string(i) + " points outside the text");
            if (position < previous)
                return Fail(what + "pages go backwards at entry " + std::to_string(i));
            previous = position;
        }
        return true;
    }

    // Chapter and link records: u32 position, name, NUL.
    bool CheckNamedRecords(uint32_t first, uint32_t count, bool mayBeUndefined, const char* kind)
    {
        for (uint32_t i = 0; i < count; ++i) {
            Bytes r;
            if (!Read(first + i, r))
                return false;
            if (r.size() < 5 || r.back() != 0)
                return Fail(std::string(kind) + " record " + std::to_string(i) + " is malformed");
            const uint32_t position = U32(r, 0);
            // An anchor may sit just past the last byte (after a closing quote).
            if (position > m_textLength + 1 && !(mayBeUndefined && position == 0xFFFFFFFFu))
                return Fail(std::string(kind) + " record " + std::to_string(i) + " points outside the text");
        }
        return true;
    }

    // The table record (u16 record count, u8 name length, name, NUL per
    // entry), then the entries' text records.
    bool CheckNotes(uint32_t first, uint32_t count, const char* kind)
    {
        if (count == 0)
            return true;
        Bytes table;
        if (!Read(first, table))
            return false;
        uint64_t records = 0;
        size_t at = 0;
        while (at < table.size()) {
            if (at + 4 > table.size())
                return Fail(std::string(kind) + " table cut short");
            const uint32_t nameLength = table[at + 2];
            if (at + 3 + nameLength + 1 > table.size() || table[at + 3 + nameLength] != 0)
                return Fail(std::string(kind) + " table entry malformed");
            records += U16(table, at);
            at += 4 + nameLength;
        }
        if (records + 1 != count)
            return Fail(std::string(kind) + " table does not count the records of the section");
        CZLibUncompressor uncompressor;
        for (uint32_t i = 1; i < count; ++i) {
            Bytes r;
            if (!Read(first + i, r))
                return false;
            uint8_t out[kMaxTextRecordSize];
            uint32_t length = sizeof out;
            if (r.empty() || !uncompressor.Uncompress(r.data(), static_cast<uint32_t>(r.size()), out, length))
                return Fail(std::string(kind) + " text record " + std::to_string(i) + " does not decompress");
        }
        return true;
    }

    // Heading record (first term of every group), then one record per
    // group: u16 text record, u16 offset, term, NUL per entry.
    bool CheckIndex()
    {
        if (m_header.indexRecords == 0)
            return true;
        if (!(m_options & Dictionary))
            return Fail("index records in a book that is not a dictionary");
        if (m_header.indexRecords < 2)
            return Fail("an index without groups");
        Bytes heading;
        if (!Read(m_header.firstIndex, heading))
            return false;
        uint32_t terms = 0;
        for (uint8_t byte : heading)
            terms += byte == 0;
        if (heading.empty() || heading.back() != 0 || terms != m_header.indexRecords - 1)
            return Fail("index heading record does not name every group");
        for (uint32_t g = 1; g < m_header.indexRecords; ++g) {
            Bytes r;
            if (!Read(m_header.firstIndex + g, r))
                return false;
            size_t at = 0;
            while (at < r.size()) {
                if (at + 5 > r.size())
                    return Fail("index group cut short");
                const uint32_t record = U16(r, at);
                if (record < 1 || record > m_recordStarts.size() + 1)
                    return Fail("index entry names a text record the book does not have");
                at += 4;
                while (at < r.size() && r[at] != 0)
                    ++at;
                if (at == r.size())
                    return Fail("index term without its NUL");
                ++at;
            }
        }
        return true;
    }

    bool CheckEnd()
    {
        Bytes r;
        if (!Read(m_count - 1, r))
            return false;
        static const uint8_t marker[kEndMarkerSize] = {'M', 'e', 'T', 'a', 'I', 'n', 'F', 'o', 0};
        if (r != Bytes(marker, marker + kEndMarkerSize))
            return Fail("the end marker is not the last record");
        return true;
    }

    CLDBFile& m_book;
    const std::string& m_expected;
    uint32_t m_options;
    std::string m_fault;
    uint32_t m_count = 0;
    HeaderRecord m_header{};
    std::vector<uint32_t> m_recordStarts;
    uint32_t m_textLength = 0;
};

} // namespace

std::string CheckBookStructure(const std::string& path, const std::string& expectedText, uint32_t options)
{
    CFile file(path.c_str());
    CLDBFile book(file);
    CBookChecker checker(book, expectedText, options);
    std::string fault = checker.Run();
    book.Close();
    return fault;
}
