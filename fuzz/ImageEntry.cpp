// The image fuzz entry: the probe of a named image and the PNG
// re-encoding, from memory and from the file, on the same bytes.
#include <cstring>
#include <filesystem>

#include "book/ImageProbe.h"
#include "book/PngReencode.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/RkString.h"
#include "framework/io/File.h"
#include "fuzz/FuzzEntries.h"
#include "fuzz/FuzzSupport.h"

namespace {

// The header is read here on its own, not through the probe being judged.
constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr char kKept[] = "kept";
constexpr uint32_t kKeptSize = 4;

// The probe, logged and silent: a failure always has its message, and
// success means a grayscale or palette PNG header of the size it says.
std::string CheckProbe(const std::string& folder, const uint8_t* data, size_t size)
{
    const CRkString directory(folder.c_str(), kEncodingDeviceLatin);
    CSilentReports reports(false);
    uint16_t width = 7;
    uint16_t height = 7;
    const bool failed = ProbeImage(directory, "x.png", width, height, MessagePass{});
    const uint32_t messages = reports.Errors() + reports.Warnings();
    if (failed && reports.Errors() == 0)
        return "the probe failed without an error";
    if (!failed) {
        if (messages != 0)
            return "the probe reported a message and succeeded";
        if (size < 26 || std::memcmp(data, kSignature, 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0 ||
            (data[25] != 0 && data[25] != 3))
            return "the probe accepted a header that is not a grayscale or palette PNG";
        if (width != ((data[18] << 8) | data[19]) || height != ((data[22] << 8) | data[23]))
            return "the probe read another size than the header holds";
    }

    uint16_t quietWidth = 7;
    uint16_t quietHeight = 7;
    const bool quietFailed = ProbeImage(directory, "x.png", quietWidth, quietHeight, MessagePass{false, true});
    if (reports.Errors() + reports.Warnings() != messages)
        return "the silent probe reported a message";
    if (quietFailed != failed || quietWidth != width || quietHeight != height)
        return "the silent probe came to another result";
    return {};
}

// A successful re-encoding: a PNG of the same size and colour type, not
// interlaced, under the size limit, which re-encodes to itself.
std::string CheckReencoded(const uint8_t* data, size_t size, const uint8_t* png, uint32_t length)
{
    if (length >= kMaxImageDataSize)
        return "the re-encoded image reached the size limit";
    if (length < 33 || std::memcmp(png, kSignature, 8) != 0 || std::memcmp(png + 12, "IHDR", 4) != 0)
        return "the re-encoded image does not begin with a PNG header";
    if (size < 29 || std::memcmp(png + 16, data + 16, 8) != 0 || png[24] != data[24] || png[25] != data[25])
        return "the re-encoded image has another size, depth or colour type";
    if (png[28] != 0)
        return "the re-encoded image is interlaced";
    CMemBuffer again;
    if (ReencodePngBytes(png, length, again) != kReencodeOk)
        return "the re-encoded image does not decode";
    if (again.GetSize() != length || std::memcmp(again.GetData(), png, length) != 0)
        return "re-encoding the re-encoded image changes it";
    return {};
}

} // namespace

std::string RunPngInput(const uint8_t* data, size_t size)
{
    const std::string& scratch = FuzzScratchFolder();
    const std::string folder = scratch + "/png_img";
    const std::string path = folder + "/x.png";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (scratch.empty() || !WriteScratchFile(path, data, size))
        return {};

    std::string fault = CheckProbe(folder, data, size);
    if (!fault.empty())
        return fault;

    // Bytes already in the buffer stay; a failure takes back what it added.
    CMemBuffer fromBytes;
    fromBytes.Append(kKept, kKeptSize);
    const uint32_t result = ReencodePngBytes(data, size, fromBytes);
    if (result > kReencodeOutOfMemory)
        return "the re-encoding returned an unknown code";
    if (fromBytes.GetSize() < kKeptSize || std::memcmp(fromBytes.GetData(), kKept, kKeptSize) != 0)
        return "the re-encoding changed the bytes already in its buffer";
    if (result != kReencodeOk && fromBytes.GetSize() != kKeptSize)
        return "a failed re-encoding left bytes behind";
    if (result == kReencodeOk) {
        fault = CheckReencoded(data, size, fromBytes.GetData() + kKeptSize, fromBytes.GetSize() - kKeptSize);
        if (!fault.empty())
            return fault;
    }

    CFile file(path.c_str());
    if (file.Open(kFileModeRead) != 0)
        return {};
    CMemBuffer fromFile;
    const uint32_t fileResult = ReencodePngFile(file, fromFile);
    file.Close();
    if (fileResult != result)
        return "the re-encoding from the file came to another result than from memory";
    if (result == kReencodeOk &&
        (fromFile.GetSize() + kKeptSize != fromBytes.GetSize() ||
         std::memcmp(fromFile.GetData(), fromBytes.GetData() + kKeptSize, fromFile.GetSize()) != 0))
        return "the re-encoding from the file gave other bytes than from memory";
    return {};
}
