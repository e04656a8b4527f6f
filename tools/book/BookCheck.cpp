#include "tools/book/BookCheck.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <string>
#include <utility>

#include "book/Compressor.h"
#include "framework/core/StringFormat.h"
#include "tools/book/BookChecker.h"
#include "tools/book/BookImage.h"
#include "tools/book/BookText.h"

namespace bookcheck {

void CBookChecker::Problem(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string line;
    FormatStringV(line, format, args);
    va_end(args);
    m_problems.push_back(std::move(line));
}

bool CBookChecker::Quota(size_t& used)
{
    ++used;
    if (used == kMaxProblemsPerRecordKind + 1)
        Problem("(further problems of this kind are not shown)");
    return used <= kMaxProblemsPerRecordKind;
}

std::vector<std::string> CBookChecker::Run()
{
    if (!CheckContainer())
        return m_problems;
    CheckOffsets();
    CheckEndMarker();
    if (!m_book.HasBookHeader()) {
        Problem("record 0 (book header): size: expected %u bytes, found %u", kBookHeaderRecordSize,
                m_book.RecordSize(0));
        return m_problems;
    }
    CheckSections();
    return m_problems;
}

bool CBookChecker::CheckContainer()
{
    uint64_t fileSize = m_book.FileSize();
    if (!m_book.HasContainerHeader()) {
        Problem("container header: expected %u bytes, found a file of %llu bytes", kContainerHeaderSize,
                (unsigned long long)fileSize);
        return false;
    }
    const LDBHeader& h = m_book.Header();
    if (h.recordCount == 0) {
        Problem("container header: record count: expected at least 1 record, found 0");
        return false;
    }
    uint64_t listEnd = kContainerHeaderSize + uint64_t(h.recordCount) * kRecordEntrySize + kRecordListGap;
    if (listEnd > fileSize) {
        Problem("record list: expected %llu bytes for %u records and the gap, found a file of %llu bytes",
                (unsigned long long)listEnd, h.recordCount, (unsigned long long)fileSize);
        return false;
    }
    uint8_t gap[2] = {};
    if (m_book.ReadBytes(listEnd - 2, gap, 2) && (gap[0] != 0 || gap[1] != 0)) {
        Problem("gap after the record list at offset %llu: expected 0x0000, found 0x%02X%02X",
                (unsigned long long)(listEnd - 2), gap[0], gap[1]);
    }
    const auto* name = reinterpret_cast<const uint8_t*>(h.name);
    size_t nameLength = TerminatedLength(name, kDatabaseNameField);
    if (nameLength == kNoTerminator) {
        Problem("container header: database name: expected a NUL within 32 bytes, found none");
    } else {
        if (nameLength > kDatabaseNameMax) {
            Problem("container header: database name: expected at most %zu characters, found %zu",
                    size_t(kDatabaseNameMax), nameLength);
        }
        for (size_t i = nameLength + 1; i < kDatabaseNameField; ++i) {
            if (name[i] != 0) {
                Problem("container header: database name: expected zero bytes after the NUL, found 0x%02X at "
                        "byte %zu",
                        name[i], i);
                break;
            }
        }
    }
    if (h.attributes != kContainerAttributes)
        Problem("container header: attributes: expected 0x%04X, found 0x%04X", kContainerAttributes, h.attributes);
    if (h.version != 0)
        Problem("container header: version: expected 0, found %u", h.version);
    if (h.modificationTime != h.creationTime + 1u) {
        Problem("container header: modification time: expected %u (the creation time + 1), found %u",
                h.creationTime + 1u, h.modificationTime);
    }
    const struct {
        const char* name;
        uint32_t value;
    } zeroFields[] = {{"backup time", h.backupTime},
                      {"modification number", h.modificationNumber},
                      {"application-info offset", h.appInfoOffset},
                      {"sort-info offset", h.sortInfoOffset},
                      {"unique-ID seed", h.uniqueIdSeed},
                      {"next record list", h.nextRecordList}};
    for (const auto& field : zeroFields)
        if (field.value != 0)
            Problem("container header: %s: expected 0, found %u", field.name, field.value);
    std::string type = FourCCText(h.type);
    if (h.type != kBookTypeCode && h.type != kDictionaryTypeCode)
        Problem("container header: type code: expected \"VxBk\" or \"VxDc\", found \"%s\"", type.c_str());
    std::string creator = FourCCText(h.creator);
    if (h.creator != kCreatorCode)
        Problem("container header: creator code: expected \"VxCr\", found \"%s\"", creator.c_str());
    return true;
}

void CBookChecker::CheckOffsets()
{
    const std::vector<RecordEntry>& entries = m_book.Entries();
    uint64_t fileSize = m_book.FileSize();
    uint64_t expectedFirst = kContainerHeaderSize + uint64_t(entries.size()) * kRecordEntrySize + kRecordListGap;
    if (entries[0].offset != expectedFirst) {
        Problem("record 0: offset: expected %llu (just after the record list), found %u",
                (unsigned long long)expectedFirst, entries[0].offset);
    }
    size_t shown = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].offset > fileSize) {
            if (Quota(shown)) {
                Problem("record %zu: offset: expected at most the file size %llu, found %u", i,
                        (unsigned long long)fileSize, entries[i].offset);
            }
        } else if (i > 0 && entries[i].offset < entries[i - 1].offset) {
            if (Quota(shown)) {
                Problem("record %zu: offset: expected at least %u (start of record %zu), found %u", i,
                        entries[i - 1].offset, i - 1, entries[i].offset);
            }
        }
    }
    size_t idProblems = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        uint32_t expected = (kFirstUniqueId + uint32_t(i)) & kUniqueIdMask;
        if (entries[i].uniqueId != expected && Quota(idProblems)) {
            Problem("record %zu: unique ID: expected 0x%06X (0x%06X + the record number), found 0x%06X", i, expected,
                    kFirstUniqueId, entries[i].uniqueId);
        }
    }
    size_t attributeProblems = 0;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].attributes != 0 && Quota(attributeProblems))
            Problem("record %zu: attributes: expected 0, found 0x%02X", i, entries[i].attributes);
}

