// The checks of the records that the book header record's sections name
// after the text: chapters, links, images, index, metadata, sidebars and
// footnotes.
#include <cstring>
#include <string>
#include <utility>

#include "book/Compressor.h"
#include "tools/book/BookChecker.h"
#include "tools/book/BookImage.h"
#include "tools/book/BookText.h"
#include "tools/book/PngSummary.h"
#include "tools/book/PngVerify.h"

namespace bookcheck {

void CBookChecker::CheckStringRecords(const BookSection& section, bool links)
{
    size_t shown = 0;
    std::string previousName;
    for (uint32_t i = 0; i < section.count; ++i) {
        uint32_t index = section.first + i;
        uint32_t size = m_book.RecordSize(index);
        const CBookRecord record = m_book.ReadRecord(index);
        const uint8_t* p = record.Data();
        if (!p)
            continue;
        size_t length = size >= 5 ? TerminatedLength(p + 4, size - 4) : kNoTerminator;
        if (length == kNoTerminator || length + 5 != size) {
            if (Quota(shown)) {
                Problem("record %u (%s): expected a position and one NUL-terminated %s filling %u bytes, found %s",
                        index, section.name, links ? "name" : "title", size,
                        length == kNoTerminator ? "no NUL" : "bytes after the NUL");
            }
            continue;
        }
        if (links) {
            std::string name(reinterpret_cast<const char*>(p + 4), length);
            if (name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos && Quota(shown)) {
                Problem("record %u (links): name: expected lower case, found \"%s\"", index,
                        DisplayText(p + 4, length).c_str());
            }
            if (i > 0 && name <= previousName && Quota(shown)) {
                Problem("record %u (links): name: expected a name after \"%s\" in byte order, found \"%s\"", index,
                        DisplayText(reinterpret_cast<const uint8_t*>(previousName.data()), previousName.size()).c_str(),
                        DisplayText(p + 4, length).c_str());
            }
            previousName = std::move(name);
        }
        uint32_t position = ReadU32At(p);
        bool undefinedLink = links && position == 0xFFFFFFFF;
        // An anchor stands two bytes after the closing quote of its name,
        // which may be the last byte of the text.
        uint64_t limit = links ? m_textLength + 1 : m_textLength;
        if (m_haveTextSizes && !undefinedLink && position > limit) {
            if (Quota(shown)) {
                Problem("record %u (%s): position: expected at most %llu, found %u", index, section.name,
                        (unsigned long long)limit, position);
            }
            continue;
        }
        if (!m_haveText || undefinedLink)
            continue;
        if (!links && !TextHas(position, "\\x") && !TextHas(position, "\\X") && !TextHas(position, "\\C") &&
            Quota(shown)) {
            Problem("record %u (chapters): position %u: expected a chapter code (\\x, \\X or \\C), found %s", index,
                    position, TextAt(position).c_str());
        }
        if (links && (position < 2 || !TextHas(position - 2, "\"")) && Quota(shown)) {
            Problem("record %u (links): position %u: expected the closing quote of an anchor two bytes before, "
                    "found %s",
                    index, position, position < 2 ? "the start of the text" : TextAt(position - 2).c_str());
        }
    }
}

void CBookChecker::CheckImages(const BookSection& section)
{
    size_t shown = 0;
    for (uint32_t i = 0; i < section.count; ++i) {
        uint32_t index = section.first + i;
        uint32_t size = m_book.RecordSize(index);
        const CBookRecord record = m_book.ReadRecord(index);
        const uint8_t* p = record.Data();
        if (!p)
            continue;
        if (size < kImageRecordHeaderSize + kPngHeaderBytes) {
            if (Quota(shown)) {
                Problem("record %u (images): size: expected at least %u bytes, found %u", index,
                        kImageRecordHeaderSize + kPngHeaderBytes, size);
            }
            continue;
        }
        if (std::memcmp(p, kImageTag, kImageTagSize) != 0 || p[kImageNameAt + kImageNameField - 1] != 0) {
            if (Quota(shown)) {
                Problem("record %u (images): expected \"PNG \" and a name of at most 31 bytes, found \"%s\"", index,
                        DisplayText(p, kImageNameAt + kImageNameField).c_str());
            }
            continue;
        }
        const uint8_t* png = p + kImageRecordHeaderSize;
        uint32_t pngSize = size - kImageRecordHeaderSize;
        PngSummary summary;
        std::string fault = ReadPngSummary(png, pngSize, summary);
        if (!fault.empty()) {
            if (Quota(shown))
                Problem("record %u (images): expected a PNG file at byte 62, found %s", index, fault.c_str());
            continue;
        }
        uint16_t width = ReadU16At(p + kImageWidthAt);
        uint16_t height = ReadU16At(p + kImageHeightAt);
        if ((width != uint16_t(summary.width) || height != uint16_t(summary.height)) && Quota(shown)) {
            Problem("record %u (images): size: expected %ux%u (the PNG header), found %ux%u", index,
                    unsigned(uint16_t(summary.width)), unsigned(uint16_t(summary.height)), width, height);
        }
        if (summary.colourType != 0 && summary.colourType != 3 && Quota(shown))
            Problem("record %u (images): PNG colour type: expected 0 or 3, found %u", index, summary.colourType);
        if (summary.interlace != 0 && Quota(shown))
            Problem("record %u (images): PNG interlace method: expected 0, found %u", index, summary.interlace);
        if (!summary.ancillary.empty() && Quota(shown)) {
            Problem("record %u (images): PNG chunks: expected no ancillary chunk, found %s", index,
                    summary.ancillary.c_str());
        }
        if (pngSize >= kMaxImageDataSize && Quota(shown)) {
            Problem("record %u (images): PNG size: expected below %u bytes, found %u", index, kMaxImageDataSize,
                    pngSize);
        }
        for (uint32_t at = kImageNameAt + kImageNameField; at < kImageWidthAt; ++at) {
            if (p[at] != 0) {
                if (Quota(shown)) {
                    Problem("record %u (images): bytes 36 to 57: expected zero, found 0x%02X at byte %u", index, p[at],
                            at);
                }
                break;
            }
        }
        for (const PngCrcFault& fault : FindPngCrcFaults(png, pngSize)) {
            if (Quota(shown)) {
                Problem("record %u (images): PNG chunk %s at byte %u of the PNG: CRC: expected 0x%08X, found 0x%08X",
                        index, fault.type.c_str(), fault.offset, fault.computed, fault.stored);
            }
        }
        std::vector<std::string> headerFaults = CheckPngHeaderFields(summary);
        for (const std::string& fault : headerFaults)
            if (Quota(shown))
                Problem("record %u (images): PNG header: %s", index, fault.c_str());
        if (headerFaults.empty()) {
            std::string fault = CheckPngImageData(png, pngSize, summary);
            if (!fault.empty() && Quota(shown))
                Problem("record %u (images): PNG %s", index, fault.c_str());
        }
    }
}

void CBookChecker::CheckIndex(const BookSection& section)
{
    if (section.count == 0)
        return;
    if (section.count == 1) {
        Problem("book header record: index records: expected 0 or at least 2, found 1");
        return;
    }
    uint32_t headingIndex = section.first;
    const CBookRecord headingRecord = m_book.ReadRecord(headingIndex);
    const uint8_t* heading = headingRecord.Data();
    uint32_t headingSize = m_book.RecordSize(headingIndex);
    std::vector<std::string> headings;
    if (heading) {
        uint32_t terms = 0;
        size_t at = 0;
        while (at < headingSize) {
            size_t length = TerminatedLength(heading + at, headingSize - at);
            if (length == kNoTerminator) {
                Problem("record %u (index headings): expected NUL-terminated terms, found an unterminated one at "
                        "byte %zu",
                        headingIndex, at);
                break;
            }
            headings.emplace_back(reinterpret_cast<const char*>(heading + at), length);
            at += length + 1;
            ++terms;
        }
        if (terms != section.count - 1) {
            Problem("record %u (index headings): expected %u terms (one per entry record), found %u", headingIndex,
                    section.count - 1, terms);
        }
    }
    size_t shown = 0;
    for (uint32_t i = 1; i < section.count; ++i) {
        uint32_t index = section.first + i;
        uint32_t size = m_book.RecordSize(index);
        const CBookRecord record = m_book.ReadRecord(index);
        const uint8_t* p = record.Data();
        if (!p)
            continue;
        size_t at = 0;
        while (at < size) {
            size_t length = size - at >= 5 ? TerminatedLength(p + at + 4, size - at - 4) : kNoTerminator;
            if (length == kNoTerminator) {
                if (Quota(shown)) {
                    Problem("record %u (index entries): expected record number, offset and NUL-terminated term at "
                            "byte %zu, found %zu bytes without a NUL",
                            index, at, size - at);
                }
                break;
            }
            if (at == 0 && i - 1 < headings.size() &&
                headings[i - 1] != std::string(reinterpret_cast<const char*>(p + 4), length) && Quota(shown)) {
                Problem("record %u (index entries): first term: expected \"%s\" (the group heading), found \"%s\"",
                        index,
                        DisplayText(reinterpret_cast<const uint8_t*>(headings[i - 1].data()), headings[i - 1].size())
                            .c_str(),
                        DisplayText(p + 4, length).c_str());
            }
            uint16_t record = ReadU16At(p + at);
            uint16_t offset = ReadU16At(p + at + 2);
            if (m_haveTextSizes && (record < 1 || record > m_textSizes.size() || offset > m_textSizes[record - 1])) {
                if (Quota(shown)) {
                    Problem("record %u (index entries), byte %zu: expected a place in the text, found text record "
                            "%u offset %u",
                            index, at, record, offset);
                }
            } else if (m_haveText && !TextHas(m_textStarts[record - 1] + offset, "\\I") && Quota(shown)) {
                Problem("record %u (index entries), byte %zu: text record %u offset %u: expected an index code "
                        "(\\I), found %s",
                        index, at, record, offset, TextAt(m_textStarts[record - 1] + offset).c_str());
            }
            at += length + 5;
        }
    }
}

void CBookChecker::CheckMetadata(const BookSection& section)
{
    uint32_t index = section.first;
    uint32_t size = m_book.RecordSize(index);
    const CBookRecord record = m_book.ReadRecord(index);
    const uint8_t* p = record.Data();
    if (!p)
        return;
    uint32_t strings = 0;
    size_t at = 0;
    while (at < size) {
        size_t length = TerminatedLength(p + at, size - at);
        if (length == kNoTerminator) {
            Problem("record %u (metadata): expected NUL-terminated strings, found an unterminated one at byte %zu",
                    index, at);
            return;
        }
        at += length + 1;
        ++strings;
    }
    if (strings != 5) {
        Problem("record %u (metadata): expected 5 strings (title, author, copyright, publisher, eISBN), found %u",
                index, strings);
    }
}

void CBookChecker::CheckNotes(const BookSection& section)
{
    if (section.count == 0)
        return;
    uint32_t tableIndex = section.first;
    const CBookRecord table = m_book.ReadRecord(tableIndex);
    const uint8_t* p = table.Data();
    uint32_t size = m_book.RecordSize(tableIndex);
    if (!p)
        return;
    uint64_t records = 0;
    size_t at = 0;
    std::string previousName;
    size_t nameProblems = 0;
    while (at < size) {
        if (size - at < 4 || p[at + 2] + 4u > size - at || p[at + 3 + p[at + 2]] != 0) {
            Problem("record %u (%s table), byte %zu: expected count, name length, name and NUL, found a broken "
                    "entry",
                    tableIndex, section.name, at);
            return;
        }
        std::string name(reinterpret_cast<const char*>(p + at + 3), p[at + 2]);
        std::string shownName = DisplayText(p + at + 3, p[at + 2]);
        if (name.find('\0') != std::string::npos ||
            name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos) {
            if (Quota(nameProblems)) {
                Problem("record %u (%s table), byte %zu: name: expected lower case without NUL, found \"%s\"",
                        tableIndex, section.name, at, shownName.c_str());
            }
        }
        if (at > 0 && name <= previousName && Quota(nameProblems)) {
            Problem("record %u (%s table), byte %zu: name: expected a name after \"%s\" in byte order, found \"%s\"",
                    tableIndex, section.name, at,
                    DisplayText(reinterpret_cast<const uint8_t*>(previousName.data()), previousName.size()).c_str(),
                    shownName.c_str());
        }
        previousName = std::move(name);
        records += ReadU16At(p + at);
        at += p[at + 2] + 4u;
    }
    if (records != section.count - 1) {
        Problem("record %u (%s table): text records: expected %u (the section's records after the table), found "
                "%llu",
                tableIndex, section.name, section.count - 1, (unsigned long long)records);
    }
    std::vector<uint8_t> plain;
    size_t shown = 0;
    for (uint32_t i = 1; i < section.count; ++i) {
        uint32_t index = section.first + i;
        const CBookRecord record = m_book.ReadRecord(index);
        const uint8_t* data = record.Data();
        if (data && InflateRecord(data, m_book.RecordSize(index), kMaxTextRecordSize, plain) != InflateResult::Ok &&
            Quota(shown)) {
            Problem("record %u (%s): expected zlib data of at most %u bytes, found data that does not decompress",
                    index, section.name, kMaxTextRecordSize);
        }
    }
}

} // namespace bookcheck
