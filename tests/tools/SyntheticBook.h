// Test support: composes a small, well-formed book file byte by byte, so the
// checker and the dump can be tested apart from the compiler.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace synthetic {

using Bytes = std::vector<uint8_t>;

inline void PutU16(Bytes& b, uint32_t v)
{
    b.push_back(uint8_t(v >> 8));
    b.push_back(uint8_t(v));
}

inline void PutU32(Bytes& b, uint32_t v)
{
    PutU16(b, v >> 16);
    PutU16(b, v & 0xFFFF);
}

inline void PutString(Bytes& b, const std::string& s)
{
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
}

inline Bytes Compress(const std::string& text)
{
    uLongf size = compressBound(uLong(text.size()));
    Bytes out(size);
    compress(out.data(), &size, reinterpret_cast<const Bytef*>(text.data()), uLong(text.size()));
    out.resize(size);
    return out;
}

struct Book {
    // A chapter and an anchor at the start, an index item in each record.
    std::vector<std::string> texts = {"\\x\\Q=\"anchor\"Chapter one\\x\n\\Iapple\\I ok\n",
                                      "Or \\Ipear\\I in the second record of the little book.\n"};
    // (position, title)
    std::vector<std::pair<uint32_t, std::string>> chapters = {{0, "Chapter one"}};
    std::vector<std::pair<uint32_t, std::string>> links = {{14, "anchor"}, {0xFFFFFFFF, "missing"}};
    std::vector<std::string> meta = {"A Small Book", "An Author", "(c) 2024", "A Publisher", "978-0-00-000000-0"};
    bool withIndex = true;
    bool withSidebar = true;
    bool dictionary = false; // a dictionary has no page tables
    // One image record holding this PNG file (none when empty).
    Bytes imagePng;
    uint16_t imageWidth = 0;
    uint16_t imageHeight = 0;
};

inline void PutChunk(Bytes& png, const char* type, const Bytes& data)
{
    PutU32(png, uint32_t(data.size()));
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (!data.empty())
        crc = crc32(crc, data.data(), uInt(data.size())); // a null buffer would reset the CRC
    PutU32(png, uint32_t(crc));
}

