// Images: \m="name", \My="name", \Mz="name", probed in the image directory
// and loaded once the text is scanned.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "book/ImageProbe.h"
#include "tests/book/TempDir.h"
#include "tests/markup/PaginateHarness.h"
#include "tests/markup/ReportCapture.h"
#include "tests/markup/ScanHarness.h"

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutU32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutU32(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// An 8-bit PNG of the colour type given (0 grayscale, 2 truecolour, 3
// palette), every pixel 0.
std::vector<uint8_t> MakePng(uint32_t width, uint32_t height, uint8_t colorType = 3)
{
    std::vector<uint8_t> png = {137, 80, 78, 71, 13, 10, 26, 10};
    std::vector<uint8_t> header;
    PutU32(header, width);
    PutU32(header, height);
    header.insert(header.end(), {8, colorType, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    if (colorType == 3)
        PutChunk(png, "PLTE", {0, 0, 0, 255, 255, 255});
    const uint32_t channels = colorType == 2 ? 3 : 1;
    std::vector<uint8_t> rows(static_cast<size_t>(height) * (1 + width * channels), 0);
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> packed(size);
    compress(packed.data(), &size, rows.data(), static_cast<uLong>(rows.size()));
    packed.resize(size);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class ScanImages : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(Path("wide.png"), MakePng(40, 12));
        WriteFile(Path("gray.PNG"), MakePng(3, 5, 0));
        WriteFile(Path("color.png"), MakePng(2, 2, 2));
        WriteFile(Path("huge.png"), MakePng(200, 20));
    }
    std::string Dir() const { return m_dir.Path().string(); }
    std::string Path(const std::string& name) const { return Dir() + "/" + name; }

    TempDir m_dir;
};

TEST_F(ScanImages, EachImageListedOnceSortedWithItsSize)
{
    ReportCapture capture;
    auto r = Scan("\\m=\"wide.png\" text \\My=\"gray.PNG\"\\Mz=\"wide.png\"\n\\m=\"huge.png\"", 0, Dir());
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(Images(*r),
              (ImageRows{{Path("gray.PNG"), 3, 5}, {Path("huge.png"), 200, 20}, {Path("wide.png"), 40, 12}}));
    EXPECT_EQ(capture.all(), (Messages{kSmall, kLarge}));
    // the files were loaded
    for (uint32_t i = 0; i < r->lists.images.GetCount(); ++i)
        EXPECT_GT(r->lists.images.GetDataSize(i), 0u) << i;
    EXPECT_EQ(r->lists.images.GetName(2), "wide.png");
}

TEST_F(ScanImages, NameAndExistenceErrorsInTheSmallFontPassOnly)
{
    ReportCapture capture;
    auto r = Scan("\\m=\"picture.gif\" \\m=\"missing.png\"", 0, Dir());
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(capture.problems(), (Messages{"E:Image file \"picture.gif\" doesn't end with .png!",
                                            "E:Image \"" + Path("missing.png") + "\" doesn't exist!"}));
    // refused images are not listed, so their load cannot fail a second time
    EXPECT_EQ(r->lists.images.GetCount(), 0u);
}

TEST_F(ScanImages, HeaderErrorsInEveryPass)
{
    ReportCapture capture;
    auto r = Scan("\\m=\"color.png\"", 0, Dir());
    EXPECT_TRUE(r->failed);
    const std::string e = "E:Unrecognized PNG color type for " + Path("color.png");
    EXPECT_EQ(capture.all(), (Messages{kSmall, e, kLarge, e}));
}

TEST_F(ScanImages, NamesOfThirtyTwoBytesAreRefusedInEveryPass)
{
    const std::string name = std::string(28, 'n') + ".png";
    WriteFile(Path(name), MakePng(4, 4));
    ReportCapture capture;
    auto r = Scan("\\m=\"" + name + "\"", 0, Dir());
    EXPECT_TRUE(r->failed);
    const std::string e = "E:Image name \"" + name + "\" is longer than 31 characters! Please rename the image.";
    EXPECT_EQ(capture.all(), (Messages{kSmall, e, kLarge, e}));

    const std::string ok = std::string(27, 'n') + ".png";
    WriteFile(Path(ok), MakePng(4, 4));
    ReportCapture second;
    auto s = Scan("\\m=\"" + ok + "\"", 0, Dir());
    EXPECT_FALSE(s->failed);
    EXPECT_EQ(second.problems(), Messages{});
}

TEST_F(ScanImages, SyntaxErrorsAndReturns)
{
    ReportCapture capture;
    const std::string text = "0123456789\\m\"wide.png\" \\m=\"wi\nde.png\"";
    auto r = Scan(text, 0, Dir());
    EXPECT_TRUE(r->failed);
    const size_t lf = text.find('\n');
    EXPECT_EQ(capture.problems(),
              (Messages{"E:Image syntax incorrect.  You have '" + text.substr(2, 20) + "' and it should be \\m=\"",
                        "E:Returns are not permitted in image references.  See '" + text.substr(lf - 9, 20) + "'.",
                        "E:Image \"" + Path("wi\nde.png") + "\" doesn't exist!"}));
}

TEST_F(ScanImages, SyntaxErrorIsSilentInBatchMode)
{
    ReportCapture capture(true);
    auto r = Scan("\\m\"wide.png\" \\My\"wide.png\"", 0, Dir());
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(capture.problems(), Messages{});
    EXPECT_EQ(Images(*r), ImageRows{});
}

TEST_F(ScanImages, CodeWithWrongSyntaxTakesTheRoomOfTheStandIn)
{
    // After twelve lines, "\\m" and 28 "o" fill the 13th line (16 + 28 x 5 =
    // 156 pixels), which is 16 pixels high and still fits (132 + 16 = 148);
    // the last two "o" begin page 2.
    std::string text = "TITLE=\"T\"\n";
    for (int i = 0; i <= 10; ++i)
        text += std::to_string(i) + "\n";
    const uint32_t code = static_cast<uint32_t>(text.size());
    text += "\\m" + std::string(30, 'o');
    {
        ReportCapture capture(true);
        auto r = Scan(text, 0, Dir());
        EXPECT_FALSE(r->failed);
        EXPECT_EQ(SmallPages(*r), OneRecord({0, code + 2 + 28}));
        EXPECT_EQ(capture.problems(), Messages{});
        EXPECT_EQ(Images(*r), ImageRows{});
    }
    {
        // Outside batch mode the same layout, and the syntax error.
        ReportCapture capture;
        auto r = Scan(text, 0, Dir());
        EXPECT_TRUE(r->failed);
        EXPECT_EQ(SmallPages(*r), OneRecord({0, code + 2 + 28}));
        EXPECT_EQ(capture.problems(), (Messages{"E:Image syntax incorrect.  You have '" + text.substr(code - 8, 20) +
                                                "' and it should be \\m=\""}));
    }
}

// A probe that finds no file and counts the lookups.
class MissingEverywhere : public IImageProbe {
public:
    ImageProbeResult Probe(const CRkString&, std::string_view name) override
    {
        names.emplace_back(name);
        ImageProbeResult result;
        result.outcome = ImageProbeResult::Missing;
        result.width = result.height = 16;
        return result;
    }
    std::vector<std::string> names;
};

TEST(ScanImageProbe, TheLayoutLooksImagesUpThroughTheProbeItIsGiven)
{
    ReportCapture capture;
    const std::string text = "a \\m=\"one.png\" b \\My=\"two.png\" c\n";
    CMemBuffer prepared(static_cast<uint32_t>(text.size()));
    prepared.Append(text.data(), static_cast<uint32_t>(text.size()));
    CMemBuffer ends(16);
    ends.SetElementSize(4);
    ends.AppendU32(0);
    ends.AppendU32(static_cast<uint32_t>(text.size()));
    BookRecLists l;
    MissingEverywhere probe;
    const CRkString directory("/pictures", kEncodingDeviceLatin);
    EXPECT_TRUE(PaginateBook(prepared, directory, ends, l.smallPages, l.largePages, l.chapters, l.images, l.links,
                             l.sidebars, l.footnotes, l.index, 0, &probe));
    // Each reference in each pass; its messages once, in the small-font pass.
    EXPECT_EQ(probe.names, (std::vector<std::string>{"one.png", "two.png", "one.png", "two.png"}));
    EXPECT_EQ(capture.errors(),
              (Messages{"Image \"/pictures/one.png\" doesn't exist!", "Image \"/pictures/two.png\" doesn't exist!"}));
    EXPECT_EQ(l.images.GetCount(), 0u);
}

TEST_F(ScanImages, TheParseProbesEachNameOnceAndAnswersAgainFromMemory)
{
    const CRkString directory(Dir().c_str(), kEncodingDeviceLatin);
    CImageProbeCache cache;
    ImageProbeResult first = cache.Probe(directory, "wide.png");
    EXPECT_EQ(first.outcome, ImageProbeResult::Ok);
    EXPECT_EQ(first.width, 40);
    EXPECT_EQ(first.height, 12);
    std::filesystem::remove(Path("wide.png"));
    const ImageProbeResult again = cache.Probe(directory, "wide.png");
    EXPECT_EQ(again.outcome, ImageProbeResult::Ok);
    EXPECT_EQ(again.width, 40);
    // A bad file is remembered with its message; a new cache looks again.
    EXPECT_EQ(cache.Probe(directory, "color.png").outcome, ImageProbeResult::BadFile);
    EXPECT_STREQ(cache.Probe(directory, "color.png").fileError, "Unrecognized PNG color type for %s");
    EXPECT_EQ(CImageProbeCache().Probe(directory, "wide.png").outcome, ImageProbeResult::Missing);
    EXPECT_EQ(cache.Probe(directory, "wide.txt").outcome, ImageProbeResult::NotPng);
}

} // namespace
