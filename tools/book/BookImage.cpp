#include "tools/book/BookImage.h"

#include <utility>

CBookImage::CBookImage(std::vector<uint8_t> bytes)
    : m_bytes(std::move(bytes))
{
    ParseContainer();
    ParseBookHeader();
}

void CBookImage::ParseContainer()
{
    if (m_bytes.size() < kContainerHeaderSize) {
        return;
    }
    const uint8_t* p = m_bytes.data();
    for (int i = 0; i < 32; ++i) {
        m_header.name[i] = p[i];
    }
    m_header.attributes = ReadU16At(p + 32);
    m_header.version = ReadU16At(p + 34);
    m_header.created = ReadU32At(p + 36);
    m_header.modified = ReadU32At(p + 40);
    m_header.backupTime = ReadU32At(p + 44);
    m_header.modificationNumber = ReadU32At(p + 48);
    m_header.appInfoOffset = ReadU32At(p + 52);
    m_header.sortInfoOffset = ReadU32At(p + 56);
    m_header.type = ReadU32At(p + 60);
    m_header.creator = ReadU32At(p + 64);
    m_header.uniqueIdSeed = ReadU32At(p + 68);
    m_header.nextRecordList = ReadU32At(p + 72);
    m_header.recordCount = ReadU16At(p + 76);
    m_hasHeader = true;

    for (uint32_t i = 0; i < m_header.recordCount; ++i) {
        uint64_t at = kContainerHeaderSize + uint64_t(i) * kRecordEntrySize;
        if (at + kRecordEntrySize > m_bytes.size()) {
            break;
        }
        RecordEntry entry;
        entry.offset = ReadU32At(p + at);
        entry.attributes = p[at + 4];
        entry.uniqueId = ReadU32At(p + at + 4) & 0xFFFFFF;
        m_entries.push_back(entry);
    }
}

uint32_t CBookImage::RecordSize(uint32_t index) const
{
    if (index >= m_entries.size()) {
        return 0;
    }
    uint64_t start = m_entries[index].offset;
    uint64_t end = index + 1 < m_entries.size() ? m_entries[index + 1].offset : m_bytes.size();
    if (index + 1 == m_header.recordCount || index + 1 < m_entries.size()) {
        return end > start ? uint32_t(end - start) : 0;
    }
    return 0; // the list is cut short: the next offset is unknown
}

const uint8_t* CBookImage::RecordData(uint32_t index) const
{
    if (index >= m_entries.size()) {
        return nullptr;
    }
    uint64_t start = m_entries[index].offset;
    if (start + RecordSize(index) > m_bytes.size()) {
        return nullptr;
    }
    return m_bytes.data() + start;
}

void CBookImage::ParseBookHeader()
{
    if (m_entries.empty() || RecordSize(0) < kBookHeaderRecordSize || !RecordData(0)) {
        return;
    }
    const uint8_t* p = RecordData(0);
    BookHeaderRecord& h = m_bookHeader;
    h.formatVersion = ReadU16At(p + 0);
    h.reserved2 = ReadU16At(p + 2);
    h.features = ReadU32At(p + 4);
    h.smallEntries = ReadU16At(p + 8);
    h.largeEntries = ReadU16At(p + 10);
    h.firstAfterText = ReadU16At(p + 12);
    h.chapterCount = ReadU16At(p + 14);
    h.smallRecords = ReadU16At(p + 16);
    h.largeRecords = ReadU16At(p + 18);
    h.imageCount = ReadU16At(p + 20);
    h.linkCount = ReadU16At(p + 22);
    h.metadataCount = ReadU16At(p + 24);
    h.indexCount = ReadU16At(p + 26);
    h.footnoteCount = ReadU16At(p + 28);
    h.sidebarCount = ReadU16At(p + 30);
    h.firstChapter = ReadU16At(p + 32);
    h.byte34 = p[34];
    h.byte35 = p[35];
    h.firstSmall = ReadU16At(p + 36);
    h.firstLarge = ReadU16At(p + 38);
    h.firstImage = ReadU16At(p + 40);
    h.firstLink = ReadU16At(p + 42);
    h.metadataIndex = ReadU16At(p + 44);
    h.firstIndex = ReadU16At(p + 46);
    h.firstFootnote = ReadU16At(p + 48);
    h.firstSidebar = ReadU16At(p + 50);
    h.textSizeIndex = ReadU16At(p + 52);
    h.textSizeCount = ReadU16At(p + 54);
    h.reserved56 = ReadU32At(p + 56);
    h.randomValue = ReadU32At(p + 60);
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
    for (const BookSection& section : m_sections) {
        if (section.kind == kind) {
            return &section;
        }
    }
    return nullptr;
}

bool CBookImage::ReadTextSizes(std::vector<uint16_t>& sizes) const
{
    sizes.clear();
    const BookSection* text = FindSection(SectionKind::Text);
    const BookSection* table = FindSection(SectionKind::TextSizes);
    if (!text || !table || table->count != 1) {
        return false;
    }
    const uint8_t* p = RecordData(table->first);
    uint32_t size = RecordSize(table->first);
    if ((!p && size) || size != 2 * text->count) {
        return false;
    }
    for (uint32_t i = 0; i < text->count; ++i) {
        sizes.push_back(ReadU16At(p + 2 * i));
    }
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
