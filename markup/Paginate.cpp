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
#include "markup/ParseState.h"

MarkupParser::MarkupParser(const uint8_t* text, uint32_t length, const CRkString& imageDirectory,
                           const CMemBuffer& textRecordEnds, const ParseLists& lists, uint32_t options)
    : m_text(text), m_length(length), m_sourceLength(length), m_imageDirectory(imageDirectory),
      m_recordEnds(textRecordEnds), m_lists(lists), m_options(options)
{
}

bool MarkupParser::Run()
{
    m_failed = false;
    m_lowerBSeen = false;
    m_upperBSeen = false;
    m_unicodeWarnings = 0;
    m_illegalIndexCodes = 0;
    RunPass(true);
    if (!(m_options & Dictionary))
        RunPass(false);
    FinishLists();
    return m_failed;
}

void MarkupParser::RunPass(bool smallFont)
{
    ReportStatus(smallFont ? "Generating page tables for the small font..."
                           : "Generating page tables for the large font...");
    m_smallFont = smallFont;
    m_pages = smallFont ? &m_lists.smallPages : &m_lists.largePages;
    m_normalFont = smallFont ? kFontStandard : kFontLarge;
    m_font = m_normalFont;
    m_style = 0;
    m_alignment = kAlignLeft;
    m_chapterOpen = false;
    m_indexOpen = false;
    m_chapterCount = 0;
    m_pos = 0;
    m_furthest = 0;
    m_silent = false;
    SelectWidths();

    m_x = 0;
    m_y = 0;
    m_pageNumber = 0;
    AddPageEntry(m_pageNumber++, 0);
    m_lineHeight = kLineHeight;
    m_topOfPage = true;
    m_lineBeganAtTop = true;
    m_spaceRunOpen = false;
    m_afterBreakByte = false;
    m_lineEndRequested = false;
    m_pageBreakRequested = false;
    m_chapterThisStep = false;
    m_pendingSkip = 0;
    m_placedLastLine = false;
    TakeSnapshot(m_lineStart, 0);
    TakeSnapshot(m_lastBreak, 0);

    do {
        ScanTextRun();
        if (m_pos < m_length)
            ScanStep();
        EndOfStep();
    } while (!m_placedLastLine);

    m_silent = false;
    if (m_font != m_normalFont && !batchMode)
        ReportWarning("This file does not end in the normal font!");
}

void MarkupParser::FinishLists()
{
    if (LoadImageRecords(m_lists.images))
        m_failed = true;
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
                  IndexRecList& index, uint32_t options)
{
    const ParseLists lists{smallFontPages, largeFontPages, chapters, images, links, sidebars, footnotes, index};
    MarkupParser parser(prepared.GetData(), prepared.GetSize(), imageDirectory, textRecordEnds, lists, options);
    return parser.Run();
}
