// The passes of the layout: one with the small font as the normal font,
// then (except for dictionaries) one with the large font; then the lists
// that the scanner filled are finished.
#include "markup/Paginate.h"

#include "book/BuildOptions.h"
#include "book/ChapterRecList.h"
#include "book/IndexRecList.h"
#include "book/LinkRecList.h"
#include "book/PageRecList.h"
#include "book/SidebarSet.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/Report.h"
#include "markup/FontWidths.h"
#include "markup/ImageTag.h"
#include "markup/MarkupParser.h"

MarkupParser::MarkupParser(const uint8_t* text, uint32_t length, const CRkString& imageDirectory,
                           const CMemBuffer& textRecordEnds, const ParseLists& lists, uint32_t options,
                           IImageProbe* probe)
    : m_text(text),
      m_length(length),
      m_sourceLength(length),
      m_imageDirectory(imageDirectory),
      m_probe(probe ? probe : &m_ownProbe),
      m_recordEnds(textRecordEnds),
      m_lists(lists),
      m_options(options)
{
}

bool MarkupParser::Run()
{
    m_parse = ParseWideState{};
    RunPass(true);
    if (!(m_options & Dictionary))
        RunPass(false);
    FinishLists();
    return m_parse.failed;
}

void MarkupParser::RunPass(bool smallFont)
{
    ReportStatus(smallFont ? "Generating page tables for the small font..."
                           : "Generating page tables for the large font...");
    m_pass = PassState{};
    m_line = LineState{};
    m_pass.smallFont = smallFont;
    m_pass.pages = smallFont ? &m_lists.smallPages : &m_lists.largePages;
    m_pass.normalFont = smallFont ? kFontStandard : kFontLarge;
    m_pass.font = m_pass.normalFont;
    SelectWidths();
    AddPageEntry(m_pass.pageNumber++, 0);
    TakeSnapshot(m_pass.lineStart, 0);
    TakeSnapshot(m_pass.lastBreak, 0);

    do {
        ScanTextRun();
        if (m_pass.pos < m_length)
            ScanStep();
        EndOfStep();
    } while (!m_pass.placedLastLine);

    if (m_pass.font != m_pass.normalFont)
        ReportMessage(kReportWarning, MessageRule::NotInBatch, ReportPlace::Whole(),
                      "This file does not end in the normal font!");
}

void MarkupParser::FinishLists()
{
    if (LoadImageRecords(m_lists.images))
        m_parse.failed = true;
    m_lists.links.Finish();
    m_lists.chapters.RemoveDuplicates();
    m_lists.sidebars.SortAndRemoveDuplicates();
    m_lists.footnotes.SortAndRemoveDuplicates();
    if (m_lists.index.GetCount() != 0) {
        ReportStatus("Processing index records...");
        m_lists.index.Group();
    }
}

bool PaginateBook(const CMemBuffer& prepared, const CRkString& imageDirectory, const CMemBuffer& textRecordEnds,
                  PageRecList& smallFontPages, PageRecList& largeFontPages, ChapterRecList& chapters,
                  ImageRecList& images, LinkRecList& links, SidebarSet& sidebars, FootnoteSet& footnotes,
                  IndexRecList& index, uint32_t options, IImageProbe* probe)
{
    const ParseLists lists{smallFontPages, largeFontPages, chapters, images, links, sidebars, footnotes, index};
    MarkupParser parser(prepared.GetData(), prepared.GetSize(), imageDirectory, textRecordEnds, lists, options, probe);
    return parser.Run();
}
