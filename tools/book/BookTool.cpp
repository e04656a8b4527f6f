#include "tools/book/BookTool.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>
#include <utility>
#include <vector>

#include "driver/BuildBook.h"
#include "driver/BuildTime.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/MessageGate.h"
#include "framework/core/Report.h"
#include "framework/io/ChildProcess.h"
#include "framework/io/File.h"
#include "framework/io/Terminal.h"
#include "tools/book/BookCheck.h"
#include "tools/book/BookDump.h"
#include "tools/book/BookImage.h"
#include "tools/book/BookLoader.h"
#include "tools/book/ToolMessages.h"
#include "tools/book/ToolOptions.h"

int RunBookTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    return RunBookTool(argc, argv, std::cin, out, err);
}

int RunBookTool(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err,
                bool errShowsColour, const std::string& programPath)
{
    ToolOptions options;
    std::string error;
    if (!ParseToolArguments(argc, argv, options, error)) {
        err << "vellumix-book: error: " << error << "\n"
            << "Try 'vellumix-book --help' for more information.\n";
        return 2;
    }
    options.style.format = options.messageFormat;
    // Where several sources are built, each one's own name (style.source)
    // comes first.
    options.style.sourceName = ShownSourceName(options.input);
    options.programPath = programPath;
    // NO_COLOR (set and not empty) only changes the automatic choice.
    const char* noColour = std::getenv("NO_COLOR");
    options.style.colour = options.messageFormat == MessageFormat::Text &&
                           (options.colour == ColourChoice::Always ||
                            (options.colour == ColourChoice::Auto && errShowsColour && !(noColour && *noColour)));
    if (options.command == ToolCommand::Build) {
        // A build that cannot be repeated as asked is not made at all.
        uint32_t seconds = 0;
        const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
        if (epoch && !ParseSourceDateEpoch(epoch, seconds)) {
            WriteMessage(err, options.style, MessageLevel::Error,
                         std::string("SOURCE_DATE_EPOCH is \"") + epoch + "\"; it must be a decimal number from 0 to " +
                             std::to_string(kMaxSourceDateEpoch),
                         "vellumix-book: ");
            return 2;
        }
    }
    int status = 2;
    try {
        switch (options.command) {
        case ToolCommand::Help:
            out << ToolUsageText();
            status = 0;
            break;
        case ToolCommand::Version:
            out << "vellumix-book " << kBookToolVersion << "\n";
            status = 0;
            break;
        case ToolCommand::Build:
            status = RunBuildCommand(options, in, out, err);
            break;
        case ToolCommand::Dump:
            status = RunDumpCommand(options, out, err);
            break;
        case ToolCommand::Check:
            status = RunCheckCommand(options, out, err);
            break;
        case ToolCommand::Pages:
            status = RunPagesCommand(options, in, out, err);
            break;
        }
    } catch (const std::bad_alloc&) {
        // Whatever the command held is freed by now; it did not do its work.
        WriteMessage(err, options.style, MessageLevel::Error, OutOfMemoryText(options.command));
        status = 1;
    }
    // What could not be written was not delivered.
    if (!out.flush() && status == 0) {
        err << "vellumix-book: error: the output could not be written\n";
        status = 1;
    }
    return status;
}

int RunBookToolOnStandardStreams(int argc, const char* const* argv)
{
    int status =
        RunBookTool(argc, argv, std::cin, std::cout, std::cerr, StandardErrorShowsColour(), CurrentProgramPath());
    // Written data can still be lost when standard output is closed.
    if (std::fclose(stdout) != 0 && status == 0) {
        std::cerr << "vellumix-book: error: the output could not be written\n";
        status = 1;
    }
    return status;
}

const char* OutOfMemoryText(ToolCommand command)
{
    switch (command) {
    case ToolCommand::Dump:
        return "Not enough memory to dump the book.";
    case ToolCommand::Check:
        return "Not enough memory to check the book.";
    case ToolCommand::Pages:
        return "Not enough memory to lay out the book.";
    default:
        return "Not enough memory to build the book.";
    }
}

