#include "book/ImageRecList.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "book/ImageProbe.h"
#include "book/PngReencode.h"
#include "framework/core/MessageGate.h"
#include "framework/io/File.h"

namespace {

constexpr uint32_t kDataGrowth = 32768;
constexpr size_t kInitialImages = 100;

} // namespace

ImageRecList::ImageRecList() : m_data(kDataGrowth, kDataGrowth)
{
    m_images.reserve(kInitialImages);
}

void ImageRecList::Add(const CRkString& imageDirectory, std::string_view name, uint16_t width, uint16_t height,
                       const ReportPlace& place)
{
    std::string pathBytes = MakeImagePathBytes(imageDirectory, name);
    for (const Image& image : m_images)
        if (image.pathBytes == pathBytes)
            return;
    Image image{};
    MakeImagePath(imageDirectory, name, image.path);
    image.pathBytes = std::move(pathBytes);
    image.width = width;
    image.height = height;
    image.place = place;
    m_images.push_back(std::move(image));
}

void ImageRecList::Sort()
{
    // Byte order: compare as unsigned characters.
    std::sort(m_images.begin(), m_images.end(), [](const Image& a, const Image& b) {
        return std::lexicographical_compare(
            a.pathBytes.begin(), a.pathBytes.end(), b.pathBytes.begin(), b.pathBytes.end(),
            [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
    });
}

uint32_t ImageRecList::LoadImage(Image& image)
{
    CFile file(image.path);
    uint32_t code = kReencodeReadFailed;
    if (file.Exists() && !file.IsDirectory() && file.Open(kFileModeRead) == 0) {
        const uint32_t start = m_data.GetSize();
        // Batch mode too: a larger image would not fit its record.
        code = ReencodePngFile(file, m_data, kMaxImageDataSize);
        file.Close();
        image.dataOffset = start;
        image.dataSize = code == kReencodeOk ? m_data.GetSize() - start : 0;
    }
    const char* shown = image.pathBytes.c_str();
    const auto report = [&image](const char* format, auto... args) {
        ReportMessage(kReportError, MessageRule::Always, image.place, format, args...);
    };
    switch (code) {
    case kReencodeOk:
        return 0;
    case kReencodeTooLarge:
        report("Image \"%s\" is too large", shown);
        break;
    case kReencodeReadFailed:
        report("Could not read the file \"%s\"", shown);
        break;
    case kReencodeColorType:
        report("The file \"%s\" must be an 8-bit color image or a grayscale image.", shown);
        break;
    case kReencodeTooLargeToDecode:
        report("The image \"%s\" is too large to decode (at most 65535 by 65535 pixels and %u MB of pixels).", shown,
               kMaxDecodedImageBytes >> 20);
        break;
    case kReencodeOutOfMemory:
        // The build's boundary reports it; the image list is left as it was.
        image.dataSize = 0;
        throw std::bad_alloc();
    default:
        report("An unknown error occurred reading the file \"%s\"", shown);
        break;
    }
    image.dataSize = 0;
    return code;
}

uint32_t ImageRecList::Load()
{
    for (Image& image : m_images) {
        if (image.loaded)
            continue;
        if (const uint32_t code = LoadImage(image))
            return code;
        image.loaded = true;
    }
    return 0;
}

uint32_t ImageRecList::Finish()
{
    Sort();
    return Load();
}

std::string_view ImageRecList::GetName(uint32_t i) const
{
    std::string_view path = m_images[i].pathBytes;
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

uint32_t ImageRecList::GetRecordSize(uint32_t i) const
{
    return i < GetCount() ? kHeaderSize + m_images[i].dataSize : 0;
}

// Layout: docs/ldb-format.md, "Image records".
void ImageRecList::AppendRecord(uint32_t i, CMemBuffer& out) const
{
    if (i >= GetCount())
        return;
    const Image& image = m_images[i];
    uint8_t header[kHeaderSize] = {};
    std::memcpy(header, kImageTag, kImageTagSize);
    const std::string_view name = GetName(i);
    std::memcpy(header + kImageNameAt, name.data(), std::min<size_t>(name.size(), kNameField - 1));
    header[kImageWidthAt] = static_cast<uint8_t>(image.width >> 8);
    header[kImageWidthAt + 1] = static_cast<uint8_t>(image.width);
    header[kImageHeightAt] = static_cast<uint8_t>(image.height >> 8);
    header[kImageHeightAt + 1] = static_cast<uint8_t>(image.height);
    out.Append(header, kHeaderSize);
    out.Append(m_data.GetData() + image.dataOffset, image.dataSize);
}
