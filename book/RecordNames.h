// Names and terms as stored in the record lists: 8-bit device Latin bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CRkString;

// The bytes of text up to its first NUL, at most maxLength of them.
std::string StoredName(std::string_view text, size_t maxLength);
// As StoredName, with the ASCII letters A-Z lower-cased (names are compared
// and stored in lower case).
std::string LowerCaseName(std::string_view text, size_t maxLength);
// The CRC-32 of a name's bytes.
uint32_t NameHash(std::string_view name);

// The device Latin bytes of a string stored in the book (title, author
// ...) or shown in a message (a path), up to its first NUL. A character
// without a device Latin code becomes a hyphen, as a character the
// conversion does not know does, rather than a NUL that would end the
// string there.
std::string DeviceLatinText(const CRkString& text);
