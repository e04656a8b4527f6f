#include "tools/book/BookDump.h"

#include <cstdarg>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "book/Compressor.h"
#include "framework/core/Compiler.h"
#include "framework/core/StringFormat.h"
#include "tools/book/BookImage.h"
#include "tools/book/BookText.h"
#include "tools/book/PngSummary.h"

namespace {

class CBookDumper {
public:
    CBookDumper(const CBookImage& book, const DumpOptions& options, std::ostream& out)
        : m_book(book), m_options(options), m_out(out)
    {
    }

    void Run();

private:
    void Line(const char* format, ...) VX_PRINTF_FORMAT(2, 3);
    void Header();
    void RecordList();
    void BookHeader();
    void Section(const BookSection& section);
    void Text(const BookSection& section);
    void Pages(const BookSection& section);
    void Strings(const BookSection& section, const char* what);
    void Images(const BookSection& section);
    void Index(const BookSection& section);
    void Metadata(const BookSection& section);
    void Notes(const BookSection& section);
    void TextSizes(const BookSection& section);
    void PrintText(const std::vector<uint8_t>& plain);
    // Record data with the "missing" note printed when it is out of the
    // file; at most `limit` bytes of it. Valid until the next call: one
    // record is held at a time.
    const uint8_t* Data(uint32_t index, uint32_t limit = UINT32_MAX);

