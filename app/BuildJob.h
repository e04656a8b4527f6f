// One source file waiting in the build queue, with what the run finds out
// about it: the book to write and the book information.
#pragma once

#include <cstdint>
#include <memory>

#include "book/BookInfo.h"
#include "framework/io/File.h"

struct BuildSettings {
    uint8_t overwrite = 0;
    uint8_t prompt = 0;
    uint8_t dictionary = 0;
    uint8_t excludePageTables = 0;
};

// The preference keys of the build settings.
inline constexpr char kPrefOverwrite[] = "Overwrite";
inline constexpr char kPrefPrompt[] = "Prompt";
inline constexpr char kPrefDictionary[] = "Dictionary";
inline constexpr char kPrefExcludePageTables[] = "ExcludePageTables";

struct BuildJob {
    uint32_t index = 0; // its number in the run
    std::unique_ptr<CFile> source;
    std::unique_ptr<CFile> output;   // chosen at step 57
    std::unique_ptr<CBookInfo> info; // read at step 55
};
