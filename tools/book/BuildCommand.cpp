// The build command: book information from the source's key lines, replaced
// field by field by the command-line options, then one BuildBook run with
// every report message on the error stream.
#include <cstdint>
#include <new>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "book/BookInfo.h"
#include "book/BookOutput.h"
#include "book/BuildOptions.h"
#include "driver/BuildBook.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/Report.h"
#include "framework/core/RkString.h"
#include "framework/core/Utf8.h"
#include "framework/io/File.h"
#include "tools/book/BookTool.h"
#include "tools/book/HeldBookOutput.h"
#include "tools/book/ReportToStream.h"
#include "tools/book/ToolOptions.h"
#include "tools/book/ToolSource.h"

namespace {

// Command-line text is UTF-8; a byte that does not start a well-formed
// sequence (an encoded surrogate too) is taken as a Latin-1 character, so
// 8-bit arguments still get through.
CRkString StringFromArgument(const std::string& text)
{
    std::u16string units;
    for (size_t i = 0; i < text.size();) {
        uint32_t code = 0;
        if (!DecodeUtf8(text, i, code))
            code = uint8_t(text[i++]);
        if (code >= 0x10000) {
            code -= 0x10000;
            units += char16_t(0xD800 + (code >> 10));
            units += char16_t(0xDC00 + (code & 0x3FF));
        } else {
            units += char16_t(code);
        }
    }
    return CRkString(units.data(), uint32_t(units.size()));
}

// The book on the command's output stream (-o -).
class CStreamBookSink : public IBookSink {
public:
    explicit CStreamBookSink(std::ostream& out) : m_out(out) {}
    bool Write(const void* bytes, uint32_t count) override
    {
        m_out.write(static_cast<const char*>(bytes), std::streamsize(count));
        return bool(m_out);
    }
    bool Finish() override { return bool(m_out.flush()); }
    std::string ShownName() const override { return "<standard output>"; }

private:
    std::ostream& m_out;
};

} // namespace

namespace {

// The build of options.input into BookPathFor(options, options.input).
int BuildOneBook(const ToolOptions& options, std::istream& in, std::ostream& out, std::ostream& err)
{
    CToolSourceRun run(options, err);
    CReportToStream& reports = run.Reports();
    // Read once: the book information and the build use the same bytes.
    if (!run.Read(in))
        return 1;
    std::unique_ptr<CMemBuffer> text = run.TakeText();

    CBookInfo info;
    char outName[32] = {};
    ReadBookInfoFromText(text->GetData(), text->GetSize(), outName, info);
    const std::pair<const std::optional<std::string>&, CRkString&> fields[] = {
        {options.title, info.title}, {options.author, info.author},       {options.publisher, info.publisher},
        {options.eisbn, info.eISBN}, {options.copyright, info.copyright},
    };
    for (const auto& [given, field] : fields)
        if (given)
            field = StringFromArgument(*given);
    if (info.title.IsEmpty()) {
        reports.Write(MessageLevel::Error, "the book has no title: \"" + ShownSourceName(options.input) +
                                               "\" has no TITLE= key line with a value; give one with --title");
        return 1;
    }

    uint32_t flags = (options.excludePageTables ? ExcludePageTables : 0u) | (options.dictionary ? Dictionary : 0u);
    const CFile* named = run.NamedFile();
    uint32_t result = kBuildNotRun;
    if (options.failureLevel == FailureLevel::Warning) {
        // Warnings come while the book is made, so it is held back until
        // the build is over.
        CHeldBookOutput held([&reports] { return reports.WarningCount() != 0; });
        std::string outputPath = BookPathFor(options, options.input);
        CFile output(outputPath.c_str());
        if (options.output == "-")
            held.UseStream(out);
        else if (!held.PrepareFile(named, output))
            return 1;
        result =
            BuildBookFromText(named, ShownSourceName(options.input), std::move(text), nullptr, &held, &info, flags);
        if (held.HeldBack()) {
            const uint32_t warnings = reports.WarningCount();
            reports.Write(MessageLevel::Error, "the build gave " + std::to_string(warnings) +
                                                   (warnings == 1 ? " warning" : " warnings") +
                                                   " and the failure level is 'warning'; no book was written");
            return 1;
        }
    } else if (options.output == "-") {
        CStreamBookSink sink(out);
        result =
            BuildBookFromText(named, ShownSourceName(options.input), std::move(text), nullptr, &sink, &info, flags);
    } else {
        std::string outputPath = BookPathFor(options, options.input);
        CFile output(outputPath.c_str());
        result =
            BuildBookFromText(named, ShownSourceName(options.input), std::move(text), &output, nullptr, &info, flags);
    }
    return result == kBookWritten && reports.ErrorCount() == 0 ? 0 : 1;
}

} // namespace

int RunBuildCommand(const ToolOptions& options, std::istream& in, std::ostream& out, std::ostream& err)
{
    if (!options.outputDir.empty()) {
        const CFile folder(options.outputDir.c_str());
        if (!folder.IsDirectory()) {
            WriteMessage(err, options.style, MessageLevel::Error,
                         "the output folder \"" + options.outputDir + "\" " +
                             (folder.Exists() ? "is not a folder" : "does not exist"));
            return 1;
        }
    }
    if (options.inputs.size() <= 1 && !options.oneOfSeveral)
        return BuildOneBook(options, in, out, err);
    if (options.jobs > 1 && options.inputs.size() > 1 && !options.programPath.empty())
        return RunBuildsAtOnce(options, err);
    // Each book on its own, in order; one that fails does not stop the rest.
    int status = 0;
    for (const std::string& source : options.inputs) {
        ToolOptions one = options;
        one.input = source;
        one.inputs = {source};
        one.style.source = source;
        try {
            if (BuildOneBook(one, in, out, err) != 0)
                status = 1;
        } catch (const std::bad_alloc&) {
            WriteMessage(err, one.style, MessageLevel::Error, OutOfMemoryText(ToolCommand::Build));
            status = 1;
        }
    }
    return status;
}
