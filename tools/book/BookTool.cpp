#include "tools/book/BookTool.h"

#include <utility>
#include <vector>

#include "tools/book/BookCheck.h"
#include "tools/book/BookDump.h"
#include "tools/book/BookImage.h"
#include "tools/book/BookLoader.h"
#include "tools/book/ToolOptions.h"

int RunBookTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    ToolOptions options;
    std::string error;
    if (!ParseToolArguments(argc, argv, options, error)) {
        err << "vellumix-book: error: " << error << "\n"
            << "Try 'vellumix-book --help' for more information.\n";
        return 2;
    }
    switch (options.command) {
    case ToolCommand::Help: out << ToolUsageText(); return 0;
    case ToolCommand::Version: out << "vellumix-book " << kBookToolVersion << "\n"; return 0;
    case ToolCommand::Build: return RunBuildCommand(options, out, err);
    case ToolCommand::Dump: return RunDumpCommand(options, out, err);
    case ToolCommand::Check: return RunCheckCommand(options, out, err);
    case ToolCommand::Pages: return RunPagesCommand(options, out, err);
    }
    return 2;
}

int RunDumpCommand(const ToolOptions& options, std::ostream& out, std::ostream& err)
{
    std::vector<uint8_t> bytes;
    std::string error;
    if (!LoadWholeFile(options.input, bytes, error)) {
        err << "error: " << error << "\n";
        return 1;
    }
    CBookImage book(std::move(bytes));
    DumpOptions dumpOptions;
    dumpOptions.text = options.text;
    DumpBook(book, dumpOptions, out);
    return 0;
}

int RunCheckCommand(const ToolOptions& options, std::ostream& out, std::ostream& err)
{
    std::vector<uint8_t> bytes;
    std::string error;
    if (!LoadWholeFile(options.input, bytes, error)) {
        err << "error: " << error << "\n";
        return 1;
    }
    CBookImage book(std::move(bytes));
    std::vector<std::string> problems = CheckBook(book);
    for (const std::string& problem : problems) {
        out << options.input << ": " << problem << "\n";
    }
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
    if (dot != std::string::npos && dot > nameStart) {
        return source.substr(0, dot) + ".ldb";
    }
    return source + ".ldb";
}
