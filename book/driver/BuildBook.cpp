#include "book/driver/BuildBook.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "book/AssembleBook.h"
#include "book/BookInfo.h"
#include "book/BookOutput.h"
#include "book/BookRandom.h"
#include "book/BookRecLists.h"
#include "book/BuildLists.h"
#include "book/driver/BuildTime.h"
#include "book/driver/DeferredReports.h"
#include "book/driver/TextRecordCompressor.h"
#include "book/driver/DatabaseName.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/Report.h"
#include "framework/core/RkString.h"
#include "framework/io/File.h"
#include "markup/NoteRecords.h"
#include "book/PageLimit.h"
#include "book/RecordNames.h"
#include "markup/Paginate.h"
#include "markup/RecordSplit.h"
#include "markup/SourcePrep.h"

namespace {

// Longest piece of a path shown in a message.
constexpr size_t kPathInMessage = 255;
constexpr size_t kPathInStatus = 259;
// The compressed text grows in steps of this size past its estimate.
constexpr uint32_t kTextGrowth = 1024 * 1024;

// A path as shown in messages: device Latin, cut to `limit` bytes.
std::string ShownPath(const CFile& file, size_t limit)
{
    CRkString path;
    file.GetPath(path);
    std::string shown = DeviceLatinText(path);
    if (shown.size() > limit)
        shown.resize(limit);
    return shown;
}

// True when folder is the image directory or lies inside it.
bool InImageDirectory(const CFile& folder, const CRkString& imageDirectory)
{
    const CFile images(imageDirectory);
    if (!images.IsDirectory())
        return false;
    std::unique_ptr<CFile> at(folder.ResolveLinks());
    while (at) {
        if (at->IsSameFile(images))
            return true;
        std::unique_ptr<CFile> parent(at->GetParent());
        CRkString before, after;
        at->GetPath(before);
        if (parent)
            parent->GetPath(after);
        if (!parent || after.GetLength() >= before.GetLength())
            break;
        at = std::move(parent);
    }
    return false;
}

bool CheckSource(CFile& source)
{
    if (source.Open(kFileModeRead) != 0) {
        ReportError("The input file \"%s\" could not be opened.", ShownPath(source, kPathInMessage).c_str());
        return false;
    }
    source.Close();
    return true;
}

// Both open tests. The output itself is not touched: its test is the
// creation of the temporary file that will take the book. An output that
// is the source (by identity: a link or a second name counts) or lies in
// the book's image directory is refused before anything is read.
bool CheckFiles(CFile& source, CFile& output, CBookFileOutput& bookOutput)
{
    if (source.IsSameFile(output)) {
        ReportError("The input and output files are the same! (%s)", ShownPath(source, kPathInMessage).c_str());
        return false;
    }
    if (!CheckSource(source))
        return false;

    switch (bookOutput.Prepare()) {
    case BookOutputCheck::Ready:
        break;
    case BookOutputCheck::NotARegularFile:
        ReportError("The file \"%s\" is not a regular file; it was left as it is.",
                    ShownPath(output, kPathInMessage).c_str());
        return false;
    case BookOutputCheck::CannotCreate:
        ReportError("The file \"%s\" could not be opened for writing.", ShownPath(output, kPathInMessage).c_str());
        return false;
    }

    CRkString sourcePath;
    source.GetPath(sourcePath);
    CRkString imageDirectory;
    ImageDirectoryPath(sourcePath, imageDirectory);
    std::unique_ptr<CFile> folder(bookOutput.Target()->GetParent());
    if (folder && InImageDirectory(*folder, imageDirectory)) {
        bookOutput.Abandon();
        ReportError("The file \"%s\" is in the book's image directory; the book is not written there.",
                    ShownPath(output, kPathInMessage).c_str());
        return false;
    }
    return true;
}

void CheckImageDirectory(const CRkString& path)
{
    CFile directory(path);
    if (!directory.Exists() || directory.IsDirectory())
        return;
    ReportWarning("The image directory \"%s\" isn't a directory.", DeviceLatinText(path).c_str());
}

// Reads the whole source into a buffer of exactly its size; null after
// reporting a failure.
std::unique_ptr<CMemBuffer> ReadSource(CFile& source)
{
    if (source.Open(kFileModeRead) != 0) {
        ReportError("An error occurred reading the file %s.\n", ShownPath(source, kPathInMessage).c_str());
        return nullptr;
    }
    const uint64_t length = source.GetLength();
    if (length > kMaxSourceSize) {
        source.Close();
        ReportError("The file %s is too large to build (%llu bytes; at most %llu).",
                    ShownPath(source, kPathInMessage).c_str(), static_cast<unsigned long long>(length),
                    static_cast<unsigned long long>(kMaxSourceSize));
        return nullptr;
    }
    // Growing by single bytes gives exact sizes when the tabs are expanded.
    auto buffer = std::make_unique<CMemBuffer>(static_cast<uint32_t>(length), 1);
    const uint32_t readResult = source.ReadInto(*buffer, static_cast<uint32_t>(length));
    const uint32_t closeResult = source.Close();
    if (readResult != 0 || closeResult != 0) {
        ReportError("An error occurred reading the file %s.\n", ShownPath(source, kPathInMessage).c_str());
        return nullptr;
    }
    return buffer;
}

// Steps after the file checks; true when the book was written. Everything
// it creates is freed when it returns, the large buffers as soon as they
// are no longer needed.
bool CompileAndWrite(CFile& source, IBookSink& output, const CBookInfo* info, uint32_t options)
{
    const uint32_t buildTime = GetBuildTime();
    CBookRandom random(buildTime);
    const uint32_t randomValue = random.HeaderValue();

    char databaseName[kDatabaseNameField];
    DeriveDatabaseName(info ? info->title : CRkString(), databaseName);

    CRkString sourcePath;
    source.GetPath(sourcePath);
    CRkString imageDirectory;
    ImageDirectoryPath(sourcePath, imageDirectory);
    CheckImageDirectory(imageDirectory);

    BuildLists lists;
    ReportStatus("Writing book <%s> from file <%s>...", databaseName, ShownPath(source, kPathInStatus).c_str());

    std::unique_ptr<CMemBuffer> prepared = ReadSource(source);
    if (!prepared)
        return false;
    PrepareSourceText(*prepared);
    CMemBuffer notes;
    SplitOffNotes(*prepared, notes);

    // The records are compressed on a second thread while the text is laid
    // out; both only read the prepared text and the record ends. The
    // layout's messages are held back until the records are done, so that
    // a record that does not compress ends the build as if it had been
    // compressed first.
    CMemBuffer text(CompressedTextCapacity(prepared->GetSize()), kTextGrowth);
    DivideTextRecords(prepared->GetData(), prepared->GetSize(), lists.textRecordEnds);
    CTextRecordCompressor compressor;
    compressor.Start(prepared->GetData(), lists.textRecordEnds, text, lists.textRecordSizes);

    BookRecLists recLists;
    CDeferredReports layoutReports;
    const bool paginationFailed =
        PaginateBook(*prepared, imageDirectory, lists.textRecordEnds, recLists.smallPages, recLists.largePages,
                     recLists.chapters, recLists.images, recLists.links, recLists.sidebars, recLists.footnotes,
                     recLists.index, options);
    if (!compressor.Wait()) {
        layoutReports.Discard();
        compressor.ReportFailure();
        return false;
    }
    layoutReports.Replay();
    if (paginationFailed) {
        ReportError("Errors occurred while paginating the book. No output file generated.");
        ReportStatus("Done.");
        return false;
    }
    prepared.reset();

    if (ResolveNotes(notes, recLists.sidebars, recLists.footnotes))
        return false;
    CMemBuffer sidebarText;
    CMemBuffer footnoteText;
    // Both kinds are built, so that every problem is reported in one run.
    const uint32_t sidebarResult = BuildSidebarRecords(notes, recLists.sidebars, lists.sidebarRecordSizes,
                                                       recLists.images, imageDirectory, sidebarText);
    const uint32_t footnoteResult = BuildFootnoteRecords(notes, recLists.footnotes, lists.footnoteRecordSizes,
                                                         recLists.images, imageDirectory, footnoteText);
    if (sidebarResult != 0 || footnoteResult != 0) {
        ReportError("Errors occurred while building the sidebars and footnotes. No output file generated.");
        ReportStatus("Done.");
        return false;
    }

    if (CountBookRecords(lists, recLists))
        return false;
    if (CheckPageTableSize(recLists.smallPages, recLists.largePages))
        return false;

    AssembleInputs inputs;
    inputs.text = &text;
    inputs.sidebarText = lists.sidebarRecordSizes.GetSize() ? &sidebarText : nullptr;
    inputs.footnoteText = lists.footnoteRecordSizes.GetSize() ? &footnoteText : nullptr;
    inputs.sink = &output;
    inputs.databaseName = databaseName;
    inputs.info = info;
    inputs.recLists = &recLists;
    inputs.buildLists = &lists;
    inputs.options = options;
    inputs.creationTime = buildTime;
    inputs.randomValue = randomValue;
    return AssembleBook(inputs);
}

} // namespace

uint32_t BuildBook(CFile* source, CFile* output, const CBookInfo* info, uint32_t options, bool* bookWritten)
{
    if (bookWritten)
        *bookWritten = false;
    if (!source || !output)
        return 1;
    // Until the book is finished the output stays as it was; whatever
    // ends the build early removes the temporary file with this object.
    CBookFileOutput bookOutput(*output);
    if (!CheckFiles(*source, *output, bookOutput))
        return 0;
    const bool written = CompileAndWrite(*source, bookOutput, info, options);
    if (bookWritten)
        *bookWritten = written;
    return 0;
}

uint32_t BuildBookInto(CFile* source, IBookSink* sink, const CBookInfo* info, uint32_t options, bool* bookWritten)
{
    if (bookWritten)
        *bookWritten = false;
    if (!source || !sink)
        return 1;
    if (!CheckSource(*source))
        return 0;
    const bool written = CompileAndWrite(*source, *sink, info, options);
    if (bookWritten)
        *bookWritten = written;
    return 0;
}