// A palette PNG of width x height pixels at 8 bits, all of colour 0, with
// the extra chunk `ancillary` (its type, empty data) after the palette when
// given.
inline Bytes TinyPng(uint32_t width, uint32_t height, const char* ancillary = nullptr)
{
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutU32(header, width);
    PutU32(header, height);
    header.insert(header.end(), {8, 3, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "PLTE", Bytes{0, 0, 0, 255, 255, 255});
    if (ancillary)
        PutChunk(png, ancillary, Bytes{});
    std::string rows(size_t(height) * (width + 1), '\0');
    Bytes data = Compress(rows);
    PutChunk(png, "IDAT", data);
    PutChunk(png, "IEND", Bytes{});
    return png;
}

// Record layout written here: record 0 book header; text records; small
// page table; large page table; chapters; links; images (none); index
// (heading + one group); metadata; sidebars (table + one record);
// footnotes (none); text sizes; end marker.
inline Bytes Compose(const Book& book)
{
    std::vector<Bytes> records(1); // record 0 filled in at the end
    uint32_t textStart = 1;
    for (const std::string& t : book.texts)
        records.push_back(Compress(t));
    std::vector<uint32_t> ends = {0};
    for (const std::string& t : book.texts)
        ends.push_back(ends.back() + uint32_t(t.size()));
    // One page per text record, at the start of each record.
    auto pageRecord = [&] {
        Bytes b;
        for (size_t i = 0; i < book.texts.size(); ++i) {
            PutU16(b, uint32_t(i));
            PutU16(b, uint32_t(i + 1));
            PutU16(b, 0);
            PutU32(b, ends[i]);
            PutU16(b, 0x0001);
        }
        return b;
    };
    const uint32_t pageRecords = book.dictionary ? 0 : 1;
    const uint32_t pageEntries = book.dictionary ? 0 : uint32_t(book.texts.size());
    uint32_t firstSmall = uint32_t(records.size());
    if (pageRecords)
        records.push_back(pageRecord());
    uint32_t firstLarge = uint32_t(records.size());
    if (pageRecords)
        records.push_back(pageRecord());
    uint32_t firstChapter = uint32_t(records.size());
    for (const auto& [position, title] : book.chapters) {
        Bytes b;
        PutU32(b, position);
        PutString(b, title);
        records.push_back(b);
    }
    uint32_t firstLink = uint32_t(records.size());
    for (const auto& [position, name] : book.links) {
        Bytes b;
        PutU32(b, position);
        PutString(b, name);
        records.push_back(b);
    }
    uint32_t firstImage = uint32_t(records.size());
    if (!book.imagePng.empty()) {
        Bytes b = {'P', 'N', 'G', ' '};
        Bytes name(32, 0);
        std::memcpy(name.data(), "picture.png", 11);
        b.insert(b.end(), name.begin(), name.end());
        b.resize(b.size() + 22, 0);
        PutU16(b, book.imageWidth);
        PutU16(b, book.imageHeight);
        b.insert(b.end(), book.imagePng.begin(), book.imagePng.end());
        records.push_back(b);
    }
    uint32_t imageCount = uint32_t(records.size()) - firstImage;
    uint32_t firstIndex = uint32_t(records.size());
    if (book.withIndex) {
        Bytes heading;
        PutString(heading, "apple");
        records.push_back(heading);
        Bytes entries;
        PutU16(entries, 1);
        PutU16(entries, 27);
        PutString(entries, "apple");
        PutU16(entries, 2);
        PutU16(entries, 3);
        PutString(entries, "pear");
        records.push_back(entries);
    }
    uint32_t indexCount = uint32_t(records.size()) - firstIndex;
    uint32_t metadataIndex = uint32_t(records.size());
    Bytes meta;
    for (const std::string& s : book.meta)
        PutString(meta, s);
    records.push_back(meta);
    uint32_t firstSidebar = uint32_t(records.size());
    if (book.withSidebar) {
        Bytes table;
        PutU16(table, 1);
        table.push_back(4);
        PutString(table, "note");
        records.push_back(table);
        records.push_back(Compress("A sidebar's text.\n"));
    }
    uint32_t sidebarCount = uint32_t(records.size()) - firstSidebar;
    uint32_t firstFootnote = uint32_t(records.size());
    uint32_t textSizeIndex = uint32_t(records.size());
    Bytes sizes;
    for (const std::string& t : book.texts)
        PutU16(sizes, uint32_t(t.size()));
    records.push_back(sizes);
    records.push_back(Bytes{'M', 'e', 'T', 'a', 'I', 'n', 'F', 'o', 0});

    Bytes& h = records[0];
    PutU16(h, 10);
    PutU16(h, 0);
    PutU32(h, book.dictionary ? 0x46240 : 0x6240);
    PutU16(h, pageEntries);
    PutU16(h, pageEntries);
    PutU16(h, textStart + uint32_t(book.texts.size()));
    PutU16(h, uint32_t(book.chapters.size()));
    PutU16(h, pageRecords);
    PutU16(h, pageRecords);
    PutU16(h, imageCount);
    PutU16(h, uint32_t(book.links.size()));
    PutU16(h, 1);
    PutU16(h, indexCount);
    PutU16(h, 0);
    PutU16(h, sidebarCount);
    PutU16(h, firstChapter);
    h.push_back(10);
    h.push_back(0);
    for (uint32_t v : {firstSmall, firstLarge, firstImage, firstLink, metadataIndex, firstIndex, firstFootnote,
                       firstSidebar, textSizeIndex, 1u})
        PutU16(h, v);
    PutU32(h, 0);
    PutU32(h, 0x12345678);
    h.resize(132, 0);

    Bytes file;
    Bytes name(32, 0);
    std::memcpy(name.data(), book.meta[0].data(), book.meta[0].size() < 29 ? book.meta[0].size() : 29);
    file.insert(file.end(), name.begin(), name.end());
    PutU16(file, 8);
    PutU16(file, 0);
    PutU32(file, 1700000000);
    PutU32(file, 1700000001);
    for (int i = 0; i < 4; ++i)
        PutU32(file, 0);
    file.insert(file.end(), {'V', 'x', book.dictionary ? uint8_t('D') : uint8_t('B'),
                             book.dictionary ? uint8_t('c') : uint8_t('k')});
    file.insert(file.end(), {'V', 'x', 'C', 'r'});
    PutU32(file, 0);
    PutU32(file, 0);
    PutU16(file, uint32_t(records.size()));
    uint32_t offset = 80 + 8 * uint32_t(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        PutU32(file, offset);
        PutU32(file, 0x6F8000 + uint32_t(i));
        offset += uint32_t(records[i].size());
    }
    PutU16(file, 0);
    for (const Bytes& r : records)
        file.insert(file.end(), r.begin(), r.end());
    return file;
}

// File offset of record i's list entry.
inline size_t EntryOffset(uint32_t i)
{
    return 78 + 8 * size_t(i);
}

inline uint32_t GetU32(const Bytes& b, size_t at)
{
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

inline void SetU32(Bytes& b, size_t at, uint32_t v)
{
    b[at] = uint8_t(v >> 24);
    b[at + 1] = uint8_t(v >> 16);
    b[at + 2] = uint8_t(v >> 8);
    b[at + 3] = uint8_t(v);
}

} // namespace synthetic
