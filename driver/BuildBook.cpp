#include "driver/BuildBook.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "book/AssembleBook.h"
#include "book/BookInfo.h"
#include "book/BookOutput.h"
#include "book/BookRandom.h"
#include "book/BookRecLists.h"
#include "book/BuildLists.h"
#include "driver/BuildTime.h"
#include "driver/DeferredReports.h"
#include "driver/OutputPaths.h"
#include "driver/TextRecordCompressor.h"
#include "driver/DatabaseName.h"
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
// The most memory the layout's held-back messages take.
constexpr size_t kHeldMessageBudget = 8u * 1024 * 1024;

// The output's open test, made once the source has been read: the
// output itself is not touched, its test is the creation of the temporary
// file that will take the book. An output that is the source (by identity:
// a link or a second name counts) or lies in the book's image directory is
// refused.
bool CheckOutput(const CFile* source, const CRkString& imageDirectory, CFile& output, CBookFileOutput& bookOutput)
{
    if (source && source->IsSameFile(output)) {
        ReportError("The input and output files are the same! (%s)", ShownPath(*source, kPathInMessage).c_str());
        return false;
    }
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
    case BookOutputCheck::NameTooLong:
        ReportError("The file \"%s\" could not be opened for writing: its name is too long.",
                    ShownPath(output, kPathInMessage).c_str());
        return false;
    }
    std::unique_ptr<CFile> folder(bookOutput.Target()->GetParent());
    if (folder && !imageDirectory.IsEmpty() && InImageDirectory(*folder, imageDirectory)) {
        bookOutput.Abandon();
        ReportError("The file \"%s\" is in the book's image directory; the book is not written there.",
                    ShownPath(output, kPathInMessage).c_str());
        return false;
    }
    return true;
}

// The error of a build that ran out of memory. Everything the build held
// has been freed by then, so the report itself finds room.
void ReportOutOfMemory()
{
    try {
        ReportError("Not enough memory to build the book.");
    } catch (const std::bad_alloc&) {
        // Not even the message fits; the result still says no book.
    }
}

void CheckImageDirectory(const CRkString& path)
{
    CFile directory(path);
    if (!directory.Exists() || directory.IsDirectory())
        return;
    ReportWarning("The image directory \"%s\" isn't a directory.", DeviceLatinText(path).c_str());
}

