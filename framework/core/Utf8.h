// UTF-8: one encoder and one decoder for the whole framework.
//
// Policy. The encoder writes a code point up to U+10FFFF in its shortest
// form; a surrogate code point (U+D800-U+DFFF) is written as its three
// bytes like any other, so callers that must not produce one (the
// preference text) escape it first. The decoder accepts only well-formed
// UTF-8: shortest forms, no surrogates, nothing above U+10FFFF, no missing
// or stray continuation bytes. On anything else it returns false and leaves
// the position alone, so that the caller decides: refuse the text, or take
// the byte as Latin-1 and go on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

void AppendUtf8(std::string& out, uint32_t codePoint);

// Decodes the sequence at text[pos] into `codePoint` and moves `pos` past
// it; false on a bad sequence (pos unchanged).
bool DecodeUtf8(std::string_view text, size_t& pos, uint32_t& codePoint);

// The three bytes of U+FEFF with which an editor may mark a UTF-8 file.
constexpr size_t kUtf8ByteOrderMarkLength = 3;
// True when `bytes` begin with them.
bool StartsWithUtf8ByteOrderMark(const uint8_t* bytes, size_t size);
