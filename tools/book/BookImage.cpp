#include "tools/book/BookImage.h"

#include <cstring>
#include <utility>

namespace {

class CMemoryBookBytes : public IBookBytes {
public:
    explicit CMemoryBookBytes(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    uint64_t Size() const override { return m_bytes.size(); }
    bool ReadAt(uint64_t offset, void* into, size_t n) override
    {
        if (n)
            std::memcpy(into, m_bytes.data() + offset, n);
        return true;
    }

private:
    std::vector<uint8_t> m_bytes;
};

// The record list is read in pieces of this many entries.
constexpr uint32_t kEntriesPerRead = 1024;

} // namespace

const uint8_t* CBookRecord::Data() const
{
    static const uint8_t kNothing = 0;
    if (!m_present)
        return nullptr;
    return m_bytes.empty() ? &kNothing : m_bytes.data();
}

CBookImage::CBookImage(std::vector<uint8_t> bytes) : CBookImage(std::make_unique<CMemoryBookBytes>(std::move(bytes)))
{
}

CBookImage::CBookImage(std::unique_ptr<IBookBytes> bytes)
    : m_bytes(std::move(bytes)), m_size(m_bytes ? m_bytes->Size() : 0)
{
    ParseContainer();
    ParseBookHeader();
}

bool CBookImage::ReadBytes(uint64_t offset, void* into, size_t n) const
{
    if (!m_bytes || offset > m_size || n > m_size - offset)
        return false;
    if (!m_bytes->ReadAt(offset, into, n)) {
        m_readFailed = true;
        return false;
    }
    return true;
}

void CBookImage::ParseContainer()
{
    uint8_t p[kContainerHeaderSize];
    if (!ReadBytes(0, p, kContainerHeaderSize))
        return;
    m_header = ReadLDBHeader(p);
    m_hasHeader = true;

    // Only the entries that lie inside the file.
    uint64_t listed = (m_size - kContainerHeaderSize) / kRecordEntrySize;
    uint32_t count = listed < m_header.recordCount ? uint32_t(listed) : m_header.recordCount;
    std::vector<uint8_t> piece;
    for (uint32_t first = 0; first < count; first += kEntriesPerRead) {
        uint32_t n = count - first < kEntriesPerRead ? count - first : kEntriesPerRead;
        piece.resize(size_t(n) * kRecordEntrySize);
        if (!ReadBytes(kContainerHeaderSize + uint64_t(first) * kRecordEntrySize, piece.data(), piece.size()))
            return;
        for (uint32_t i = 0; i < n; ++i) {
            const uint8_t* e = piece.data() + size_t(i) * kRecordEntrySize;
            m_entries.push_back(ReadRecordEntry(e));
        }
    }
}

uint32_t CBookImage::RecordSize(uint32_t index) const
{
    if (index >= m_entries.size())
        return 0;
    uint64_t start = m_entries[index].offset;
    uint64_t end = index + 1 < m_entries.size() ? m_entries[index + 1].offset : m_size;
    if (index + 1 == m_header.recordCount || index + 1 < m_entries.size())
        return end > start ? uint32_t(end - start) : 0;
    return 0; // the list is cut short: the next offset is unknown
}

CBookRecord CBookImage::ReadRecordStart(uint32_t index, uint32_t n) const
{
    CBookRecord record;
    if (index >= m_entries.size())
        return record;
    uint64_t start = m_entries[index].offset;
    uint32_t size = RecordSize(index);
    if (start + size > m_size)
        return record;
    record.m_bytes.resize(n < size ? n : size);
    record.m_present = ReadBytes(start, record.m_bytes.data(), record.m_bytes.size());
    if (!record.m_present)
        record.m_bytes.clear();
    return record;
}

CBookRecord CBookImage::ReadRecord(uint32_t index) const
{
    return ReadRecordStart(index, RecordSize(index));
}

void CBookImage::ParseBookHeader()
{
    if (m_entries.empty() || RecordSize(0) < kBookHeaderRecordSize)
        return;
    const CBookRecord record = ReadRecordStart(0, kBookHeaderRecordSize);
    const uint8_t* p = record.Data();
    if (!p)
        return;
    m_bookHeader = ReadBookHeaderRecord(p);
    const BookHeaderRecord& h = m_bookHeader;
    m_hasBookHeader = true;

    uint32_t textCount = h.firstAfterText > 0 ? h.firstAfterText - 1u : 0u;
    m_sections = {
        {SectionKind::Text, "text", 1, textCount},
        {SectionKind::SmallPages, "small-font page table", h.firstSmall, h.smallRecords},
        {SectionKind::LargePages, "large-font page table", h.firstLarge, h.largeRecords},
        {SectionKind::Chapters, "chapters", h.firstChapter, h.chapterCount},
        {SectionKind::Links, "links", h.firstLink, h.linkCount},
        {SectionKind::Images, "images", h.firstImage, h.imageCount},
        {SectionKind::Index, "index", h.firstIndex, h.indexCount},
        {SectionKind::Metadata, "metadata", h.metadataIndex, h.metadataCount},
        {SectionKind::Sidebars, "sidebars", h.firstSidebar, h.sidebarCount},
        {SectionKind::Footnotes, "footnotes", h.firstFootnote, h.footnoteCount},
        {SectionKind::TextSizes, "text sizes", h.textSizeIndex, h.textSizeCount},
        {SectionKind::EndMarker, "end marker", m_header.recordCount > 0 ? m_header.recordCount - 1u : 0u, 1},
    };
}

const BookSection* CBookImage::FindSection(SectionKind kind) const
{
    for (const BookSection& section : m_sections)
        if (section.kind == kind)
            return &section;
    return nullptr;
}

bool CBookImage::ReadTextSizes(std::vector<uint16_t>& sizes) const
{
    sizes.clear();
    const BookSection* text = FindSection(SectionKind::Text);
    const BookSection* table = FindSection(SectionKind::TextSizes);
    if (!text || !table || table->count != 1)
        return false;
    const CBookRecord record = ReadRecord(table->first);
    const uint8_t* p = record.Data();
    uint32_t size = RecordSize(table->first);
    if (!p || size != 2 * text->count)
        return false;
    for (uint32_t i = 0; i < text->count; ++i)
        sizes.push_back(ReadU16At(p + 2 * i));
    return true;
}

std::string FourCCText(uint32_t code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = char((code >> shift) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return text;
}
