// What the scanner collects, as it reaches the book file: chapter, link and
// index records built from a source on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "book/BookInfo.h"
#include "book/BuildOptions.h"
#include "driver/BuildBook.h"
#include "framework/io/File.h"
#include "tests/book/BookFileBytes.h"
#include "tests/book/TempDir.h"
#include "tests/markup/ReportCapture.h"

namespace {

using namespace std::string_literals;
using Messages = std::vector<std::string>;

std::string BE32(uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string BE16(uint32_t v)
{
    return {char(v >> 8), char(v)};
}

class ScanBook : public ::testing::Test {
protected:
    void SetUp() override { m_info.title.Assign(u"Scanner Book"); }

    // Builds the source; the records of the book, or none when no book was
    // written.
    std::vector<std::string> Build(const std::string& source, uint32_t options = 0)
    {
        const std::string sourcePath = m_dir.File("book.lml");
        std::ofstream(sourcePath, std::ios::binary) << source;
        CFile sourceFile(sourcePath.c_str());
        CFile outputFile(Output().c_str());
        const uint32_t result = BuildBook(&sourceFile, &outputFile, &m_info, options);
        EXPECT_NE(result, kBuildNotRun);
        if (result != kBookWritten)
            return {};
        return ReadBookRecords(Output());
    }

    // The records of a section, from the header's first-record index and
    // count fields.
    static std::vector<std::string> Section(const std::vector<std::string>& records, size_t firstAt, size_t countAt)
    {
        const std::string& header = records.at(0);
        const uint32_t first = U16(header, firstAt);
        const uint32_t count = U16(header, countAt);
        return std::vector<std::string>(records.begin() + first, records.begin() + first + count);
    }

    std::string Output() const { return m_dir.File("book.ldb"); }

    TempDir m_dir;
    CBookInfo m_info;
};

TEST_F(ScanBook, ChaptersAndLinksBecomeRecords)
{
    ReportCapture capture;
    const std::string source = "\\C0=\"Opening\"\\xPart One\\x\nSee \\q=\"#Later\"later\\q and \\q=\"#nowhere\"x\\q.\n"
                               "\\X1Section\\X1\n\\Q=\"LATER\"Here.\\Q=\"unused\"\n";
    const std::vector<std::string> records = Build(source);
    ASSERT_FALSE(records.empty());
    const uint32_t part = static_cast<uint32_t>(source.find("\\xPart"));
    const uint32_t section = static_cast<uint32_t>(source.find("\\X1Section"));
    EXPECT_EQ(Section(records, 32, 14), (std::vector<std::string>{BE32(0) + "Opening\0"s, BE32(part) + "Part One\0"s,
                                                                  BE32(section) + "    Section\0"s}));
    const uint32_t anchor = static_cast<uint32_t>(source.find("\"Here.") + 2);
    EXPECT_EQ(Section(records, 42, 22),
              (std::vector<std::string>{BE32(anchor) + "later\0"s, BE32(0xFFFFFFFF) + "nowhere\0"s}));
    EXPECT_EQ(capture.problems(), (Messages{"W:Link \"nowhere\" has not been defined"}));
    // no index records outside dictionaries
    EXPECT_EQ(U16(records[0], 26), 0u);
}

TEST_F(ScanBook, DictionaryIndexRecordsHoldTheSortedTerms)
{
    ReportCapture capture;
    const std::string source = "\\IZebra\\I a horse\n\\I\xC9tude\\I a study\n\\Iapple\\I a fruit\n";
    const std::vector<std::string> records = Build(source, Dictionary);
    ASSERT_FALSE(records.empty());
    const uint32_t etude = static_cast<uint32_t>(source.find("\\I\xC9"));
    const uint32_t apple = static_cast<uint32_t>(source.find("\\Iapple"));
    EXPECT_EQ(Section(records, 46, 26),
              (std::vector<std::string>{"apple\0"s, BE16(1) + BE16(apple) + "apple\0"s + BE16(1) + BE16(etude) +
                                                        "\xC9tude\0"s + BE16(1) + BE16(0) + "Zebra\0"s}));
    EXPECT_EQ(capture.problems(), (Messages{"W:Non-ASCII characters in file; attempting to map them"}));
    EXPECT_EQ(capture.CountStatuses("Processing index records..."), 1u);
}

TEST_F(ScanBook, ScannerErrorsLeaveNoBook)
{
    ReportCapture capture;
    EXPECT_TRUE(Build("Good text \\e bad code\n").empty());
    EXPECT_FALSE(std::filesystem::exists(Output()));
    EXPECT_EQ(capture.problems(), (Messages{"E:Illegal control code starting at \"\\e bad code\n\"",
                                            "E:Errors occurred while paginating the book. No output file generated."}));
}

} // namespace