    const CBookImage& m_book;
    const DumpOptions& m_options;
    std::ostream& m_out;
    CBookRecord m_record;
};

void CBookDumper::Line(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string line;
    FormatStringV(line, format, args);
    va_end(args);
    m_out << line << '\n';
}

const char* ColourTypeName(uint8_t type)
{
    switch (type) {
    case 0:
        return "grayscale";
    case 2:
        return "truecolour";
    case 3:
        return "palette";
    case 4:
        return "grayscale with alpha";
    case 6:
        return "truecolour with alpha";
    default:
        return "unknown";
    }
}

// A page's style word: alignment in bits 0-1, font in bits 3-5, and the
// style bits of the text at the page start.
std::string StyleWordText(uint16_t style)
{
    static const char* const kAlignments[] = {"left", "centered", "right", "alignment 3"};
    static const struct {
        uint16_t bit;
        const char* name;
    } kStyles[] = {{0x8000, "italic"},     {0x4000, "underline"}, {0x2000, "indented"},    {0x1000, "overstrike"},
                   {0x0800, "invisible"},  {0x0400, "reference"}, {0x0200, "superscript"}, {0x0100, "subscript"},
                   {0x0080, "bold style"}, {0x0040, "small caps"}};
    std::string text = std::string(kAlignments[style & 3]) + ", font " + std::to_string((style >> 3) & 7);
    for (const auto& s : kStyles)
        if (style & s.bit)
            text += std::string(", ") + s.name;
    if (style & 0x0004)
        text += ", bit 0x0004";
    return text;
}

std::string TimeText(uint32_t seconds)
{
    std::time_t t = std::time_t(seconds);
    std::tm parts{};
    char text[40] = "";
    if (const std::tm* utc = std::gmtime(&t)) {
        parts = *utc;
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
    }
    return text;
}

void CBookDumper::Run()
{
    if (!m_book.HasContainerHeader()) {
        Line("file of %llu bytes: too short for the %u-byte container header", (unsigned long long)m_book.FileSize(),
             kContainerHeaderSize);
        return;
    }
    Header();
    RecordList();
    if (!m_book.HasBookHeader()) {
        m_out << '\n';
        Line("no book header record (record 0 is missing or shorter than %u bytes)", kBookHeaderRecordSize);
        return;
    }
    BookHeader();
    for (const BookSection& section : m_book.Sections())
        Section(section);
}

void CBookDumper::Header()
{
    const LDBHeader& h = m_book.Header();
    const auto* name = reinterpret_cast<const uint8_t*>(h.name);
    size_t nameLength = TerminatedLength(name, kDatabaseNameField);
    Line("Container header (%llu bytes in the file)", (unsigned long long)m_book.FileSize());
    Line("  name                 \"%s\"",
         DisplayText(name, nameLength == kNoTerminator ? kDatabaseNameField : nameLength).c_str());
    Line("  attributes           0x%04X", h.attributes);
    Line("  version              %u", h.version);
    Line("  creation time        %u (%s)", h.creationTime, TimeText(h.creationTime).c_str());
    Line("  modification time    %u (%s)", h.modificationTime, TimeText(h.modificationTime).c_str());
    Line("  backup time          %u", h.backupTime);
    Line("  modification number  %u", h.modificationNumber);
    Line("  app-info offset      %u", h.appInfoOffset);
    Line("  sort-info offset     %u", h.sortInfoOffset);
    Line("  type                 \"%s\"", FourCCText(h.type).c_str());
    Line("  creator              \"%s\"", FourCCText(h.creator).c_str());
    Line("  unique-ID seed       %u", h.uniqueIdSeed);
    Line("  next record list     %u", h.nextRecordList);
    Line("  records              %u", h.recordCount);
}

void CBookDumper::RecordList()
{
    m_out << '\n';
    Line("Record list");
    Line("  %6s %10s %8s %5s %9s", "record", "offset", "size", "attr", "unique ID");
    for (uint32_t i = 0; i < m_book.RecordCount(); ++i) {
        const RecordEntry& e = m_book.Entries()[i];
        Line("  %6u %10u %8u  0x%02X  0x%06X", i, e.offset, m_book.RecordSize(i), e.attributes, e.uniqueId);
    }
    if (!m_book.RecordListComplete())
        Line("  (the file ends after %u of %u entries)", m_book.RecordCount(), m_book.Header().recordCount);
}

void CBookDumper::BookHeader()
{
    const BookHeaderRecord& h = m_book.BookHeader();
    m_out << '\n';
    Line("Book header record (record 0)");
    Line("  format version       %u", h.formatVersion);
    Line("  feature bits         0x%08X", h.features);
    Line("  first after text     %u", h.firstAfterText);
    Line("  page entries         small %u, large %u", h.smallEntries, h.largeEntries);
    Line("  byte 34, byte 35     %u, %u", h.byte34, h.byte35);
    Line("  random value         0x%08X", h.randomValue);
    Line("  %-22s %6s %6s", "section", "first", "count");
    for (const BookSection& s : m_book.Sections())
        Line("  %-22s %6u %6u", s.name, s.first, s.count);
}

void CBookDumper::PrintText(const std::vector<uint8_t>& plain)
{
    Line("----");
    m_out << DisplayText(plain.data(), plain.size(), true);
    if (!plain.empty() && plain.back() != '\n')
        m_out << '\n';
    Line("----");
}

const uint8_t* CBookDumper::Data(uint32_t index, uint32_t limit)
{
    m_record = CBookRecord();
    m_record = m_book.ReadRecordStart(index, limit);
    const uint8_t* p = m_record.Data();
    if (!p)
        Line("  record %u: not in the file", index);
    return p;
}

void CBookDumper::Section(const BookSection& section)
{
    m_out << '\n';
    if (section.count == 0) {
        Line("Section %s: no records", section.name);
        return;
    }
    Line("Section %s: records %u to %u", section.name, section.first, section.first + section.count - 1);
    if (uint64_t(section.first) + section.count > m_book.RecordCount()) {
        Line("  (beyond the record list of %u records)", m_book.RecordCount());
        return;
    }
    switch (section.kind) {
    case SectionKind::Text:
        Text(section);
        break;
    case SectionKind::SmallPages:
    case SectionKind::LargePages:
        Pages(section);
        break;
    case SectionKind::Chapters:
        Strings(section, "title");
        break;
    case SectionKind::Links:
        Strings(section, "name");
        break;
    case SectionKind::Images:
        Images(section);
        break;
    case SectionKind::Index:
        Index(section);
        break;
    case SectionKind::Metadata:
        Metadata(section);
        break;
    case SectionKind::Sidebars:
    case SectionKind::Footnotes:
        Notes(section);
        break;
    case SectionKind::TextSizes:
        TextSizes(section);
        break;
    case SectionKind::EndMarker: {
        // Shown as far as a marker goes (a damaged one may be long).
        const uint8_t* p = Data(section.first, 64);
        if (p) {
            Line("  \"%s\"%s", DisplayText(p, m_record.Size()).c_str(),
                 m_book.RecordSize(section.first) > m_record.Size() ? "..." : "");
        }
        break;
    }
    }
}

void CBookDumper::Text(const BookSection& section)
{
    std::vector<uint8_t> plain;
    for (uint32_t i = 0; i < section.count; ++i) {
        uint32_t index = section.first + i;
        const uint8_t* p = Data(index);
        if (!p)
            continue;
        uint32_t size = m_book.RecordSize(index);
        InflateResult result = InflateRecord(p, size, kMaxTextRecordSize, plain);
        if (result == InflateResult::Ok) {
            Line("  text record %u: %u bytes stored, %zu bytes of text", i + 1, size, plain.size());
        } else {
            Line("  text record %u: %u bytes stored, %s", i + 1, size,
                 result == InflateResult::TooLong ? "more than 8192 bytes of text" : "not valid zlib data");
        }
        if (m_options.text && result == InflateResult::Ok)
            PrintText(plain);
    }
}

void CBookDumper::Pages(const BookSection& section)
{
    Line("  %8s %6s %6s %10s %6s  %s", "page", "record", "offset", "position", "style", "(alignment, font, styles)");
    for (uint32_t i = 0; i < section.count; ++i) {
        uint32_t index = section.first + i;
        const uint8_t* p = Data(index);
        uint32_t size = m_book.RecordSize(index);
        if (!p)
            continue;
        Line("  record %u: %u bytes, %u entries", index, size, size / kPageEntrySize);
        for (uint32_t at = 0; at + kPageEntrySize <= size; at += kPageEntrySize) {
            uint16_t style = ReadU16At(p + at + kPageStyleAt);
            Line("  %8u %6u %6u %10u 0x%04X  %s", ReadU16At(p + at), ReadU16At(p + at + 2), ReadU16At(p + at + 4),
                 ReadU32At(p + at + 6), style, StyleWordText(style).c_str());
        }
    }
}

void CBookDumper::Strings(const BookSection& section, const char* what)
{
    for (uint32_t i = 0; i < section.count; ++i) {
        uint32_t index = section.first + i;
        const uint8_t* p = Data(index);
        uint32_t size = m_book.RecordSize(index);
        if (!p)
            continue;
        if (size < 5) {
            Line("  record %u: %u bytes, too short", index, size);
            continue;
        }
        uint32_t position = ReadU32At(p);
        size_t length = TerminatedLength(p + 4, size - 4);
        std::string text = DisplayText(p + 4, length == kNoTerminator ? size - 4 : length);
        if (position == 0xFFFFFFFF)
            Line("  record %u: position undefined, %s \"%s\"", index, what, text.c_str());
        else
            Line("  record %u: position %u, %s \"%s\"", index, position, what, text.c_str());
    }
}

void CBookDumper::Images(const BookSection& section)
{
    for (uint32_t i = 0; i < section.count; ++i) {
        uint32_t index = section.first + i;
        const uint8_t* p = Data(index);
        uint32_t size = m_book.RecordSize(index);
        if (!p)
            continue;
        if (size < kImageRecordHeaderSize) {
            Line("  record %u: %u bytes, too short for an image", index, size);
            continue;
        }
        size_t nameLength = TerminatedLength(p + kImageNameAt, kImageNameField);
        Line("  record %u: \"%s\", tag \"%s\", %ux%u, %u bytes of PNG data", index,
             DisplayText(p + kImageNameAt, nameLength == kNoTerminator ? kImageNameField : nameLength).c_str(),
             DisplayText(p, 4).c_str(), ReadU16At(p + kImageWidthAt), ReadU16At(p + kImageHeightAt),
             size - kImageRecordHeaderSize);
        PngSummary png;
        std::string fault = ReadPngSummary(p + kImageRecordHeaderSize, size - kImageRecordHeaderSize, png);
        if (png.width || png.height) {
            Line("    PNG %ux%u, bit depth %u, colour type %u (%s), %s, %u palette entries, %u bytes of image data",
                 png.width, png.height, png.bitDepth, png.colourType, ColourTypeName(png.colourType),
                 png.interlace ? "interlaced" : "not interlaced", png.paletteEntries, png.dataBytes);
            Line("    chunks: %s", png.chunks.c_str());
        }
        if (!fault.empty())
            Line("    not a well-formed PNG file: %s", fault.c_str());
    }
}

void CBookDumper::Index(const BookSection& section)
{
    uint32_t headingIndex = section.first;
    if (const uint8_t* p = Data(headingIndex)) {
        uint32_t size = m_book.RecordSize(headingIndex);
        Line("  record %u: group headings", headingIndex);
        size_t at = 0;
        for (uint32_t group = 1; at < size; ++group) {
            size_t length = TerminatedLength(p + at, size - at);
            size_t shown = length == kNoTerminator ? size - at : length;
            Line("    group %u: \"%s\"", group, DisplayText(p + at, shown).c_str());
            at += shown + 1;
        }
    }
    for (uint32_t i = 1; i < section.count; ++i) {
        uint32_t index = section.first + i;
        const uint8_t* p = Data(index);
        uint32_t size = m_book.RecordSize(index);
        if (!p)
            continue;
        Line("  record %u: entries of group %u (%u bytes)", index, i, size);
        size_t at = 0;
        while (at + 4 < size) {
            size_t length = TerminatedLength(p + at + 4, size - at - 4);
            size_t shown = length == kNoTerminator ? size - at - 4 : length;
            Line("    text record %u, offset %u: \"%s\"", ReadU16At(p + at), ReadU16At(p + at + 2),
                 DisplayText(p + at + 4, shown).c_str());
            at += shown + 5;
        }
    }
}

void CBookDumper::Metadata(const BookSection& section)
{
    static const char* const kFields[] = {"title", "author", "copyright", "publisher", "eISBN"};
    const uint8_t* p = Data(section.first);
    uint32_t size = m_book.RecordSize(section.first);
    if (!p)
        return;
    size_t at = 0;
    for (size_t field = 0; at < size; ++field) {
        size_t length = TerminatedLength(p + at, size - at);
        size_t shown = length == kNoTerminator ? size - at : length;
        Line("  %-10s \"%s\"", field < 5 ? kFields[field] : "(extra)", DisplayText(p + at, shown).c_str());
        at += shown + 1;
    }
}

void CBookDumper::Notes(const BookSection& section)
{
    uint32_t tableIndex = section.first;
    if (const uint8_t* p = Data(tableIndex)) {
        uint32_t size = m_book.RecordSize(tableIndex);
        Line("  record %u: table", tableIndex);
        size_t at = 0;
        while (at + 4 <= size) {
            uint32_t length = p[at + 2];
            size_t shown = at + 3 + length <= size ? length : size - at - 3;
            Line("    \"%s\": %u text records", DisplayText(p + at + 3, shown).c_str(), ReadU16At(p + at));
            at += length + 4u;
        }
    }
    std::vector<uint8_t> plain;
    for (uint32_t i = 1; i < section.count; ++i) {
        uint32_t index = section.first + i;
        const uint8_t* p = Data(index);
        if (!p)
            continue;
        uint32_t size = m_book.RecordSize(index);
        InflateResult result = InflateRecord(p, size, kMaxTextRecordSize, plain);
        if (result == InflateResult::Ok) {
            Line("  record %u: %u bytes stored, %zu bytes of text", index, size, plain.size());
            if (m_options.text)
                PrintText(plain);
        } else {
            Line("  record %u: %u bytes stored, not decompressible", index, size);
        }
    }
}

void CBookDumper::TextSizes(const BookSection& section)
{
    const uint8_t* p = Data(section.first);
    uint32_t size = m_book.RecordSize(section.first);
    if (!p)
        return;
    uint64_t total = 0;
    for (uint32_t at = 0; at + 2 <= size; at += 2)
        total += ReadU16At(p + at);
    Line("  %u text records, %llu bytes of text in all", size / 2, (unsigned long long)total);
    std::string line;
    for (uint32_t at = 0; at + 2 <= size; at += 2) {
        line += line.empty() ? "   " : "";
        line += " " + std::to_string(ReadU16At(p + at));
        if ((at / 2) % 10 == 9 || at + 4 > size) {
            Line("%s", line.c_str());
            line.clear();
        }
    }
}

} // namespace

void DumpBook(const CBookImage& book, const DumpOptions& options, std::ostream& out)
{
    CBookDumper(book, options, out).Run();
}
