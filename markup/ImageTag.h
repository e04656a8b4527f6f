// What the image code needs of the image records: the size of a named
// image, and the image list's add and load steps.
#pragma once

#include <cstdint>
#include <string>

class CRkString;
class ImageRecList;

struct ImageProbeResult {
    uint16_t width = 16;
    uint16_t height = 16;
    bool failed = false; // an error was reported (or would have been)
};

// Reads the size of the image `name` in `directory`. Errors about the name
// and about a missing file are logged when `logNameErrors` is set, errors
// about the file's contents when `logFileErrors` is set; either way they
// mark the result failed.
using ImageProbeHook = ImageProbeResult (*)(const CRkString& directory, const std::string& name, bool logNameErrors,
                                            bool logFileErrors);

// Replaces the probe (tests); null puts the standard one back.
void SetImageProbeHook(ImageProbeHook hook);

ImageProbeResult ProbeImageFile(const CRkString& directory, const std::string& name, bool logNameErrors,
                                bool logFileErrors);

// The path an image is recorded under: the directory, "/" and the name.
std::string ImagePath(const CRkString& directory, const std::string& name);

// Adds an image to the list (once per path).
void AddImageRecord(ImageRecList& images, const std::string& path, uint16_t width, uint16_t height);

// Sorts the images and loads every file into the list; true on failure
// (reported).
bool LoadImageRecords(ImageRecList& images);
