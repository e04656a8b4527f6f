// The book information (title, author, publisher, eISBN, copyright) and
// its reading from the key lines of a source file.
#pragma once

#include <cstdint>

#include "framework/core/RkString.h"

class CFile;

class CBookInfo {
public:
    CRkString title;
    CRkString author;
    CRkString publisher;
    CRkString eISBN;
    CRkString copyright;
};

// How many bytes of the source are searched for keys.
inline constexpr uint32_t kBookInfoSearchSize = 16384;

// Fills info from the key lines TITLE=, AUTHOR=, PUBLISHER=, EISBN= and
// COPYRIGHT= in the first 16384 bytes of the source (each key, then a
// double-quoted value; a missing key or quote empties the field), and
// outName (32 bytes, zeroed, at most 31 bytes copied) from OUT=. Values
// undo two escapes: a doubled backslash is one backslash; backslash, a and
// three decimal digits (001 to 255) is that byte. Anything else, including
// a backslash-a cut short by the end of the bytes read, stays as written.
// A source that cannot be opened or is empty changes nothing.
void ReadBookInfo(const CFile& source, char* outName, CBookInfo& info);
// The same from the source's bytes already read (the first 16384 of them
// are searched).
void ReadBookInfoFromText(const uint8_t* bytes, uint32_t size, char* outName, CBookInfo& info);
