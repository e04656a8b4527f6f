// Whole builds of books with images, sidebars and footnotes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "book/BookInfo.h"
#include "driver/BuildBook.h"
#include "framework/io/File.h"
#include "tests/book/BookFileBytes.h"
#include "tests/book/PngTestImages.h"
#include "tests/markup/ReportCapture.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Strings = std::vector<std::string>;

std::string Inflate(const std::string& record)
{
    std::string out(8192, '\0');
    uLongf length = out.size();
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(record.data()),
                         record.size()),
              Z_OK);
    out.resize(length);
    return out;
}

class ImagesAndNotesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("vx_notes_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir / "book_img");
        m_info.title.Assign(u"Pictures");
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    void PutImage(const std::string& name, const TestPng& image)
    {
        const std::string bytes = EncodeTestPng(image);
        std::ofstream(m_dir / "book_img" / name, std::ios::binary) << bytes;
    }

    // Builds `text`; true when a book was written.
    bool Build(const std::string& text)
    {
        std::ofstream(m_dir / "book.lml", std::ios::binary) << text;
        CFile source((m_dir / "book.lml").string().c_str());
        CFile output(Output().string().c_str());
        const uint32_t result = BuildBook(&source, &output, &m_info, 0);
        EXPECT_NE(result, kBuildNotRun);
        const bool written = result == kBookWritten;
        EXPECT_EQ(written, fs::exists(Output()));
        return written;
    }

    fs::path Output() const { return m_dir / "book.ldb"; }
    // The build joins the image folder and the name with "/".
    std::string ImagePath(const std::string& name) const { return (m_dir / "book_img").string() + "/" + name; }

    fs::path m_dir;
    CBookInfo m_info;
};

TEST_F(ImagesAndNotesTest, BookCarriesItsImagesSidebarsAndFootnotes)
{
    const TestPng b = MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 24, 20, true);
    const TestPng a = MakeTestPng(PNG_COLOR_TYPE_GRAY, 4, 10, 6);
    PutImage("b.png", b);
    PutImage("a.png", a);
    ReportCapture capture;
    const std::string running = "Intro \\m=\"b.png\" text \\Sd=\"Map\"the map\\Sd and \\Fn=\"N1\"1\\Fn end.";
    ASSERT_TRUE(Build(running + "\n\n<sidebar id=\"map\">\nA map: \\m=\"a.png\"\n</sidebar>\n"
                                "<footnote id=\"n1\">Foot.</footnote>\n"));
    EXPECT_TRUE(capture.errors().empty()) << capture.errors()[0];
    EXPECT_TRUE(capture.warnings().empty());

    const Strings records = ReadBookRecords(Output());
    ASSERT_GT(records.size(), 1u);
    const std::string& header = records[0];
    EXPECT_EQ(U16(header, 12), 2u); // one text record
    EXPECT_EQ(Inflate(records[1]), running);

    // Images: a.png (named only in the sidebar) then b.png, by path.
    ASSERT_EQ(U16(header, 20), 2u);
    const uint32_t firstImage = U16(header, 40);
    for (const auto& [index, name, image] : {std::tuple{0u, "a.png", &a}, std::tuple{1u, "b.png", &b}}) {
        const std::string& record = records.at(firstImage + index);
        std::string field = name;
        field.resize(32, '\0');
        EXPECT_EQ(record.substr(0, 36), "PNG " + field) << name;
        EXPECT_EQ(record.substr(36, 22), std::string(22, '\0'));
        EXPECT_EQ(U16(record, 58), image->width);
        EXPECT_EQ(U16(record, 60), image->height);
        const DecodedPng decoded =
            DecodeTestPng(reinterpret_cast<const uint8_t*>(record.data()) + 62, record.size() - 62);
        EXPECT_EQ(decoded.interlace, PNG_INTERLACE_NONE);
        EXPECT_EQ(decoded.pixels, image->pixels) << name;
    }

    // Sidebars: the table record, then the text; likewise the footnotes.
    ASSERT_EQ(U16(header, 30), 2u);
    const uint32_t sidebars = U16(header, 50);
    EXPECT_EQ(records.at(sidebars), "\0\1\3map\0"s);
    EXPECT_EQ(Inflate(records.at(sidebars + 1)), "A map: \\m=\"a.png\"");
    ASSERT_EQ(U16(header, 28), 2u);
    const uint32_t footnotes = U16(header, 48);
    EXPECT_EQ(records.at(footnotes), "\0\1\2n1\0"s);
    EXPECT_EQ(Inflate(records.at(footnotes + 1)), "Foot.");
}