void CBookChecker::CheckEndMarker()
{
    uint32_t last = m_book.RecordCount() - 1;
    uint32_t size = m_book.RecordSize(last);
    const CBookRecord record = m_book.ReadRecordStart(last, kEndMarkerSize);
    const uint8_t* p = record.Data();
    if (size != kEndMarkerSize)
        Problem("record %u (end marker): size: expected %u bytes, found %u", last, kEndMarkerSize, size);
    if (!p || size < kEndMarkerSize || std::memcmp(p, kEndMarker, kEndMarkerSize) != 0) {
        std::string found = p ? DisplayText(p, size < kEndMarkerSize ? size : kEndMarkerSize) : std::string("nothing");
        Problem("record %u (end marker): expected \"MeTaInFo\\x00\", found \"%s\"", last, found.c_str());
    }
}

bool CBookChecker::SectionInRange(const BookSection& section) const
{
    return uint64_t(section.first) + section.count <= m_book.RecordCount();
}

void CBookChecker::CheckSections()
{
    const BookHeaderRecord& h = m_book.BookHeader();
    if (m_book.RecordSize(0) != kBookHeaderRecordSize) {
        Problem("record 0 (book header): size: expected %u bytes, found %u", kBookHeaderRecordSize,
                m_book.RecordSize(0));
    }
    if (h.formatVersion != kBookFormatVersion)
        Problem("book header record: format version: expected 10, found %u", h.formatVersion);
    const bool dictionary = m_book.Header().type == kDictionaryTypeCode;
    const uint32_t features = kBaseFeatures | (dictionary ? kDictionaryFeature : 0u);
    if (h.features != features) {
        Problem("book header record: feature bits: expected 0x%08X (%s), found 0x%08X", features,
                dictionary ? "a dictionary" : "a book", h.features);
    }
    if (h.byte34 != kBookHeaderByte34 || h.byte35 != 0)
        Problem("book header record: bytes 34 and 35: expected 10 and 0, found %u and %u", h.byte34, h.byte35);
    if (dictionary && (h.smallEntries != 0 || h.largeEntries != 0)) {
        Problem("book header record: page entries: expected none in a dictionary, found %u small and %u large",
                h.smallEntries, h.largeEntries);
    }
    if (h.firstAfterText == 0) {
        Problem("book header record: first record after the text: expected at least 1, found 0");
        return;
    }
    if (h.metadataCount != 1)
        Problem("book header record: metadata records: expected 1, found %u", h.metadataCount);
    if (h.textSizeCount != 1)
        Problem("book header record: text-size records: expected 1, found %u", h.textSizeCount);
    // Each section starts where the one before it ends.
    uint32_t running = 1;
    bool placed = true;
    for (const BookSection& section : m_book.Sections()) {
        if (section.kind == SectionKind::EndMarker) {
            if (running + 1 != m_book.Header().recordCount) {
                Problem("container header: record count: expected %u (the book header record's sections and "
                        "the end marker), found %u",
                        running + 1, m_book.Header().recordCount);
                placed = false;
            }
            break;
        }
        if (section.first != running) {
            Problem("book header record: first %s record: expected index %u, found %u", section.name, running,
                    section.first);
            placed = false;
        }
        running += section.count;
        if (!SectionInRange(section)) {
            Problem("book header record: %s: expected records %u to %u to exist, found %u records", section.name,
                    section.first, section.first + section.count - 1, m_book.RecordCount());
            placed = false;
        }
    }
    if (!placed)
        return; // record contents cannot be judged against a wrong layout
    CheckText();
    for (const BookSection& section : m_book.Sections()) {
        switch (section.kind) {
        case SectionKind::SmallPages:
            CheckPages(section, h.smallEntries);
            break;
        case SectionKind::LargePages:
            CheckPages(section, h.largeEntries);
            break;
        case SectionKind::Chapters:
            CheckStringRecords(section, false);
            break;
        case SectionKind::Links:
            CheckStringRecords(section, true);
            break;
        case SectionKind::Images:
            CheckImages(section);
            break;
        case SectionKind::Index:
            CheckIndex(section);
            break;
        case SectionKind::Metadata:
            CheckMetadata(section);
            break;
        case SectionKind::Sidebars:
        case SectionKind::Footnotes:
            CheckNotes(section);
            break;
        default:
            break;
        }
    }
}

