// The pages command: lays a source out as a build does, without writing a
// book, and lists where each page of one device font begins with the first
// line of text on that page.
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

#include "book/BookRecLists.h"
#include "driver/BookPipeline.h"
#include "driver/DatabaseName.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/RkString.h"
#include "framework/io/File.h"
#include "tools/book/BookTool.h"
#include "tools/book/PageText.h"
#include "tools/book/ReportToStream.h"
#include "tools/book/ToolOptions.h"
#include "tools/book/ToolSource.h"

int RunPagesCommand(const ToolOptions& options, std::istream& in, std::ostream& out, std::ostream& err)
{
    CToolSourceRun run(options, err);
    CReportToStream& reports = run.Reports();
    if (!run.Read(in))
        return 1;

    CRkString imageDirectory;
    SourceImageDirectory(run.NamedFile(), imageDirectory);

    // The build's stages up to the layout: the records are divided as in a
    // build (page entries name them), not compressed.
    CBookPipeline pipeline(run.TakeText(), imageDirectory, 0);
    pipeline.Prepare();
    pipeline.SplitNotes();
    pipeline.DivideRecords();
    if (!pipeline.Paginate()) {
        reports.Write(MessageLevel::Error, "the layout failed; see the errors above");
        return 1;
    }

    const BookRecLists& recLists = pipeline.RecLists();
    const CMemBuffer& prepared = pipeline.PreparedText();
    const PageRecList& pages = options.large ? recLists.largePages : recLists.smallPages;
    const uint8_t* text = prepared.GetData();
    const uint32_t textLength = prepared.GetSize();
    out << (options.large ? "Large" : "Small") << " font: " << pages.GetEntryCount()
        << (pages.GetEntryCount() == 1 ? " page" : " pages") << "\n";
    for (uint32_t i = 0; i < pages.GetEntryCount(); ++i) {
        uint32_t next = i + 1 < pages.GetEntryCount() ? pages.GetPosition(i + 1) : textLength;
        out << pages.GetPage(i) + 1 << ": " << VisibleFirstLine(text, textLength, pages.GetPosition(i), next) << "\n";
    }
    return reports.ErrorCount() == 0 ? 0 : 1;
}
