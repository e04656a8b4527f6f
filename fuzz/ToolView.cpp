#include <sstream>
#include <vector>

#include "fuzz/ReaderView.h"
#include "tools/book/BookCheck.h"
#include "tools/book/BookDump.h"
#include "tools/book/BookImage.h"

std::string RunBookTool(const uint8_t* data, size_t size)
{
    const CBookImage book(std::vector<uint8_t>(data, data + size));
    if (book.FileSize() != size)
        return "the book tool sees another file size";
    const uint8_t* start = book.Bytes().data();
    for (uint32_t i = 0; i < book.RecordCount(); ++i) {
        const uint8_t* record = book.RecordData(i);
        if (record && (record < start || uint64_t(record - start) + book.RecordSize(i) > size))
            return "the book tool hands out record " + std::to_string(i) + " outside the file";
    }
    (void)CheckBook(book);
    std::ostringstream listing;
    DumpOptions options;
    options.text = true;
    DumpBook(book, options, listing);
    return {};
}
