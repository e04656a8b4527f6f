// The database name of a book, derived from its title.
#pragma once

#include <cstdint>

#include "book/BookFormat.h"

class CFile;
class CRkString;

// Fills the zero-filled 32-byte field with the name: the title in device
// Latin (at most 255 bytes); a title of 30 or more characters becomes its
// first 13, "..." and its last 13; every colon becomes a hyphen. Warns
// about both repairs outside batch mode.
void DeriveDatabaseName(const CRkString& title, char (&name)[kDatabaseNameField]);

// The folder that holds a source's images: its path without a final
// ".txt" or ".lml" (any case), followed by "_img".
void ImageDirectoryPath(const CRkString& sourcePath, CRkString& out);

// The image directory of `source`; empty for none (a source read from a
// stream has none).
void SourceImageDirectory(const CFile* source, CRkString& out);
