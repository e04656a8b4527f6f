// Images: \m="name", \My="name", \Mz="name".
#include "markup/ImageTag.h"

#include "book/ImageProbe.h"
#include "book/ImageRecList.h"
#include "framework/core/Report.h"
#include "framework/core/RkString.h"
#include "markup/MarkupParser.h"

namespace {

// The size an image takes when it cannot be read or does not fit a page.
constexpr uint16_t kStandInSize = 16;

} // namespace

bool LoadImageRecords(ImageRecList& images)
{
    return images.Finish() != 0;
}

// The name (at most 31 bytes) names a PNG file in the image directory; the
// image is laid out at its size, or at 16 x 16 when it is wider or higher
// than a page.
uint32_t MarkupParser::ParseImageRef(uint32_t backslash, uint32_t equals)
{
    if (!HasQuotedArgument(equals)) {
        // Neither logged nor an error in batch mode.
        ReportParseError(backslash, "Image syntax incorrect.  You have '%s' and it should be \\m=\"", equals,
                         kArgumentSyntaxContext, MessageRule::SmallFontPassNotInBatch);
        // Nothing is listed, but the code still takes the room of an image
        // that could not be read.
        m_line.x += kStandInSize;
        RaiseLineHeight(kStandInSize);
        return equals;
    }
    const uint32_t nameStart = equals + 2;
    const uint32_t quote = ScanToQuote(nameStart, "Returns are not permitted in image references.  See '%s'.");
    if (quote >= m_length) {
        ReportUnterminated(backslash);
        return m_length;
    }
    const std::string name(reinterpret_cast<const char*>(m_text + nameStart), quote - nameStart);
    if (name.size() > kMaxImageNameLength)
        LogError(backslash, "Image name \"%s\" is longer than 31 characters! Please rename the image.", name.c_str());

    // The probe leaves the stand-in size when the name is refused outright.
    uint16_t width = kStandInSize;
    uint16_t height = kStandInSize;
    const ImageProbeResult probed = m_probe->Probe(m_imageDirectory, name);
    const bool failed =
        ReportImageProbe(probed, m_imageDirectory, name, width, height, Pass(), ReportPlace::At(backslash));
    if (failed)
        m_parse.failed = true;
    // An image the probe refused is not loaded again only to fail twice.
    if (m_pass.smallFont && !failed)
        m_lists.images.Add(m_imageDirectory, name, width, height, ReportPlace::At(backslash));

    const uint32_t indent = (m_pass.style & kStyleIndented) ? kIndentWidth : 0;
    if (width + indent <= kLineWidth && height <= kPageHeight) {
        m_line.x += width;
        RaiseLineHeight(height);
    } else {
        m_line.x += kStandInSize;
        RaiseLineHeight(kStandInSize);
    }
    return quote + 1;
}
