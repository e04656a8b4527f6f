// What the build's output checks share with the tool's own: how a path is
// shown in a message and whether a folder lies in the image directory.
#pragma once

#include <cstddef>
#include <string>

class CFile;
class CRkString;

// A path as shown in messages: device Latin, cut to `limit` bytes.
std::string ShownPath(const CFile& file, size_t limit);

// True when `folder` is the image directory or lies inside it (links
// resolved, so another name for it counts).
bool InImageDirectory(const CFile& folder, const CRkString& imageDirectory);
