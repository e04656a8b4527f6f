#include "fuzz/FuzzEntries.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "book/BookInfo.h"
#include "book/BuildOptions.h"
#include "book/Compressor.h"
#include "book/LDBFile.h"
#include "book/driver/BuildBook.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/RkString.h"
#include "framework/io/File.h"
#include "fuzz/BookStructure.h"
#include "fuzz/FuzzSupport.h"
#include "markup/NoteRecords.h"
#include "markup/SourcePrep.h"

namespace {

namespace fs = std::filesystem;

enum : uint8_t {
    kByteExcludePageTables = 0x01,
    kByteDictionary = 0x02,
    kByteBatch = 0x04,
    kByteLongTitle = 0x08,
    kByteImageFolder = 0x10,
};

// A 4 x 3 palette image (8-bit indexes, three colours), for sources that
// name "a.png".
const uint8_t kTinyPalettePng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x03, 0x08, 0x03, 0x00, 0x00, 0x00, 0x83, 0x2a, 0x5e, 0xf4, 0x00,
    0x00, 0x00, 0x09, 0x50, 0x4c, 0x54, 0x45, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0x80, 0x80, 0x80, 0x44,
    0xc8, 0x83, 0x9a, 0x00, 0x00, 0x00, 0x13, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0x60, 0x60, 0x64,
    0x62, 0x00, 0x61, 0x46, 0x06, 0x20, 0x66, 0x02, 0x00, 0x00, 0x5f, 0x00, 0x0d, 0xf3, 0x4a, 0x36, 0x8a,
    0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

// The image folder of the scratch source exists exactly when asked for.
bool PrepareImageFolder(const std::string& folder, bool wanted)
{
    std::error_code error;
    if (!wanted) {
        fs::remove_all(folder, error);
        return !error;
    }
    if (fs::exists(folder + "/a.png", error))
        return true;
    fs::create_directories(folder, error);
    return WriteScratchFile(folder + "/a.png", kTinyPalettePng, sizeof kTinyPalettePng);
}

// The text the book's text records must hold: the source prepared and
// with its notes block cut off, as the build does it.
std::string ExpectedText(const uint8_t* source, size_t size)
{
    CMemBuffer prepared(static_cast<uint32_t>(size), 1);
    prepared.Append(source, static_cast<uint32_t>(size));
    PrepareSourceText(prepared);
    CMemBuffer notes;
    SplitOffNotes(prepared, notes);
    return std::string(reinterpret_cast<const char*>(prepared.GetData()), prepared.GetSize());
}

} // namespace

std::string RunBuildInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return {};
    const uint8_t choice = data[0];
    ++data;
    --size;
    const uint32_t options = ((choice & kByteExcludePageTables) ? ExcludePageTables : 0) |
                             ((choice & kByteDictionary) ? Dictionary : 0);

    const std::string& folder = FuzzScratchFolder();
    const std::string sourcePath = folder + "/book.lml";
    const std::string outputPath = folder + "/book.ldb";
    if (folder.empty() || !WriteScratchFile(sourcePath, data, size) ||
        !PrepareImageFolder(folder + "/book_img", choice & kByteImageFolder))
        return {}; // the machine, not the build: nothing to judge

    CBookInfo info;
    info.title.Assign("Fuzz: a title: longer than twenty-nine characters", kEncodingDeviceLatin);
    CSilentReports reports(choice & kByteBatch);
    CFile source(sourcePath.c_str());
    CFile output(outputPath.c_str());
    bool written = false;
    if (BuildBook(&source, &output, (choice & kByteLongTitle) ? &info : nullptr, options, &written) != 0)
        return "BuildBook refused two real files";

    std::string fault;
    std::error_code error;
    const bool exists = fs::exists(outputPath, error);
    if (!written) {
        if (reports.Errors() == 0)
            fault = "no book was written and no error was reported";
        else if (exists)
            fault = "a failed build left an output file";
    } else if (!exists) {
        fault = "the build said it wrote a book, but there is none";
    } else {
        fault = CheckBookStructure(outputPath, ExpectedText(data, size), options);
    }
    fs::remove(outputPath, error);
    return fault;
}

