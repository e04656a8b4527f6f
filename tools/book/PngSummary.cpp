#include "tools/book/PngSummary.h"

#include <cstring>

#include "tools/book/BookImage.h"

namespace {

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void AddWord(std::string& list, const std::string& word)
{
    if (!list.empty())
        list += ' ';
    list += word;
}

} // namespace

std::string ReadPngSummary(const uint8_t* data, uint32_t size, PngSummary& summary)
{
    summary = PngSummary();
    if (size < kPngHeaderBytes || std::memcmp(data, kPngSignature, 8) != 0)
        return "no PNG signature";
    if (ReadU32At(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return "no IHDR chunk after the signature";
    summary.width = ReadU32At(data + 16);
    summary.height = ReadU32At(data + 20);
    summary.bitDepth = data[24];
    summary.colourType = data[25];
    summary.compression = data[26];
    summary.filter = data[27];
    summary.interlace = data[28];

    uint32_t at = 8;
    while (at < size) {
        if (size - at < 12)
            return "a chunk cut off at byte " + std::to_string(at);
        uint32_t length = ReadU32At(data + at);
        if (length > size - at - 12)
            return "a chunk longer than the data at byte " + std::to_string(at);
        std::string type(reinterpret_cast<const char*>(data + at + 4), 4);
        for (char& c : type)
            if (c < 0x21 || c > 0x7E)
                c = '?';
        AddWord(summary.chunks, type);
        if (type == "PLTE") {
            summary.paletteEntries = length / 3;
            summary.paletteBytes = length;
        } else if (type == "IDAT") {
            summary.dataBytes += length;
        } else if (type[0] >= 'a' && type[0] <= 'z') {
            AddWord(summary.ancillary, type);
        }
        at += length + 12;
        if (type == "IEND")
            return at == size ? "" : "bytes after the IEND chunk";
    }
    return "no IEND chunk";
}
