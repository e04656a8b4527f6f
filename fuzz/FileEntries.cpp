// The fuzz entries for files read back: the book information keys of a
// source, and a book file of arbitrary bytes through the library's reader
// and the book tool's check and listing.
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "book/BookInfo.h"
#include "book/Compressor.h"
#include "book/LDBFile.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/RkString.h"
#include "framework/io/File.h"
#include "fuzz/FuzzEntries.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ReaderView.h"

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
    return RunBookTool(data, size);
}
