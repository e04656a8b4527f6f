#include "driver/BuildBook.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "book/BookInfo.h"
#include "book/BookOutput.h"
#include "book/BookRandom.h"
#include "book/RecordNames.h"
#include "driver/BookPipeline.h"
#include "driver/BuildTime.h"
#include "driver/DatabaseName.h"
#include "driver/OutputPaths.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/MessageGate.h"
#include "framework/core/Report.h"
#include "framework/core/RkString.h"
#include "framework/io/File.h"

namespace {

// Longest piece of a path shown in a message.
constexpr size_t kPathInMessage = 255;
constexpr size_t kPathInStatus = 259;

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
bool CompileAndWrite(const std::string& sourceName, const CRkString& imageDirectory, std::unique_ptr<CMemBuffer> source,
                     IBookSink& output, const CBookInfo* info, uint32_t options)
{
    const uint32_t buildTime = GetBuildTime();
    CBookRandom random(buildTime);
    const uint32_t randomValue = random.HeaderValue();

    char databaseName[kDatabaseNameField];
    DeriveDatabaseName(info ? info->title : CRkString(), databaseName);

    if (!imageDirectory.IsEmpty())
        CheckImageDirectory(imageDirectory);

    std::string shownSource = sourceName;
    if (shownSource.size() > kPathInStatus)
        shownSource.resize(kPathInStatus);
    ReportStatus("Writing book <%s> from file <%s>...", databaseName, shownSource.c_str());

    CBookPipeline pipeline(std::move(source), imageDirectory, options);
    pipeline.Prepare();
    pipeline.SplitNotes();
    pipeline.DivideRecords();
    pipeline.StartCompression();
    const bool laidOut = pipeline.Paginate();
    if (!pipeline.FinishCompression())
        return false;
    if (!laidOut) {
        ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                      "Errors occurred while paginating the book. No output file generated.");
        ReportStatus("Done.");
        return false;
    }
    pipeline.ReleasePreparedText();

    if (!pipeline.ResolveNotes())
        return false;
    if (!pipeline.BuildNoteRecords()) {
        ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                      "Errors occurred while building the sidebars and footnotes. No output file generated.");
        ReportStatus("Done.");
        return false;
    }
    if (!pipeline.CheckLimits())
        return false;

    BookIdentity identity;
    identity.databaseName = databaseName;
    identity.info = info;
    identity.creationTime = buildTime;
    identity.randomValue = randomValue;
    return pipeline.Assemble(output, identity);
}

} // namespace

std::unique_ptr<CMemBuffer> ReadSourceText(CFile& source, uint64_t limit)
{
    const std::string shown = ShownPath(source, kPathInMessage);
    if (source.Open(kFileModeReadStream) != 0) {
        if (source.IsNameTooLong())
            ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                          "The input file \"%s\" could not be opened: its name is too long.", shown.c_str());
        else
            ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                          "The input file \"%s\" could not be opened.", shown.c_str());
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
        ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                      "The file %s is too large to build (more than %llu bytes).", shown.c_str(),
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
        ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                      "The file %s is too large to build (more than %llu bytes).", shown.c_str(),
                      static_cast<unsigned long long>(limit));
        return nullptr;
    }
    if (failed) {
        ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                      "An error occurred reading the file %s.\n", shown.c_str());
        return nullptr;
    }
    return buffer;
}

uint32_t BuildBookFromText(const CFile* source, const std::string& sourceName, std::unique_ptr<CMemBuffer> text,
                           CFile* output, IBookSink* sink, const CBookInfo* info, uint32_t options)
{
    if (!text || (!output && !sink))
        return kBuildNotRun;
    CRkString imageDirectory;
    SourceImageDirectory(source, imageDirectory);
    try {
        // Until the book is finished the output stays as it was; whatever
        // ends the build early (memory running out too) removes the
        // temporary file with this object.
        std::unique_ptr<CBookFileOutput> bookOutput;
        if (!sink) {
            bookOutput = std::make_unique<CBookFileOutput>(*output);
            if (!CheckOutput(source, imageDirectory, *output, *bookOutput))
                return kBookNotWritten;
            sink = bookOutput.get();
        }
        if (CompileAndWrite(sourceName, imageDirectory, std::move(text), *sink, info, options))
            return kBookWritten;
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    return kBookNotWritten;
}

namespace {

uint32_t ReadAndBuild(CFile* source, CFile* output, IBookSink* sink, const CBookInfo* info, uint32_t options)
{
    if (!source || (!output && !sink))
        return kBuildNotRun;
    if (output && source->IsSameFile(*output)) {
        ReportError("The input and output files are the same! (%s)", ShownPath(*source, kPathInMessage).c_str());
        return kBookNotWritten;
    }
    std::unique_ptr<CMemBuffer> text;
    try {
        text = ReadSourceText(*source);
    } catch (const std::bad_alloc&) {
        source->Close();
        ReportOutOfMemory();
        return kBookNotWritten;
    }
    if (!text)
        return kBookNotWritten;
    return BuildBookFromText(source, ShownPath(*source, kPathInStatus), std::move(text), output, sink, info, options);
}

} // namespace

uint32_t BuildBook(CFile* source, CFile* output, const CBookInfo* info, uint32_t options)
{
    return ReadAndBuild(source, output, nullptr, info, options);
}

uint32_t BuildBookInto(CFile* source, IBookSink* sink, const CBookInfo* info, uint32_t options)
{
    return sink ? ReadAndBuild(source, nullptr, sink, info, options) : kBuildNotRun;
}
