// The build fuzz entry: a source and its options from the input bytes, the
// build, and the judgement of its outcome.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "book/BookInfo.h"
#include "book/BuildOptions.h"
#include "driver/BookPipeline.h"
#include "driver/BuildBook.h"
#include "framework/core/MemBuffer.h"
#include "framework/io/File.h"
#include "fuzz/BookStructure.h"
#include "fuzz/FuzzEntries.h"
#include "fuzz/FuzzImages.h"
#include "fuzz/FuzzSupport.h"

namespace {

namespace fs = std::filesystem;

enum : uint8_t {
    kByteExcludePageTables = 0x01,
    kByteDictionary = 0x02,
    kByteBatch = 0x04,
    kByteLongTitle = 0x08,
    kByteImageFolder = 0x10,
    kByteImageFolderIsFile = 0x20,
};

enum class ImageFolder { None, Images, PlainFile };

// Puts the image folder of the scratch source in the state asked for.
bool PrepareImageFolder(const std::string& folder, ImageFolder wanted)
{
    std::error_code error;
    const bool isDirectory = fs::is_directory(folder, error);
    switch (wanted) {
    case ImageFolder::None:
        fs::remove_all(folder, error);
        return !error;
    case ImageFolder::PlainFile:
        if (isDirectory)
            fs::remove_all(folder, error);
        return WriteScratchFile(folder, reinterpret_cast<const uint8_t*>("x"), 1);
    case ImageFolder::Images:
        if (isDirectory && fs::exists(folder + "/b.png", error))
            return true;
        fs::remove(folder, error);
        fs::create_directories(folder, error);
        return WriteScratchFile(folder + "/a.png", TinyPalettePng().data(), TinyPalettePng().size()) &&
               WriteScratchFile(folder + "/b.png", DamagedPalettePng().data(), DamagedPalettePng().size());
    }
    return false;
}

// The one error after which the book is still written: a sidebar or
// footnote without its end tag gets no records, and the build goes on.
bool OnlyErrorsThatKeepTheBook(const std::vector<std::string>& formats)
{
    for (const std::string& format : formats)
        if (format != "No end tag for sidebar or footnote named %s was found.")
            return false;
    return true;
}

// The text the book's text records must hold: the source prepared and
// with its notes block cut off, as the build does it.
std::string ExpectedText(const uint8_t* source, size_t size)
{
    auto text = std::make_unique<CMemBuffer>(static_cast<uint32_t>(size), 1);
    text->Append(source, static_cast<uint32_t>(size));
    CBookPipeline pipeline(std::move(text), CRkString(), 0);
    pipeline.Prepare();
    pipeline.SplitNotes();
    const CMemBuffer& prepared = pipeline.PreparedText();
    return std::string(reinterpret_cast<const char*>(prepared.GetData()), prepared.GetSize());
}

} // namespace

std::string RunBuildInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return {};
    const uint8_t choice = data[0];
    ++data;
    --size;
    uint32_t options = 0;
    if (choice & kByteExcludePageTables)
        options |= ExcludePageTables;
    if (choice & kByteDictionary)
        options |= Dictionary;
    const ImageFolder images = (choice & kByteImageFolder)         ? ImageFolder::Images
                               : (choice & kByteImageFolderIsFile) ? ImageFolder::PlainFile
                                                                   : ImageFolder::None;

    const std::string& folder = FuzzScratchFolder();
    const std::string sourcePath = folder + "/book.lml";
    const std::string outputPath = folder + "/book.ldb";
    if (folder.empty() || !WriteScratchFile(sourcePath, data, size) ||
        !PrepareImageFolder(folder + "/book_img", images))
        return {}; // the machine, not the build: nothing to judge

    CBookInfo info;
    info.title.Assign("Fuzz: a title: longer than twenty-nine characters", kEncodingDeviceLatin);
    info.author.Assign("An Author", kEncodingDeviceLatin);
    CSilentReports reports(choice & kByteBatch);
    CFile source(sourcePath.c_str());
    CFile output(outputPath.c_str());
    const uint32_t result = BuildBook(&source, &output, (choice & kByteLongTitle) ? &info : nullptr, options);
    if (result == kBuildNotRun)
        return "BuildBook refused two real files";
    if (result != kBookWritten && result != kBookNotWritten)
        return "BuildBook returned an unknown code";
    const bool written = result == kBookWritten;

    std::string fault;
    std::error_code error;
    const bool exists = fs::exists(outputPath, error);
    if (!written) {
        if (reports.Errors() == 0)
            fault = "no book was written and no error was reported";
        else if (exists)
            fault = "a failed build left an output file";
    } else if (!OnlyErrorsThatKeepTheBook(reports.ErrorFormats())) {
        fault = "a book was written although an error was reported";
    } else if (!exists) {
        fault = "the build said it wrote a book, but there is none";
    } else {
        fault = CheckBookStructure(outputPath, ExpectedText(data, size), options);
    }
    fs::remove(outputPath, error);
    return fault;
}
