// A readable listing of a book file: the container header, the record list,
// the book header record and the records of every section.
#pragma once

#include <ostream>

class CBookImage;

struct DumpOptions {
    bool text = false; // also list the decompressed text records
};

void DumpBook(const CBookImage& book, const DumpOptions& options, std::ostream& out);
