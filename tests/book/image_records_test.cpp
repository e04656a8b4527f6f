#include <random>

#include <gtest/gtest.h>

#include "PngTestImages.h"
#include "ReportCapture.h"
#include "TempDir.h"
#include "book/ImageRecList.h"
#include "book/PngReencode.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/Report.h"
#include "framework/core/RkString.h"

namespace {

std::string Record(const ImageRecList& list, uint32_t i)
{
    CMemBuffer out(64, 64);
    list.AppendRecord(i, out);
    EXPECT_EQ(out.GetSize(), list.GetRecordSize(i));
    return std::string(reinterpret_cast<const char*>(out.GetData()), out.GetSize());
}

// The record the list must write: the 62-byte header worked out field by
// field, then the stored PNG.
std::string ExpectedRecord(const std::string& name, uint16_t width, uint16_t height, const std::string& png)
{
    std::string record = "PNG ";
    std::string field = name;
    field.resize(32, '\0');
    record += field;
    record += std::string(22, '\0');
    record += static_cast<char>(width >> 8);
    record += static_cast<char>(width & 0xFF);
    record += static_cast<char>(height >> 8);
    record += static_cast<char>(height & 0xFF);
    return record + png;
}

std::string Reencoded(const std::string& png)
{
    CMemBuffer out(64, 64);
    EXPECT_EQ(ReencodePngBytes(reinterpret_cast<const uint8_t*>(png.data()), png.size(), out), kReencodeOk);
    return std::string(reinterpret_cast<const char*>(out.GetData()), out.GetSize());
}

class ImageRecListTest : public ::testing::Test {
protected:
    TempDir dir;
    CRkString directory{dir.Path().string().c_str(), kEncodingDeviceLatin};
    std::string Shown(const std::string& name) const { return dir.Path().string() + "/" + name; }

    std::string Put(const std::string& name, const TestPng& image)
    {
        const std::string bytes = EncodeTestPng(image);
        WriteBytes(dir.Entry(name), bytes);
        return bytes;
    }
};

TEST_F(ImageRecListTest, RecordsAreSortedByPathAndHoldTheReencodedImage)
{
    ReportCapture capture;
    const std::string zebra = Put("zebra.png", MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 20, 10, true));
    const std::string apple = Put("Apple.png", MakeTestPng(PNG_COLOR_TYPE_GRAY, 4, 7, 3));
    // The name is device Latin in the source; on disk the file name is UTF-8.
    const std::string accent = Put("\xC3\xA9t\xC3\xA9.png", MakeTestPng(PNG_COLOR_TYPE_PALETTE, 1, 9, 9));
    const std::string name31 = std::string(27, 'n') + ".png";
    const std::string full = Put(name31, MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 2, 2));

    ImageRecList list;
    list.Add(directory, "zebra.png", 20, 10);
    list.Add(directory, "\xE9t\xE9.png", 9, 9);
    list.Add(directory, "Apple.png", 7, 3);
    list.Add(directory, "zebra.png", 99, 99); // the same path again: kept once, first size
    list.Add(directory, name31, 2, 2);
    ASSERT_EQ(list.GetCount(), 4u);
    ASSERT_EQ(list.Finish(), 0u);
    EXPECT_TRUE(capture.Messages().empty());

    // Byte order: "A" < "n" < "z" < 0xE9.
    EXPECT_EQ(list.GetPath(0), Shown("Apple.png"));
    EXPECT_EQ(list.GetPath(1), Shown(name31));
    EXPECT_EQ(list.GetPath(2), Shown("zebra.png"));
    EXPECT_EQ(list.GetPath(3), Shown("\xE9t\xE9.png"));
    EXPECT_EQ(list.GetRecordCount(), 4u);

    EXPECT_EQ(Record(list, 0), ExpectedRecord("Apple.png", 7, 3, Reencoded(apple)));
    const std::string record31 = Record(list, 1);
    EXPECT_EQ(record31, ExpectedRecord(name31, 2, 2, Reencoded(full)));
    EXPECT_EQ(record31[35], '\0'); // 31 characters and one NUL fill the field
    EXPECT_EQ(Record(list, 2), ExpectedRecord("zebra.png", 20, 10, Reencoded(zebra)));
    EXPECT_EQ(Record(list, 3), ExpectedRecord("\xE9t\xE9.png", 9, 9, Reencoded(accent)));
    EXPECT_EQ(list.GetRecordSize(2), 62 + list.GetDataSize(2));

    // Out of range: nothing.
    EXPECT_EQ(list.GetRecordSize(4), 0u);
    EXPECT_EQ(Record(list, 4), "");
}