// Steps after the file checks; true when the book was written. Everything
// it creates is freed when it returns, the large buffers as soon as they
// are no longer needed.
bool CompileAndWrite(const std::string& sourceName, const CRkString& imageDirectory,
                     std::unique_ptr<CMemBuffer> prepared, IBookSink& output, const CBookInfo* info, uint32_t options)
{
    const uint32_t buildTime = GetBuildTime();
    CBookRandom random(buildTime);
    const uint32_t randomValue = random.HeaderValue();

    char databaseName[kDatabaseNameField];
    DeriveDatabaseName(info ? info->title : CRkString(), databaseName);

    if (!imageDirectory.IsEmpty())
        CheckImageDirectory(imageDirectory);

    BuildLists lists;
    std::string shownSource = sourceName;
    if (shownSource.size() > kPathInStatus)
        shownSource.resize(kPathInStatus);
    ReportStatus("Writing book <%s> from file <%s>...", databaseName, shownSource.c_str());

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
    // A flood of messages does not pile up: past the budget the records
    // are finished first, and the messages then go out as they come.
    layoutReports.SetBudget(kHeldMessageBudget, [&compressor] { return compressor.Wait(); });
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

std::unique_ptr<CMemBuffer> ReadSourceText(CFile& source, uint64_t limit)
{
    const std::string shown = ShownPath(source, kPathInMessage);
    if (source.Open(kFileModeReadStream) != 0) {
        if (source.IsNameTooLong())
            ReportError("The input file \"%s\" could not be opened: its name is too long.", shown.c_str());
        else
            ReportError("The input file \"%s\" could not be opened.", shown.c_str());
        return nullptr;
    }
    // Read to the end of the stream: the size of a pipe, a FIFO or a
    // device says nothing. A regular file's size only sets the first
    // capacity, one byte more so that its end is seen without growing.
    // The buffer grows by single bytes later, giving exact sizes when the
    // tabs are expanded.
    if (limit > kMaxSourceSize)
        limit = kMaxSourceSize;
    auto buffer = std::make_unique<CMemBuffer>(0, 1);
    const uint64_t length = source.GetLength();
    if (length > limit) {
        // A regular file already too large is not read at all.
        source.Close();
        ReportError("The file %s is too large to build (more than %llu bytes).", shown.c_str(),
                    static_cast<unsigned long long>(limit));
        return nullptr;
    }
    buffer->Reserve(uint32_t((length < limit ? length : limit) + 1));
    bool failed = false;
    uint64_t total = 0;
    for (;;) {
        if (buffer->GetCapacity() == buffer->GetSize()) {
            const uint64_t doubled = uint64_t(buffer->GetCapacity()) * 2;
            buffer->Reserve(uint32_t(doubled < limit + 1 ? doubled : limit + 1));
        }
        // Never more than one byte past the limit.
        uint64_t want = buffer->GetCapacity() - buffer->GetSize();
        if (want > limit + 1 - total)
            want = limit + 1 - total;
        uint32_t got = 0;
        if (source.Read(buffer->GetData() + buffer->GetSize(), uint32_t(want), got) != 0) {
            failed = true;
            break;
        }
        buffer->SetSize(buffer->GetSize() + got);
        total += got;
        if (got == 0 || total > limit)
            break;
    }
    failed = source.Close() != 0 || failed;
    if (total > limit) {
        ReportError("The file %s is too large to build (more than %llu bytes).", shown.c_str(),
                    static_cast<unsigned long long>(limit));
        return nullptr;
    }
    if (failed) {
        ReportError("An error occurred reading the file %s.\n", shown.c_str());
        return nullptr;
    }
    return buffer;
}

uint32_t BuildBookFromText(const CFile* source, const std::string& sourceName, std::unique_ptr<CMemBuffer> text,
                           CFile* output, IBookSink* sink, const CBookInfo* info, uint32_t options,
                           bool* bookWritten)
{
    if (bookWritten)
        *bookWritten = false;
    if (!text || (!output && !sink))
        return 1;
    CRkString imageDirectory;
    if (source) {
        CRkString sourcePath;
        source->GetPath(sourcePath);
        ImageDirectoryPath(sourcePath, imageDirectory);
    }
    try {
        // Until the book is finished the output stays as it was; whatever
        // ends the build early (memory running out too) removes the
        // temporary file with this object.
        std::unique_ptr<CBookFileOutput> bookOutput;
        if (!sink) {
            bookOutput = std::make_unique<CBookFileOutput>(*output);
            if (!CheckOutput(source, imageDirectory, *output, *bookOutput))
                return 0;
            sink = bookOutput.get();
        }
        const bool written = CompileAndWrite(sourceName, imageDirectory, std::move(text), *sink, info, options);
        if (bookWritten)
            *bookWritten = written;
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    return 0;
}

namespace {

uint32_t ReadAndBuild(CFile* source, CFile* output, IBookSink* sink, const CBookInfo* info, uint32_t options,
                      bool* bookWritten)
{
    if (bookWritten)
        *bookWritten = false;
    if (!source || (!output && !sink))
        return 1;
    if (output && source->IsSameFile(*output)) {
        ReportError("The input and output files are the same! (%s)", ShownPath(*source, kPathInMessage).c_str());
        return 0;
    }
    std::unique_ptr<CMemBuffer> text;
    try {
        text = ReadSourceText(*source);
    } catch (const std::bad_alloc&) {
        source->Close();
        ReportOutOfMemory();
        return 0;
    }
    if (!text)
        return 0;
    return BuildBookFromText(source, ShownPath(*source, kPathInStatus), std::move(text), output, sink, info, options,
                             bookWritten);
}

} // namespace

uint32_t BuildBook(CFile* source, CFile* output, const CBookInfo* info, uint32_t options, bool* bookWritten)
{
    return ReadAndBuild(source, output, nullptr, info, options, bookWritten);
}

uint32_t BuildBookInto(CFile* source, IBookSink* sink, const CBookInfo* info, uint32_t options, bool* bookWritten)
{
    return sink ? ReadAndBuild(source, nullptr, sink, info, options, bookWritten) : 1;
}
