// The name of the book built from a source, and the numbered names used
// when a book of that name exists and is to be kept.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/core/RkString.h"

class CFile;

// Longest name of a book without its ".ldb".
inline constexpr uint32_t kMaxBookBaseLength = 251;
// The last number tried for a numbered name.
inline constexpr uint32_t kMaxBookNumber = 99999;

// The first `limit` units of `text`, one fewer when the cut would split a
// surrogate pair.
CRkString CutName(const CRkString& text, uint32_t limit);
// The source's name without its extension (from the last "." on), cut to
// 251 units, followed by ".ldb": tale.lml, tale.txt and tale give tale.ldb.
CRkString BookNameForSource(const CRkString& sourceName);
// True for a name that ends in ".ldb" in any letter case.
bool IsBookName(const CRkString& name);
// `output` itself when it does not exist; else the first of base.1.ldb,
// base.2.ldb, ... (base cut so that base + "." + n stays within 251 units)
// that does not exist, in the same folder. Null when even base.99999.ldb
// exists. Owned by the caller.
CFile* FirstFreeBookFile(const CFile& output);
// The same with `exists` deciding which files are there.
CFile* FirstFreeBookFile(const CFile& output, const std::function<bool(const CFile&)>& exists);