TEST_F(ImageRecListTest, LoadingAgainGivesTheSameRecords)
{
    Put("a.png", MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 5, 5));
    Put("b.png", MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 6, 6));
    ImageRecList list;
    list.Add(directory, "b.png", 6, 6);
    ASSERT_EQ(list.Finish(), 0u);
    const std::string before = Record(list, 0);
    list.Add(directory, "a.png", 5, 5);
    ASSERT_EQ(list.Finish(), 0u);
    EXPECT_EQ(Record(list, 1), before);
    EXPECT_EQ(list.GetName(0), "a.png");
    EXPECT_EQ(list.GetName(1), "b.png");
}

TEST_F(ImageRecListTest, ImagesAlreadyLoadedAreNotReadAgain)
{
    const TestPng b = MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 6, 6);
    Put("b.png", b);
    Put("a.png", MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 5, 5));
    ImageRecList list;
    list.Add(directory, "b.png", 6, 6);
    ASSERT_EQ(list.Finish(), 0u);
    std::filesystem::remove(dir.File("b.png"));
    list.Add(directory, "a.png", 5, 5);
    ASSERT_EQ(list.Finish(), 0u);
    EXPECT_EQ(list.GetName(1), "b.png");
    EXPECT_EQ(DecodeTestPng(list.GetData(1), list.GetDataSize(1)).pixels, b.pixels);
}

TEST_F(ImageRecListTest, EachFailureHasItsMessageAndStopsTheLoad)
{
    struct Case {
        std::string name;
        std::string bytes;
        std::string message;
    };
    std::string noise;
    {
        TestPng big = MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 300, 300);
        std::mt19937 random(3);
        for (uint8_t& p : big.pixels)
            p = static_cast<uint8_t>(random());
        noise = EncodeTestPng(big);
    }
    const std::string good = EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 4, 4));
    const std::vector<Case> cases{
        {"rgb.png", EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_RGB, 8, 3, 3)),
         "E:The file \"" + Shown("rgb.png") + "\" must be an 8-bit color image or a grayscale image."},
        {"cut.png", good.substr(0, good.size() - 20), "E:Could not read the file \"" + Shown("cut.png") + "\""},
        {"big.png", noise, "E:Image \"" + Shown("big.png") + "\" is too large"},
        {"gone.png", "", "E:Could not read the file \"" + Shown("gone.png") + "\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty())
            WriteBytes(dir.File(c.name), c.bytes);
        WriteBytes(dir.File("zz.png"), good);
        ReportCapture capture;
        ImageRecList list;
        list.Add(directory, c.name, 1, 1);
        list.Add(directory, "zz.png", 4, 4); // sorts after, never reached
        EXPECT_NE(list.Finish(), 0u);
        EXPECT_EQ(capture.Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(list.GetRecordSize(0), 62u); // no data kept for the failed image
        EXPECT_EQ(list.GetRecordSize(1), 62u);
    }
}

TEST_F(ImageRecListTest, BatchModeStillRefusesAnImageTooLargeForItsRecord)
{
    TestPng big = MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 300, 300);
    std::mt19937 random(5);
    for (uint8_t& p : big.pixels)
        p = static_cast<uint8_t>(random());
    Put("big.png", big);
    ReportCapture capture;
    ImageRecList list;
    list.Add(directory, "big.png", 300, 300);
    batchMode = true;
    const uint32_t result = list.Finish();
    batchMode = false;
    EXPECT_NE(result, 0u);
    EXPECT_EQ(capture.Messages(), std::vector<std::string>{"E:Image \"" + Shown("big.png") + "\" is too large"});
    EXPECT_EQ(list.GetRecordSize(0), 62u);
}

TEST_F(ImageRecListTest, EmptyListHasNoRecords)
{
    ImageRecList list;
    EXPECT_EQ(list.Finish(), 0u);
    EXPECT_EQ(list.GetRecordCount(), 0u);
}

} // namespace