std::string RunBookInfoInput(const uint8_t* data, size_t size)
{
    const std::string& folder = FuzzScratchFolder();
    const std::string path = folder + "/info.lml";
    if (folder.empty() || !WriteScratchFile(path, data, size))
        return {};

    CBookInfo info;
    info.title.Assign("kept", kEncodingDeviceLatin);
    char outName[32];
    std::memset(outName, 0x5A, sizeof outName);
    {
        CSilentReports reports(false);
        ReadBookInfo(CFile(path.c_str()), outName, info);
    }
    if (size == 0)
        return info.title.GetLength() == 4 && outName[0] == 0x5A ? std::string()
                                                                : "an empty source changed the book information";
    if (outName[31] != 0)
        return "the output name is not terminated";

    const size_t window = size < kBookInfoSearchSize ? size : kBookInfoSearchSize;
    const std::string_view searched(reinterpret_cast<const char*>(data), window);
    const CRkString* fields[] = {&info.title, &info.author, &info.publisher, &info.eISBN, &info.copyright};
    const char* keys[] = {"TITLE=", "AUTHOR=", "PUBLISHER=", "EISBN=", "COPYRIGHT="};
    for (size_t i = 0; i < 5; ++i) {
        const CRkString& field = *fields[i];
        if (field.GetLength() > window)
            return std::string(keys[i]) + " value longer than the bytes searched";
        if (searched.find(keys[i]) == std::string_view::npos && !field.IsEmpty())
            return std::string(keys[i]) + " value without the key in the bytes searched";
        char* narrow = field.CopyNarrow(kEncodingDeviceLatin);
        const bool tooLong = narrow && std::strlen(narrow) > field.GetLength();
        std::free(narrow);
        if (tooLong)
            return std::string(keys[i]) + " value grew in its 8-bit form";
    }
    if (searched.find("OUT=") == std::string_view::npos && outName[0] != 0)
        return "an output name without the OUT= key";
    return {};
}

std::string RunLDBFileInput(const uint8_t* data, size_t size)
{
    const std::string& folder = FuzzScratchFolder();
    const std::string path = folder + "/input.ldb";
    if (folder.empty() || !WriteScratchFile(path, data, size))
        return {};

    CFile file(path.c_str());
    CLDBFile book(file);
    const bool valid = book.IsValid();
    if (!valid && (book.GetName() || book.GetRecordCount() || book.GetType() != 0xFFFFFFFFu ||
                   book.GetCreator() != 0xFFFFFFFFu || book.GetVersion() != -1))
        return "an invalid book answers like a valid one";
    if (book.GetFileSize() > size)
        return "the reader sees a larger file than there is";
    if (valid && std::strlen(book.GetName()) > 32)
        return "the name is not terminated";
    (void)book.GetModificationNumber();
    (void)book.GetHeader();
    const bool complete = book.IsComplete();

    const uint32_t count = book.GetRecordCount();
    uint64_t total = 0;
    bool ordered = true;
    CZLibUncompressor uncompressor;
    for (uint32_t i = 0; i <= count; ++i) {
        const uint32_t offset = book.GetRecordOffset(i);
        const uint32_t recordSize = book.GetRecordSize(i);
        if (i == count) {
            if (offset != 0 || recordSize != 0)
                return "a record past the last one has an offset or size";
        }
        CMemBuffer record;
        const uint32_t result = book.ReadRecord(i, record);
        if (i == count && result == 0)
            return "a record past the last one was read";
        if (result != 0)
            continue;
        if (uint64_t(offset) + record.GetSize() > size)
            return "record " + std::to_string(i) + " was read past the end of the file";
        if (record.GetSize() != recordSize)
            return "record " + std::to_string(i) + " was read with another size than it has";
        if (i > 0 && offset < book.GetRecordOffset(i - 1))
            ordered = false;
        total += recordSize;
        if (record.GetSize()) {
            uint8_t out[kMaxTextRecordSize];
            uint32_t length = sizeof out;
            (void)uncompressor.Uncompress(record.GetData(), record.GetSize(), out, length);
            CMemBuffer* whole = uncompressor.Uncompress(record, kMaxTextRecordSize);
            delete whole;
        }
    }
    if (complete && ordered && count && total + book.GetRecordOffset(0) != size)
        return "a complete book whose records do not add up to the file";

    // A closed reader opens the file again for a record.
    book.Close();
    if (count) {
        CMemBuffer again;
        if (book.ReadRecord(0, again) == 0 && again.GetSize() != book.GetRecordSize(0))
            return "a record read after closing has the wrong size";
    }
    book.Close();

    CRkString name;
    (void)CLDBFile::ProbeType(file);
    (void)CLDBFile::ProbeCreator(file);
    if (CLDBFile::ProbeName(file, name) && name.GetLength() > 32)
        return "the probed name is longer than its field";
    return {};
}
