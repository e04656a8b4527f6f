#include "book/ImageProbe.h"

#include <cstdlib>
#include <cstring>

#include "framework/core/Report.h"
#include "framework/core/RkString.h"
#include "framework/io/File.h"

namespace {

constexpr uint32_t kHeaderBytes = 26;
constexpr uint16_t kDefaultSize = 16;
constexpr uint8_t kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

bool HasPngExtension(std::string_view name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string_view ext = name.substr(dot + 1);
    if (ext.size() != 3)
        return false;
    const char want[] = "png";
    for (size_t i = 0; i < 3; ++i) {
        char c = ext[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != want[i])
            return false;
    }
    return true;
}

// Reads up to kHeaderBytes from the start of the file. Returns the message
// format for a failure, or null with `count` bytes read into `header`.
const char* ReadHeader(CFile& file, uint8_t* header, uint32_t& count)
{
    count = 0;
    if (file.Open(kFileModeRead) != 0)
        return "Failed to open PNG file %s\n";
    const uint32_t readResult = file.Read(header, kHeaderBytes, count);
    file.Close();
    if (readResult != 0)
        return "Failed to read PNG file %s\n";
    if (count == 0)
        return "PNG file %s appears to be empty\n";
    return nullptr;
}

// Checks the header bytes; null when they describe a grayscale or palette
// PNG, else the message format.
const char* CheckHeader(const uint8_t* header, uint32_t count)
{
    if (count < 8 || std::memcmp(header, kPngSignature, 8) != 0)
        return "Bad PNG signature for %s";
    if (count < 16 || std::memcmp(header + 12, "IHDR", 4) != 0)
        return "Couldn't find PNG header for %s";
    if (count < kHeaderBytes || (header[25] != 0 && header[25] != 3))
        return "Unrecognized PNG color type for %s";
    return nullptr;
}

} // namespace

void MakeImagePath(const CRkString& imageDirectory, std::string_view name, CRkString& path)
{
    path.Assign(imageDirectory);
    path.Append(u"/", 1);
    path.Append(name.data(), static_cast<uint32_t>(name.size()), kEncodingDeviceLatin);
}

std::string MakeImagePathBytes(const CRkString& imageDirectory, std::string_view name)
{
    std::string out;
    if (char* narrow = imageDirectory.CopyNarrow(kEncodingDeviceLatin)) {
        out = narrow;
        std::free(narrow);
    }
    out += '/';
    out.append(name);
    return out;
}

ImageProbeResult ProbeImageFile(const CRkString& imageDirectory, std::string_view name)
{
    ImageProbeResult result;
    if (!HasPngExtension(name)) {
        result.outcome = ImageProbeResult::NotPng;
        return result;
    }
    CRkString path;
    MakeImagePath(imageDirectory, name, path);
    CFile file(path);
    // A NUL inside the name would name another file on the way to the system.
    if (name.find('\0') != std::string_view::npos || !file.Exists() || file.IsDirectory()) {
        result.outcome = ImageProbeResult::Missing;
        result.nameTooLong = file.IsNameTooLong();
        result.width = result.height = kDefaultSize;
        return result;
    }
    uint8_t header[kHeaderBytes] = {};
    uint32_t count = 0;
    const char* failure = ReadHeader(file, header, count);
    if (!failure)
        failure = CheckHeader(header, count);
    if (failure) {
        result.outcome = ImageProbeResult::BadFile;
        result.fileError = failure;
        return result;
    }
    result.width = static_cast<uint16_t>(header[18] << 8 | header[19]);
    result.height = static_cast<uint16_t>(header[22] << 8 | header[23]);
    return result;
}

bool ReportImageProbe(const ImageProbeResult& result, const CRkString& imageDirectory, std::string_view name,
                      uint16_t& width, uint16_t& height, const MessagePass& pass, const ReportPlace& place)
{
    constexpr MessageRule nameRule = MessageRule::SmallFontPass;
    switch (result.outcome) {
    case ImageProbeResult::NotPng:
        // width and height are left as they are
        ReportMessage(pass, kReportError, nameRule, place, "Image file \"%s\" doesn't end with .png!",
                      std::string(name).c_str());
        return true;
    case ImageProbeResult::Missing:
        width = result.width;
        height = result.height;
        if (result.nameTooLong)
            ReportMessage(pass, kReportError, nameRule, place,
                          "Image \"%s\" could not be opened: its name is too long.",
                          MakeImagePathBytes(imageDirectory, name).c_str());
        else
            ReportMessage(pass, kReportError, nameRule, place, "Image \"%s\" doesn't exist!",
                          MakeImagePathBytes(imageDirectory, name).c_str());
        return true;
    case ImageProbeResult::BadFile:
        width = result.width;
        height = result.height;
        ReportMessage(pass, kReportError, MessageRule::Always, place, result.fileError,
                      MakeImagePathBytes(imageDirectory, name).c_str());
        return true;
    case ImageProbeResult::Ok:
        break;
    }
    width = result.width;
    height = result.height;
    return false;
}

bool ProbeImage(const CRkString& imageDirectory, std::string_view name, uint16_t& width, uint16_t& height,
                const MessagePass& pass, const ReportPlace& place)
{
    return ReportImageProbe(ProbeImageFile(imageDirectory, name), imageDirectory, name, width, height, pass, place);
}

ImageProbeResult CImageProbeCache::Probe(const CRkString& imageDirectory, std::string_view name)
{
    // One parse has one image directory: the name alone is the key.
    const auto found = m_results.find(name);
    if (found != m_results.end())
        return found->second;
    const ImageProbeResult result = ProbeImageFile(imageDirectory, name);
    m_results.emplace(std::string(name), result);
    return result;
}
