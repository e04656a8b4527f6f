#include "driver/TextRecordCompressor.h"
#include "tests/PortableEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "book/BookInfo.h"
#include "driver/BuildBook.h"
#include "framework/core/MemBuffer.h"
#include "framework/io/File.h"
#include "markup/RecordSplit.h"
#include "tests/markup/ReportCapture.h"

namespace {

namespace fs = std::filesystem;

// Lines of words with a control code now and then, some very long lines
// without white space, so that record breaks fall on every rule.
std::string MixedText(size_t n, uint32_t seed, bool wholePieces = false)
{
    std::mt19937 random(seed);
    static const char* pieces[] = {"tide ",
                                   "clock ",
                                   "\\iwater\\i ",
                                   "harbour\n",
                                   "\\q=\"#x\"link\\q ",
                                   "\\a233",
                                   "\\\\",
                                   "----------------------------------------"};
    std::string text;
    while (text.size() < n)
        text += pieces[random() % 8];
    if (!wholePieces)
        text.resize(n);
    return text;
}

std::vector<uint32_t> Values(const CMemBuffer& list)
{
    std::vector<uint32_t> values;
    for (uint32_t i = 0; i < list.GetCount(); ++i)
        values.push_back(list.GetU32(i));
    return values;
}

struct Records {
    std::vector<uint32_t> ends;
    std::vector<uint32_t> sizes;
    std::vector<uint8_t> bytes;
    uint32_t result = 0;
};

Records Serial(const std::string& text)
{
    CMemBuffer buffer, ends, sizes;
    ends.SetElementSize(4);
    sizes.SetElementSize(4);
    Records r;
    r.result =
        SplitTextRecords(reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()), buffer, ends, sizes);
    r.ends = Values(ends);
    r.sizes = Values(sizes);
    r.bytes.assign(buffer.GetData(), buffer.GetData() + buffer.GetSize());
    return r;
}

Records Divided(const std::string& text, bool background)
{
    SetBackgroundCompression(background);
    CMemBuffer buffer, ends, sizes;
    ends.SetElementSize(4);
    sizes.SetElementSize(4);
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    DivideTextRecords(bytes, uint32_t(text.size()), ends);
    Records r;
    r.ends = Values(ends);
    {
        CTextRecordCompressor compressor;
        compressor.Start(bytes, ends, buffer, sizes);
        r.result = compressor.Wait() ? 0 : 1;
        compressor.ReportFailure();
    }
    SetBackgroundCompression(true);
    r.sizes = Values(sizes);
    r.bytes.assign(buffer.GetData(), buffer.GetData() + buffer.GetSize());
    return r;
}

TEST(TextRecordCompressor, SameRecordsAsTheSerialDivision)
{
    for (size_t n : {size_t(0), size_t(1), size_t(8191), size_t(8192), size_t(8193), size_t(20000), size_t(300000)}) {
        for (uint32_t seed : {1u, 2u}) {
            const std::string text = MixedText(n, seed);
            const Records serial = Serial(text);
            ASSERT_EQ(serial.result, 0u);
            for (bool background : {false, true}) {
                const Records divided = Divided(text, background);
                EXPECT_EQ(divided.result, 0u);
                EXPECT_EQ(divided.ends, serial.ends) << n << " " << background;
                EXPECT_EQ(divided.sizes, serial.sizes) << n << " " << background;
                EXPECT_TRUE(divided.bytes == serial.bytes) << n << " " << background;
            }
        }
    }
}

TEST(TextRecordCompressor, RecordThatDoesNotCompressIsReportedOnce)
{
    // Two records of text, then noise without a place to break, which
    // gives a full record that does not fit 8192 bytes.
    std::mt19937 random(7);
    std::string noise(3 * 8192, '\0');
    for (char& c : noise)
        do
            c = static_cast<char>(random());
        while (c == '\\' || c == ' ' || (c >= '\t' && c <= '\r'));
    const std::string text = MixedText(16000, 3) + "\n" + noise + "\nmore text after it\n";
    // Two failing stretches far apart: the first one is the one reported,
    // whichever thread meets which first.
    std::string twice = MixedText(16000, 3) + "\n" + noise + "\n" + MixedText(200000, 4) + "\n";
    std::reverse(noise.begin(), noise.end());
    twice += noise + "\nend\n";
    std::vector<std::string> expected;
    {
        ReportCapture capture;
        EXPECT_EQ(Serial(text).result, 1u);
        expected = capture.errors();
    }
    ASSERT_EQ(expected.size(), 1u);
    for (bool background : {false, true}) {
        for (const std::string* source : {&text, static_cast<const std::string*>(&twice)}) {
            ReportCapture capture;
            EXPECT_EQ(Divided(*source, background).result, 1u);
            EXPECT_EQ(capture.errors(), expected);
        }
    }
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A whole book built with the records compressed beside the layout is the
// book built with them compressed first, byte for byte.
TEST(TextRecordCompressor, BookIsByteIdenticalToTheSerialBuild)
{
    const fs::path dir = fs::temp_directory_path() / ("vx_driver_parallel_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const fs::path source = dir / "long.lml";
    std::ofstream(source, std::ios::binary)
        << "TITLE=\"Long\"\n\\x\\Q=\"one\"One\\x\n"
        << MixedText(200000, 5, true) << "\n\\x\\Q=\"two\"Two\\x\nSee \\q=\"#one\"one\\q.\n";
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    CBookInfo info;
    info.title.Assign(u"Long");
    std::vector<std::string> books;
    for (bool background : {false, true}) {
        SetBackgroundCompression(background);
        const fs::path out = dir / (background ? "parallel.ldb" : "serial.ldb");
        CFile sourceFile(source.string().c_str());
        CFile outputFile(out.string().c_str());
        ReportCapture capture(true);
        EXPECT_EQ(BuildBook(&sourceFile, &outputFile, &info, 0), kBookWritten)
            << (capture.errors().empty() ? "" : capture.errors()[0]);
        books.push_back(ReadAll(out));
    }
    SetBackgroundCompression(true);
    unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_GT(books[0].size(), 20000u);
    EXPECT_TRUE(books[0] == books[1]);
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

} // namespace