void CBookChecker::CheckText()
{
    const BookSection& text = *m_book.FindSection(SectionKind::Text);
    const BookSection& table = *m_book.FindSection(SectionKind::TextSizes);
    m_haveTextSizes = m_book.ReadTextSizes(m_textSizes);
    uint64_t start = 0;
    for (uint16_t size : m_textSizes) {
        m_textStarts.push_back(start);
        start += size;
    }
    if (!m_haveTextSizes) {
        Problem("record %u (text sizes): size: expected %u bytes (2 per text record), found %u", table.first,
                2 * text.count, m_book.RecordSize(table.first));
    }
    std::vector<uint8_t> plain;
    size_t shown = 0;
    m_haveText = m_haveTextSizes;
    for (uint32_t i = 0; i < text.count; ++i) {
        uint32_t index = text.first + i;
        const CBookRecord record = m_book.ReadRecord(index);
        const uint8_t* p = record.Data();
        if (!p) {
            m_haveText = false;
            continue; // offsets already reported
        }
        InflateResult result = InflateRecord(p, m_book.RecordSize(index), kMaxTextRecordSize, plain);
        if (result == InflateResult::Corrupt) {
            if (Quota(shown)) {
                Problem("record %u (text record %u): expected zlib data, found data that does not decompress", index,
                        i + 1);
            }
            m_textLength += m_haveTextSizes ? m_textSizes[i] : 0;
            continue;
        }
        if (result == InflateResult::TooLong) {
            if (Quota(shown)) {
                Problem("record %u (text record %u): decompressed length: expected at most %u bytes, found more", index,
                        i + 1, kMaxTextRecordSize);
            }
            continue;
        }
        if (m_haveTextSizes && plain.size() != m_textSizes[i] && Quota(shown)) {
            Problem("record %u (text record %u): decompressed length: expected %u (text-size record), found %zu", index,
                    i + 1, m_textSizes[i], plain.size());
        }
        if (plain.empty() && Quota(shown))
            Problem("record %u (text record %u): decompressed length: expected at least 1 byte, found 0", index, i + 1);
        m_textLength += m_haveTextSizes ? m_textSizes[i] : plain.size();
        if (!m_haveText || plain.size() != m_textSizes[i])
            m_haveText = false;
    }
}

std::string CBookChecker::TextBytes(uint64_t position, size_t n)
{
    std::string bytes;
    if (!m_haveText)
        return bytes;
    const BookSection& text = *m_book.FindSection(SectionKind::Text);
    // The last record starting at or before the position.
    size_t i = size_t(std::upper_bound(m_textStarts.begin(), m_textStarts.end(), position) - m_textStarts.begin());
    while (bytes.size() < n && i >= 1 && i <= m_textStarts.size()) {
        if (m_cachedRecord != i) {
            m_cachedRecord = 0;
            const CBookRecord record = m_book.ReadRecord(text.first + uint32_t(i) - 1);
            if (!record.Data() ||
                InflateRecord(record.Data(), record.Size(), kMaxTextRecordSize, m_cachedText) != InflateResult::Ok)
                break;
            m_cachedRecord = uint32_t(i);
        }
        uint64_t at = position + bytes.size() - m_textStarts[i - 1];
        if (at < m_cachedText.size()) {
            size_t take = std::min<size_t>(n - bytes.size(), size_t(m_cachedText.size() - at));
            bytes.append(reinterpret_cast<const char*>(m_cachedText.data() + at), take);
        }
        ++i;
    }
    return bytes;
}