namespace {

// A failed read of the book is the command's failure, not a problem of
// the book.
bool ReportReadFailure(const CBookImage& book, const std::string& path, std::ostream& err)
{
    if (!book.ReadFailed())
        return false;
    err << "error: cannot read \"" << path << "\": a read failed\n";
    return true;
}

// The book that dump or check reads, or null after saying why it cannot
// be opened.
std::unique_ptr<CBookImage> OpenBookImage(const std::string& path, std::ostream& err)
{
    std::string error;
    std::unique_ptr<IBookBytes> bytes = OpenBookFile(path, error);
    if (!bytes) {
        err << "error: " << error << "\n";
        return nullptr;
    }
    return std::make_unique<CBookImage>(std::move(bytes));
}

} // namespace

int RunDumpCommand(const ToolOptions& options, std::ostream& out, std::ostream& err)
{
    const std::unique_ptr<CBookImage> opened = OpenBookImage(options.input, err);
    if (!opened)
        return 1;
    CBookImage& book = *opened;
    DumpOptions dumpOptions;
    dumpOptions.text = options.text;
    DumpBook(book, dumpOptions, out);
    return ReportReadFailure(book, options.input, err) ? 1 : 0;
}

int RunCheckCommand(const ToolOptions& options, std::ostream& out, std::ostream& err)
{
    const std::unique_ptr<CBookImage> opened = OpenBookImage(options.input, err);
    if (!opened)
        return 1;
    CBookImage& book = *opened;
    std::vector<std::string> problems = CheckBook(book);
    if (ReportReadFailure(book, options.input, err))
        return 1;
    for (const std::string& problem : problems)
        out << options.input << ": " << problem << "\n";
    if (!problems.empty()) {
        out << options.input << ": " << problems.size() << (problems.size() == 1 ? " problem" : " problems")
            << " found\n";
        return 1;
    }
    const BookHeaderRecord& h = book.BookHeader();
    // Notes sections count their table record; the index its heading record.
    auto notes = [](uint16_t records) { return records ? records - 1 : 0; };
    out << options.input << ": OK: " << book.FileSize() << " bytes, " << book.RecordCount() << " records ("
        << h.firstAfterText - 1 << " text, " << h.chapterCount << " chapters, " << h.linkCount << " links, "
        << h.imageCount << " images, " << notes(h.sidebarCount) << " sidebar and " << notes(h.footnoteCount)
        << " footnote text records, " << notes(h.indexCount) << " index groups, " << h.smallEntries
        << " small-font pages, " << h.largeEntries << " large-font pages)\n";
    return 0;
}

std::string DefaultBookPath(const std::string& source)
{
    size_t nameStart = source.find_last_of('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = source.find_last_of('.');
    if (dot != std::string::npos && dot > nameStart)
        return source.substr(0, dot) + ".ldb";
    return source + ".ldb";
}

std::string ShownSourceName(const std::string& input)
{
    return input == "-" ? "<standard input>" : input;
}

std::unique_ptr<CMemBuffer> ReadToolSource(const std::string& input, std::istream& in)
{
    if (input != "-") {
        CFile source(input.c_str());
        return ReadSourceText(source);
    }
    // Standard input, to its end, and never more than one byte past the
    // limit; growing by single bytes afterwards keeps the tab expansion exact.
    auto buffer = std::make_unique<CMemBuffer>(0, 1);
    constexpr uint64_t kChunk = 1 << 20;
    uint64_t total = 0;
    while (in && total <= kMaxSourceSize) {
        uint64_t want = kMaxSourceSize + 1 - total;
        if (want > kChunk)
            want = kChunk;
        if (buffer->GetCapacity() - buffer->GetSize() < want) {
            const uint64_t doubled = uint64_t(buffer->GetCapacity()) * 2;
            const uint64_t need = buffer->GetSize() + want;
            buffer->Reserve(uint32_t(doubled > need && doubled <= kMaxSourceSize + 1 ? doubled : need));
        }
        in.read(reinterpret_cast<char*>(buffer->GetData() + buffer->GetSize()), std::streamsize(want));
        const uint64_t got = uint64_t(in.gcount());
        buffer->SetSize(uint32_t(buffer->GetSize() + got));
        total += got;
    }
    if (total > kMaxSourceSize) {
        ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                      "The file %s is too large to build (more than %llu bytes).", ShownSourceName(input).c_str(),
                      static_cast<unsigned long long>(kMaxSourceSize));
        return nullptr;
    }
    if (in.bad()) {
        ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                      "An error occurred reading the file %s.\n", ShownSourceName(input).c_str());
        return nullptr;
    }
    return buffer;
}
