#include "fuzz/BookStructure.h"

#include <utility>
#include <vector>

#include "book/BuildOptions.h"
#include "book/Compressor.h"
#include "fuzz/ReaderView.h"
#include "tools/book/BookCheck.h"
#include "tools/book/BookImage.h"
#include "tools/book/BookLoader.h"

namespace {

constexpr size_t kProblemsShown = 5;

// The text records (1 up to the first record after the text) decompressed
// and joined; false with a fault when one of them does not decompress.
bool JoinText(const CBookImage& book, std::string& text, std::string& fault)
{
    const uint32_t end = book.BookHeader().firstAfterText;
    for (uint32_t i = 1; i < end && i < book.RecordCount(); ++i) {
        std::vector<uint8_t> out;
        const CBookRecord record = book.ReadRecord(i);
        const uint8_t* data = record.Data();
        if (!data || InflateRecord(data, book.RecordSize(i), kMaxTextRecordSize, out) != InflateResult::Ok) {
            fault = "text record " + std::to_string(i) + " does not decompress into 8192 bytes";
            return false;
        }
        text.append(out.begin(), out.end());
    }
    return true;
}

// The book reader of the library must agree with the tool's view.
std::string CompareWithReader(const std::string& path, const CBookImage& book)
{
    const ReaderView reader = ViewWithReader(path);
    if (!reader.valid || !reader.complete)
        return "the book reader does not accept the book";
    if (reader.recordSizes.size() != book.RecordCount() || reader.fileSize != book.FileSize())
        return "the book reader sees another record count or file size";
    for (uint32_t i = 0; i < book.RecordCount(); ++i)
        if (reader.recordSizes[i] != book.RecordSize(i))
            return "the book reader sees another size for record " + std::to_string(i);
    return {};
}

} // namespace

std::string CheckBookStructure(const std::string& path, const std::string& expectedText, uint32_t options)
{
    std::vector<uint8_t> bytes;
    std::string error;
    if (!LoadWholeFile(path, bytes, error))
        return error;
    const CBookImage book(std::move(bytes));

    const std::vector<std::string> problems = CheckBook(book);
    if (!problems.empty()) {
        std::string joined;
        for (size_t i = 0; i < problems.size() && i < kProblemsShown; ++i)
            joined += (i ? "\n" : "") + problems[i];
        return joined;
    }

    const char* type = (options & Dictionary) ? "VxDc" : "VxBk";
    if (FourCCText(book.Header().type) != type)
        return std::string("type code: expected \"") + type + "\", found \"" + FourCCText(book.Header().type) + "\"";
    const BookHeaderRecord& header = book.BookHeader();
    if ((options & (ExcludePageTables | Dictionary)) && (header.smallEntries || header.largeEntries))
        return "page tables in a book built without them";

    std::string text;
    if (!JoinText(book, text, error))
        return error;
    if (text != expectedText)
        return "the text records do not hold the prepared text";
    return CompareWithReader(path, book);
}
