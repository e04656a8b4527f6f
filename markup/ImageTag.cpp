// Images: \m="name", \My="name", \Mz="name".
#include "markup/ImageTag.h"

#include "book/ImageRecList.h"
#include "framework/core/Report.h"
#include "framework/core/RkString.h"
#include "markup/ParseState.h"

namespace {

constexpr size_t kMaxImageName = 31;
constexpr uint32_t kLargestWidth = 158;
constexpr uint32_t kLargestHeight = 148;
constexpr uint16_t kStandInSize = 16;

// Until the image records can read PNG headers, every image is taken at
// the stand-in size and nothing is reported.
ImageProbeResult StandardProbe(const CRkString&, const std::string&, bool, bool)
{
    return ImageProbeResult{};
}

ImageProbeHook g_probe = &StandardProbe;

} // namespace

void SetImageProbeHook(ImageProbeHook hook)
{
    g_probe = hook ? hook : &StandardProbe;
}

ImageProbeResult ProbeImageFile(const CRkString& directory, const std::string& name, bool logNameErrors,
                                bool logFileErrors)
{
    return g_probe(directory, name, logNameErrors, logFileErrors);
}

std::string ImagePath(const CRkString& directory, const std::string& name)
{
    std::string path = directory.GetNarrow();
    path += '/';
    path += name;
    return path;
}

void AddImageRecord(ImageRecList&, const std::string&, uint16_t, uint16_t) {}

bool LoadImageRecords(ImageRecList&)
{
    return false;
}

// The name (at most 31 bytes) names a PNG file in the image directory; the
// image is laid out at its size, or at 16 x 16 when it is wider or higher
// than a page.
uint32_t MarkupParser::ParseImageRef(uint32_t backslash, uint32_t equals)
{
    if (!HasQuotedArgument(equals)) {
        if (!batchMode)
            ReportParseError("Image syntax incorrect.  You have '%s' and it should be \\m=\"",
                             static_cast<int64_t>(equals) - 10, 20);
        return equals;
    }
    const uint32_t nameStart = equals + 2;
    const uint32_t quote = ScanToQuote(nameStart, "Returns are not permitted in image references.  See '%s'.");
    if (quote >= m_length) {
        ReportUnterminated(backslash);
        return m_length;
    }
    const std::string name(reinterpret_cast<const char*>(m_text + nameStart), quote - nameStart);
    if (name.size() > kMaxImageName)
        LogError("Image name \"%s\" is longer than 31 characters! Please rename the image.", name.c_str());

    const ImageProbeResult image = ProbeImageFile(m_imageDirectory, name, m_smallFont && !m_silent, !m_silent);
    if (image.failed)
        m_failed = true;
    if (m_smallFont)
        AddImageRecord(m_lists.images, ImagePath(m_imageDirectory, name), image.width, image.height);

    const uint32_t indent = (m_style & kStyleIndented) ? kIndentWidth : 0;
    if (image.width + indent <= kLargestWidth && image.height <= kLargestHeight) {
        m_x += image.width;
        RaiseLineHeight(image.height);
    } else {
        m_x += kStandInSize;
        RaiseLineHeight(kStandInSize);
    }
    return quote + 1;
}
