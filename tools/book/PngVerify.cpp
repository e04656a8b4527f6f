#include "tools/book/PngVerify.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "tools/book/BookImage.h"

namespace {

// Samples per pixel of each colour type; 0 for a type PNG does not have.
uint32_t Channels(uint8_t colourType)
{
    switch (colourType) {
    case 0:
        return 1; // grayscale
    case 2:
        return 3; // truecolour
    case 3:
        return 1; // palette
    case 4:
        return 2; // grayscale with alpha
    case 6:
        return 4; // truecolour with alpha
    default:
        return 0;
    }
}

bool BitDepthAllowed(uint8_t colourType, uint8_t depth)
{
    switch (colourType) {
    case 0:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

// Rows of one run of the filtered data: `rows` rows of `stride` bytes, the
// filter byte included.
struct RowRun {
    uint64_t rows;
    uint64_t stride;
};

std::vector<RowRun> RowRuns(const PngSummary& summary)
{
    std::vector<RowRun> runs;
    const uint32_t channels = Channels(summary.colourType);
    if (!channels || !BitDepthAllowed(summary.colourType, summary.bitDepth) || summary.interlace > 1)
        return runs;
    const uint64_t bitsPerPixel = uint64_t(channels) * summary.bitDepth;
    auto add = [&](uint64_t width, uint64_t height) {
        if (width && height)
            runs.push_back({height, 1 + (width * bitsPerPixel + 7) / 8});
    };
    if (summary.interlace == 0) {
        add(summary.width, summary.height);
        return runs;
    }
    // Adam7: the seven passes as (first column, column step, first row, row step).
    static const uint32_t kPasses[7][4] = {{0, 8, 0, 8}, {4, 8, 0, 8}, {0, 4, 4, 8}, {2, 4, 0, 4},
                                           {0, 2, 2, 4}, {1, 2, 0, 2}, {0, 1, 1, 2}};
    for (const auto& pass : kPasses) {
        uint64_t width = summary.width > pass[0] ? (uint64_t(summary.width) - pass[0] + pass[1] - 1) / pass[1] : 0;
        uint64_t height = summary.height > pass[2] ? (uint64_t(summary.height) - pass[2] + pass[3] - 1) / pass[3] : 0;
        add(width, height);
    }
    return runs;
}

std::string Number(uint8_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%u", unsigned(value));
    return text;
}

} // namespace

std::vector<PngCrcFault> FindPngCrcFaults(const uint8_t* data, uint32_t size)
{
    std::vector<PngCrcFault> faults;
    uint32_t at = 8;
    while (at + 12 <= size) {
        uint32_t length = ReadU32At(data + at);
        if (length > size - at - 12)
            break;
        uint32_t computed = uint32_t(crc32(0, data + at + 4, uInt(length + 4)));
        uint32_t stored = ReadU32At(data + at + 8 + length);
        if (computed != stored) {
            PngCrcFault fault;
            fault.type.assign(reinterpret_cast<const char*>(data + at + 4), 4);
            for (char& c : fault.type)
                if (c < 0x21 || c > 0x7E)
                    c = '?';
            fault.offset = at;
            fault.stored = stored;
            fault.computed = computed;
            faults.push_back(fault);
        }
        at += length + 12;
    }
    return faults;
}

std::vector<std::string> CheckPngHeaderFields(const PngSummary& summary)
{
    std::vector<std::string> faults;
    if (summary.width == 0 || summary.height == 0 || summary.width > 0x7FFFFFFF || summary.height > 0x7FFFFFFF) {
        faults.push_back("size: expected 1 to 2147483647 pixels each way, found " + std::to_string(summary.width) +
                         "x" + std::to_string(summary.height));
    }
    if (Channels(summary.colourType) && !BitDepthAllowed(summary.colourType, summary.bitDepth)) {
        faults.push_back(std::string("bit depth: expected ") +
                         (summary.colourType == 0   ? "1, 2, 4, 8 or 16"
                          : summary.colourType == 3 ? "1, 2, 4 or 8"
                                                    : "8 or 16") +
                         " for colour type " + Number(summary.colourType) + ", found " + Number(summary.bitDepth));
    }
    if (summary.compression != 0)
        faults.push_back("compression method: expected 0, found " + Number(summary.compression));
    if (summary.filter != 0)
        faults.push_back("filter method: expected 0, found " + Number(summary.filter));
    if (summary.colourType == 3 && BitDepthAllowed(3, summary.bitDepth)) {
        uint32_t most = 1u << summary.bitDepth;
        if (summary.paletteBytes % 3 != 0 || summary.paletteEntries == 0 || summary.paletteEntries > most) {
            faults.push_back("palette: expected 1 to " + std::to_string(most) + " colours of 3 bytes for bit depth " +
                             Number(summary.bitDepth) + ", found " + std::to_string(summary.paletteBytes) + " bytes");
        }
    }
    return faults;
}

uint64_t PngDataSizeFromHeader(const PngSummary& summary)
{
    uint64_t total = 0;
    for (const RowRun& run : RowRuns(summary))
        total += run.rows * run.stride;
    return total;
}

std::string CheckPngImageData(const uint8_t* data, uint32_t size, const PngSummary& summary)
{
    const std::vector<RowRun> runs = RowRuns(summary);
    const uint64_t expected = PngDataSizeFromHeader(summary);
    if (runs.empty() || expected == 0)
        return {}; // the header's own faults say it
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return "image data: could not be inflated here";
    // The filtered rows are streamed through a small window; only their
    // count and each row's filter byte are looked at.
    uint8_t window[65536];
    uint64_t produced = 0;
    size_t run = 0;
    uint64_t rowInRun = 0;
    uint64_t nextFilter = 0; // offset in the data of the next row's filter byte
    std::string fault;
    int rc = Z_OK;
    uint32_t at = 8;
    while (fault.empty() && rc != Z_STREAM_END && at + 12 <= size) {
        uint32_t length = ReadU32At(data + at);
        if (length > size - at - 12)
            break;
        bool idat = std::memcmp(data + at + 4, "IDAT", 4) == 0;
        const uint8_t* chunk = data + at + 8;
        at += length + 12;
        if (!idat)
            continue;
        stream.next_in = const_cast<Bytef*>(chunk);
        stream.avail_in = length;
        while (fault.empty() && rc != Z_STREAM_END) {
            stream.next_out = window;
            stream.avail_out = sizeof window;
            rc = inflate(&stream, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
                fault = "image data: expected zlib data, found data that does not inflate";
                break;
            }
            uint64_t got = sizeof window - stream.avail_out;
            while (nextFilter < produced + got && run < runs.size()) {
                uint8_t filter = window[nextFilter - produced];
                if (filter > 4) {
                    fault = "image data: row filter at byte " + std::to_string(nextFilter) +
                            ": expected a filter type 0 to 4, found " + Number(filter);
                    break;
                }
                nextFilter += runs[run].stride;
                if (++rowInRun == runs[run].rows) {
                    ++run;
                    rowInRun = 0;
                }
            }
            produced += got;
            if (fault.empty() && produced > expected) {
                fault = "image data: expected " + std::to_string(expected) +
                        " bytes of filtered rows (from the header), found more";
            }
            if (stream.avail_in == 0 && stream.avail_out != 0)
                break; // all of this chunk is out: on to the next one
            if (rc == Z_BUF_ERROR && got == 0)
                break;
        }
    }
    inflateEnd(&stream);
    if (!fault.empty())
        return fault;
    if (rc != Z_STREAM_END) {
        return "image data: expected a complete zlib stream, found one cut short after " + std::to_string(produced) +
               " bytes";
    }
    if (produced != expected) {
        return "image data: expected " + std::to_string(expected) +
               " bytes of filtered rows (from the header), found " + std::to_string(produced);
    }
    return {};
}
