#include <cstring>
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
    for (uint32_t i = 0; i < book.RecordCount(); ++i) {
        const CBookRecord record = book.ReadRecord(i);
        if (!record.Data())
            continue;
        const uint64_t offset = book.Entries()[i].offset;
        if (record.Size() != book.RecordSize(i) || offset + record.Size() > size ||
            (record.Size() && std::memcmp(record.Data(), data + offset, record.Size()) != 0))
            return "the book tool hands out record " + std::to_string(i) + " other than the file holds";
    }
    (void)CheckBook(book);
    std::ostringstream listing;
    DumpOptions options;
    options.text = true;
    DumpBook(book, options, listing);
    return {};
}
