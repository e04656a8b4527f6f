// Line and page layout: snapshots, the work after every scanner step and
// the page entries.
#include "book/BuildOptions.h"
#include "book/ChapterRecList.h"
#include "book/PageRecList.h"
#include "book/TextPosition.h"
#include "markup/FontWidths.h"
#include "markup/ParseState.h"

namespace {
constexpr uint8_t kSoftHyphen = 0xAD;
}

void MarkupParser::SelectWidths()
{
    const FontMetrics metrics = SelectFontMetrics(m_font, (m_style & (kStyleSuperscript | kStyleSubscript)) != 0,
                                                  (m_style & kStyleBold) != 0);
    m_widths = metrics.widths;
    m_minLineHeight = metrics.minLineHeight;
}

void MarkupParser::TakeSnapshot(LayoutSnapshot& snapshot, uint32_t position, bool softHyphen) const
{
    snapshot.position = position;
    snapshot.x = m_x;
    snapshot.lineHeight = m_lineHeight;
    snapshot.font = m_font;
    snapshot.style = m_style;
    snapshot.alignment = m_alignment;
    snapshot.chapterOpen = m_chapterOpen;
    snapshot.indexOpen = m_indexOpen;
    snapshot.softHyphen = softHyphen;
    snapshot.chapterCount = m_chapterCount;
}

// Chapters recorded after a snapshot are recorded again when the scan
// comes back over their codes, so they go before the scan returns (in the
// large-font pass only the count: that pass records none).
void MarkupParser::DropChaptersAfter(const LayoutSnapshot& snapshot)
{
    while (m_chapterCount > snapshot.chapterCount) {
        if (m_smallFont)
            m_lists.chapters.RemoveLast();
        --m_chapterCount;
    }
}

void MarkupParser::ReturnTo(const LayoutSnapshot& snapshot)
{
    DropChaptersAfter(snapshot);
    m_pos = snapshot.position;
    m_x = snapshot.x;
    m_lineHeight = snapshot.lineHeight;
    m_font = snapshot.font;
    m_style = snapshot.style;
    m_alignment = snapshot.alignment;
    m_chapterOpen = snapshot.chapterOpen;
    m_indexOpen = snapshot.indexOpen;
    SelectWidths();
    if (snapshot.softHyphen)
        MeasureByte(kSoftHyphen);
    m_spaceRunOpen = false;
    m_afterBreakByte = false;
}

// Plain text that keeps the line within its width: the work of one step
// per byte (see ScanPlainByte and NoteByteAfterBreak) without the checks
// at the end of a step, which have nothing to do for such bytes. The run
// stops before a code, a line end, hidden text and the byte that would
// overflow the line; those take the full step.
void MarkupParser::ScanTextRun()
{
    if (m_style & kStyleInvisible)
        return;
    const uint8_t* const widths = m_widths;
    const uint32_t start = m_pos;
    uint32_t pos = start;
    while (pos < m_length) {
        const uint8_t byte = m_text[pos];
        if (byte == '\\' || byte == '\n' || byte == '\r')
            break;
        const uint32_t width = widths[byte];
        if (byte == ' ') {
            // A space never overflows: the width is taken before its run.
            if (!m_spaceRunOpen) {
                m_spaceRunOpen = true;
                m_spaceRunX = m_x;
            }
            m_afterBreakByte = true;
        } else {
            if (m_x + width > kLineWidth)
                break;
            if (m_afterBreakByte) {
                m_afterBreakByte = false;
                if (byte != '-' && byte != '_' && LineWidth() <= kLineWidth)
                    TakeLastBreak(pos);
            }
            m_spaceRunOpen = false;
            m_afterBreakByte = byte == '-' || byte == '_';
        }
        // Raised before the snapshot of a later byte can record it.
        RaiseLineHeight(m_minLineHeight);
        m_x += width;
        ++pos;
    }
    m_pos = pos;
    if (pos > m_furthest)
        m_furthest = pos;
}

// After every step: break an overlong line, place a finished line on this
// page or move it to the next, start a new page, and skip the rest of a
// heading code whose page break has been made.
void MarkupParser::EndOfStep()
{
    if (!m_lineEndRequested && LineWidth() > kLineWidth) {
        if (m_lastBreak.position == m_lineStart.position) {
            // No break on this line: the step that overflowed begins the
            // next line (a whole multi-byte code, never part of one), unless
            // it is the first thing on the line.
            if (m_stepCanMoveBack && m_stepStart > m_lineStart.position)
                m_pos = m_stepStart;
        } else {
            ReturnTo(m_lastBreak);
            // A heading opened on this step is scanned again on the next
            // line: its code is not skipped now.
            m_chapterThisStep = false;
        }
        m_lineEndRequested = true;
    }
    if (m_pageBreakRequested || m_pos >= m_length)
        m_lineEndRequested = true;

    if (m_lineEndRequested) {
        // A line that began at the top of a page stays there even when it
        // does not fit: moving it again would never end.
        if (m_y + m_lineHeight <= kPageHeight || m_lineBeganAtTop) {
            m_y += m_lineHeight;
            m_topOfPage = false;
            if (m_pos >= m_length)
                m_placedLastLine = true;
            m_chapterOnLine = false;
            m_lineBeganAtTop = false;
        } else {
            // The line goes to the next page; chapters begun on it are
            // removed and recorded again when it is scanned there.
            ReturnTo(m_lineStart);
            m_chapterThisStep = false;
            m_chapterOnLine = false;
            m_pageBreakRequested = true;
        }
        m_lineHeight = kLineHeight;
        m_x = NextLineStart();
        m_spaceRunOpen = false;
        m_afterBreakByte = false;
        TakeSnapshot(m_lineStart, m_pos);
        TakeSnapshot(m_lastBreak, m_pos);
        m_lineEndRequested = false;
    }

    if (m_pageBreakRequested) {
        AddPageEntry(m_pageNumber, m_pos);
        ++m_pageNumber;
        m_topOfPage = true;
        m_lineBeganAtTop = true;
        m_y = 0;
        TakeSnapshot(m_lineStart, m_pos);
        TakeSnapshot(m_lastBreak, m_pos);
        m_pageBreakRequested = false;
    }

    if (m_chapterThisStep && m_pendingSkip != 0 && m_pos == m_stepStart) {
        m_pos += m_pendingSkip;
        if (m_pos > m_length)
            m_pos = m_length;
    }
    m_chapterThisStep = false;
    m_pendingSkip = 0;
}

void MarkupParser::AddPageEntry(uint32_t page, uint32_t position)
{
    if (m_options & (ExcludePageTables | Dictionary))
        return;
    // A repair may have made the parse's text one byte longer than the text
    // records; a page cannot start past their end.
    if (position > m_sourceLength)
        position = m_sourceLength;
    const TextRecordPosition where = LocateTextPosition(m_recordEnds, position);
    const uint16_t style = static_cast<uint16_t>(m_style | m_alignment | ((m_font & 15u) << 3));
    m_pages->Add(static_cast<uint16_t>(page), static_cast<uint16_t>(where.textRecord),
                 static_cast<uint16_t>(where.offset), position, style);
}
