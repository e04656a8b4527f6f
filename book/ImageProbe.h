// Looking at a named image before the book is laid out: its extension, its
// presence in the image directory and the size in its PNG header.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CRkString;

// Images whose name is this long or longer do not fit the record's
// 32-byte name field.
inline constexpr uint32_t kMaxImageNameLength = 31;

// The path of an image: the image directory, "/", and the name (device
// Latin bytes as they stand in the source).
void MakeImagePath(const CRkString& imageDirectory, std::string_view name, CRkString& path);

// The same path as device Latin bytes, as shown in messages and compared
// when images are sorted.
std::string MakeImagePathBytes(const CRkString& imageDirectory, std::string_view name);

// Probes the image `name` in `imageDirectory`.
//  - The name must end in ".png" (any letter case); otherwise an error and
//    width/height are left as they are.
//  - Width and height become 16 x 16; a missing file is an error.
//  - Otherwise they become 0 x 0 and the first 26 bytes of the file are
//    read; width and height come from the PNG header (low 16 bits) when it
//    is a grayscale or palette PNG, and every other outcome is an error.
// The extension and existence errors are logged when `logNameErrors` is
// set (the small-font pass), the errors about the file's contents when
// `logFileErrors` is set (every pass, unless text is being scanned again).
// Returns true when the parse must be marked failed, whether or not the
// message was logged.
bool ProbeImage(const CRkString& imageDirectory, std::string_view name, uint16_t& width, uint16_t& height,
                bool logNameErrors, bool logFileErrors);