bool CBookChecker::TextHas(uint64_t position, const char* bytes)
{
    size_t n = std::strlen(bytes);
    return TextBytes(position, n) == std::string(bytes, n);
}

std::string CBookChecker::TextAt(uint64_t position)
{
    const std::string bytes = TextBytes(position, 12);
    if (bytes.empty())
        return "the end of the text";
    return "\"" + DisplayText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) + "\"";
}

void CBookChecker::CheckPages(const BookSection& section, uint16_t listedEntries)
{
    uint64_t entries = 0;
    uint32_t lastPosition = 0;
    size_t shown = 0;
    for (uint32_t i = 0; i < section.count; ++i) {
        uint32_t index = section.first + i;
        uint32_t size = m_book.RecordSize(index);
        const CBookRecord record = m_book.ReadRecord(index);
        const uint8_t* p = record.Data();
        bool last = i + 1 == section.count;
        uint32_t full = kPageEntriesPerRecord * kPageEntrySize;
        if ((!last && size != full) || (last && (size == 0 || size > full || size % kPageEntrySize))) {
            if (Quota(shown)) {
                Problem(last ? "record %u (%s): size: expected a multiple of 12 from 12 to %u bytes, found %u"
                             : "record %u (%s): size: expected %u bytes, found %u",
                        index, section.name, full, size);
            }
            continue;
        }
        if (!p)
            continue;
        for (uint32_t at = 0; at + kPageEntrySize <= size; at += kPageEntrySize, ++entries) {
            uint16_t page = ReadU16At(p + at);
            uint16_t record = ReadU16At(p + at + 2);
            uint16_t offset = ReadU16At(p + at + 4);
            uint32_t position = ReadU32At(p + at + 6);
            if (page != uint16_t(entries) && Quota(shown)) {
                Problem("record %u (%s), entry %llu: page number: expected %u, found %u", index, section.name,
                        (unsigned long long)entries, unsigned(uint16_t(entries)), page);
            }
            if (entries > 0 && position < lastPosition && Quota(shown)) {
                Problem("record %u (%s), entry %llu: position: expected at least %u (the page before), found %u", index,
                        section.name, (unsigned long long)entries, lastPosition, position);
            }
            lastPosition = position;
            uint16_t style = ReadU16At(p + at + kPageStyleAt);
            if (((style & 3) == 3 || ((style >> 3) & 7) > 2 || (style & 0x0004)) && Quota(shown)) {
                Problem("record %u (%s), entry %llu: style word: expected alignment 0-2, font 0-2 and bit 0x0004 "
                        "clear, found 0x%04X",
                        index, section.name, (unsigned long long)entries, style);
            }
            if (!m_haveTextSizes)
                continue;
            // An empty text has no text records but still its first page.
            if (m_textSizes.empty() && record == 1 && offset == 0 && position == 0)
                continue;
            if (record < 1 || record > m_textSizes.size()) {
                if (Quota(shown)) {
                    Problem("record %u (%s), entry %llu: text record: expected 1 to %zu, found %u", index, section.name,
                            (unsigned long long)entries, m_textSizes.size(), record);
                }
                continue;
            }
            uint64_t start = m_textStarts[record - 1];
            if (offset > m_textSizes[record - 1] || start + offset != position) {
                if (Quota(shown)) {
                    Problem("record %u (%s), entry %llu: position: expected %llu (text record %u, offset %u), "
                            "found %u",
                            index, section.name, (unsigned long long)entries, (unsigned long long)(start + offset),
                            record, offset, position);
                }
            }
        }
    }
    if ((entries & 0xFFFF) != listedEntries) {
        Problem("book header record: %s entries: expected %llu (from the records), found %u", section.name,
                (unsigned long long)entries, listedEntries);
    }
}

} // namespace bookcheck

std::vector<std::string> CheckBook(const CBookImage& book)
{
    return bookcheck::CBookChecker(book).Run();
}