TEST_F(ImagesAndNotesTest, LongImageNameInASidebarLeavesNoBook)
{
    const std::string longName = std::string(28, 'x') + ".png";
    PutImage(longName, MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 4, 4));
    ReportCapture capture;
    EXPECT_FALSE(Build("See \\Sd=\"s\"here\\Sd.\n<sidebar id=\"s\">\\m=\"" + longName + "\"</sidebar>"));
    EXPECT_EQ(capture.errors(),
              (Strings{"Image name \"" + longName + "\" is longer than 31 characters! Please rename the image.",
                       "Errors occurred while building the sidebars and footnotes. No output file generated."}));
}

TEST_F(ImagesAndNotesTest, MissingImageInAFootnoteLeavesNoBook)
{
    ReportCapture capture;
    EXPECT_FALSE(Build("See \\Fn=\"f\"1\\Fn.\n<footnote id=\"f\">\\m=\"gone.png\"</footnote>"));
    EXPECT_EQ(capture.errors(),
              (Strings{"Image \"" + ImagePath("gone.png") + "\" doesn't exist!",
                       "Errors occurred while building the sidebars and footnotes. No output file generated."}));
}

TEST_F(ImagesAndNotesTest, BadImageInTheRunningTextLeavesNoBook)
{
    PutImage("rgb.png", MakeTestPng(PNG_COLOR_TYPE_RGB, 8, 4, 4));
    ReportCapture capture;
    EXPECT_FALSE(Build("Picture: \\m=\"rgb.png\" and \\m=\"gone.png\"\n"));
    // The header error is logged in both font passes, the missing file once.
    EXPECT_EQ(capture.errors(), (Strings{"Unrecognized PNG color type for " + ImagePath("rgb.png"),
                                         "Image \"" + ImagePath("gone.png") + "\" doesn't exist!",
                                         "Unrecognized PNG color type for " + ImagePath("rgb.png"),
                                         "Errors occurred while paginating the book. No output file generated."}));
}

TEST_F(ImagesAndNotesTest, NoteWithoutEndTagLeavesNoBook)
{
    ReportCapture capture;
    EXPECT_FALSE(
        Build("See \\Sd=\"s\"x\\Sd and \\Fn=\"f\"1\\Fn.\n<sidebar id=\"s\">S\n<footnote id=\"f\">F</footnote>"));
    EXPECT_EQ(capture.problems(),
              (Strings{"E:No end tag for sidebar or footnote named s was found.",
                       "E:Errors occurred while building the sidebars and footnotes. No output file generated."}));
    EXPECT_EQ(capture.statuses().back(), "Done.");
}

TEST_F(ImagesAndNotesTest, BatchModeStillRefusesAnImageTooLargeForItsRecord)
{
    TestPng big = MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 300, 300);
    std::mt19937 random(7);
    for (uint8_t& p : big.pixels)
        p = static_cast<uint8_t>(random());
    PutImage("big.png", big);
    ReportCapture capture(true);
    EXPECT_FALSE(Build("Picture: \\m=\"big.png\"\n"));
    EXPECT_EQ(capture.problems(), (Strings{"E:Image \"" + ImagePath("big.png") + "\" is too large",
                                           "E:Errors occurred while paginating the book. No output file generated."}));
}

TEST_F(ImagesAndNotesTest, UnresolvedReferenceLeavesNoBook)
{
    ReportCapture capture;
    EXPECT_FALSE(Build("See \\Sd=\"Nowhere\"x\\Sd and \\Fn=\"f\"1\\Fn.\n<footnote id=\"F\">F</footnote>"));
    EXPECT_EQ(capture.errors(), Strings{"No sidebar named \"nowhere\" was found."});
}

} // namespace

namespace {

// A grayscale PNG whose header says width x height over a tiny data stream.
std::string PngClaiming(uint32_t width, uint32_t height)
{
    std::string bytes = EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 2, 2));
    for (int i = 0; i < 4; ++i) {
        bytes[16 + i] = static_cast<char>(width >> (24 - 8 * i));
        bytes[20 + i] = static_cast<char>(height >> (24 - 8 * i));
    }
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data()) + 12, 17);
    for (int i = 0; i < 4; ++i)
        bytes[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    return bytes;
}

} // namespace

// An image over the decode limits is named as such, not as unreadable.
TEST_F(ImagesAndNotesTest, ImageOverTheDecodeLimitSaysSo)
{
    const std::string tooLarge = "\" is too large to decode (at most 65535 by 65535 pixels and 64 MB of pixels).";
    std::ofstream(m_dir / "book_img" / "wide.png", std::ios::binary) << PngClaiming(70000, 1);
    std::ofstream(m_dir / "book_img" / "huge.png", std::ios::binary) << PngClaiming(8200, 8200);
    for (const char* name : {"wide.png", "huge.png"}) {
        ReportCapture capture;
        EXPECT_FALSE(Build("Picture: \\m=\""s + name + "\"\n"));
        EXPECT_EQ(capture.errors(), (Strings{"The image \"" + ImagePath(name) + tooLarge,
                                             "Errors occurred while paginating the book. No output file generated."}))
            << name;
    }
}
