// Every stored input of the fuzz targets (the seed corpus and the inputs
// that once failed) runs through the same checks as in the fuzzer, and the
// book check itself is shown to catch damaged books.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "book/BuildOptions.h"
#include "driver/BuildBook.h"
#include "framework/io/File.h"
#include "fuzz/BookStructure.h"
#include "fuzz/FuzzEntries.h"
#include "fuzz/FuzzSupport.h"

namespace {

namespace fs = std::filesystem;
using Entry = std::string (*)(const uint8_t*, size_t);

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs every file of the target's corpus and regression folders; returns
// how many there were.
size_t ReplayAll(const std::string& target, Entry entry)
{
    size_t count = 0;
    for (const fs::path& folder : {fs::path(VX_FUZZ_CORPUS_DIR) / target, fs::path(VX_TEST_DATA_DIR) / target}) {
        if (!fs::is_directory(folder))
            continue;
        for (const auto& file : fs::directory_iterator(folder)) {
            if (!file.is_regular_file() || file.path().filename().string().front() == '.')
                continue;
            const std::string bytes = ReadAll(file.path());
            EXPECT_EQ(entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "")
                << "input " << file.path();
            ++count;
        }
    }
    return count;
}

TEST(FuzzReplay, BuildInputs)
{
    EXPECT_GT(ReplayAll("build_fuzz", &RunBuildInput), 0u);
}

TEST(FuzzReplay, PngInputs)
{
    EXPECT_GT(ReplayAll("png_fuzz", &RunPngInput), 0u);
}

TEST(FuzzReplay, BookInfoInputs)
{
    EXPECT_GT(ReplayAll("bookinfo_fuzz", &RunBookInfoInput), 0u);
}

TEST(FuzzReplay, LDBFileInputs)
{
    EXPECT_GT(ReplayAll("ldbfile_fuzz", &RunLDBFileInput), 0u);
}

// A book built from a small source, its path and its text.
struct BuiltBook {
    std::string path;
    std::string text;
};

BuiltBook BuildSmallBook(uint32_t options)
{
    const std::string folder = FuzzScratchFolder();
    const std::string source = folder + "/small.lml";
    BuiltBook book{folder + "/small.ldb", std::string()};
    for (int i = 0; i < 2000; ++i)
        book.text += "Line " + std::to_string(i) + " of a book that needs two text records.\n";
    WriteScratchFile(source, reinterpret_cast<const uint8_t*>(book.text.data()), book.text.size());
    CSilentReports silent(false);
    CFile in(source.c_str());
    CFile out(book.path.c_str());
    EXPECT_EQ(BuildBook(&in, &out, nullptr, options), kBookWritten);
    return book;
}

void Patch(const std::string& path, size_t at, const std::string& bytes)
{
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(at));
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The first line of a fault, for comparisons that do not depend on how
// many problems the book check lists after it.
std::string FirstLine(const std::string& fault)
{
    return fault.substr(0, fault.find('\n'));
}

TEST(BookStructureCheck, AcceptsABuiltBookAndCatchesDamage)
{
    const BuiltBook book = BuildSmallBook(0);
    EXPECT_EQ(CheckBookStructure(book.path, book.text, 0), "");
    EXPECT_EQ(CheckBookStructure(book.path, book.text, Dictionary), "type code: expected \"VxDc\", found \"VxBk\"");
    EXPECT_EQ(CheckBookStructure(book.path, book.text + "x", 0), "the text records do not hold the prepared text");

    const std::string bytes = ReadAll(book.path);
    const auto u32 = [&](size_t at) {
        return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16) |
               (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint8_t(bytes[at + 3]);
    };
    const uint32_t header = u32(78);    // record 0, the book header record
    const uint32_t firstText = u32(86); // record 1

    // A text record whose zlib stream is damaged.
    Patch(book.path, firstText + 2, "\xFF\xFF\xFF\xFF");
    EXPECT_NE(CheckBookStructure(book.path, book.text, 0).find("record 1"), std::string::npos);
    Patch(book.path, firstText + 2, bytes.substr(firstText + 2, 4));
    EXPECT_EQ(CheckBookStructure(book.path, book.text, 0), "");

    // A section chain that skips a record.
    Patch(book.path, header + 32, std::string("\x00\x09", 2));
    EXPECT_NE(CheckBookStructure(book.path, book.text, 0), "");
    Patch(book.path, header + 32, bytes.substr(header + 32, 2));
    EXPECT_EQ(CheckBookStructure(book.path, book.text, 0), "");

    // A file cut short: the end marker loses its last byte.
    fs::resize_file(book.path, bytes.size() - 1);
    EXPECT_NE(FirstLine(CheckBookStructure(book.path, book.text, 0)).find("end marker"), std::string::npos);
}

TEST(BookStructureCheck, PageTablesOnlyWhenAsked)
{
    const BuiltBook book = BuildSmallBook(ExcludePageTables);
    EXPECT_EQ(CheckBookStructure(book.path, book.text, ExcludePageTables), "");
    const BuiltBook dictionary = BuildSmallBook(Dictionary);
    EXPECT_EQ(CheckBookStructure(dictionary.path, dictionary.text, Dictionary), "");
}

} // namespace
