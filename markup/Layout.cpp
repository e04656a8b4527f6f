// Line and page layout: snapshots, the work after every scanner step and
// the page entries.
#include <array>

#include "book/BuildOptions.h"
#include "book/ChapterRecList.h"
#include "book/PageRecList.h"
#include "book/TextPosition.h"
#include "markup/FontWidths.h"
#include "markup/ParseState.h"

namespace {

constexpr uint8_t kSoftHyphen = 0xAD;

// How a byte of plain text takes part in line breaking.
enum : uint8_t {
    kOrdinaryByte,
    kSpaceByte,
    kHyphenByte, // "-" and "_": a break may follow
    kStopByte,   // a code or a line end: left to a full step
};

constexpr std::array<uint8_t, 256> kByteKinds = [] {
    std::array<uint8_t, 256> kinds{};
    kinds[' '] = kSpaceByte;
    kinds['-'] = kHyphenByte;
    kinds['_'] = kHyphenByte;
    kinds['\\'] = kStopByte;
    kinds['\n'] = kStopByte;
    kinds['\r'] = kStopByte;
    return kinds;
}();

} // namespace

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
    // The hyphen shown at a soft break widens the line; it does not make
    // the line any higher.
    if (snapshot.softHyphen)
        m_x += m_widths[kSoftHyphen];
    m_spaceRunOpen = false;
    m_afterBreakByte = false;
}

// Plain text that keeps the line within its width: the work of one step
// per byte (see ScanPlainByte and NoteByteAfterBreak) without the checks
// at the end of a step, which have nothing to do for such bytes. The run
// stops before a code, a line end, hidden text and the byte that would
// overflow the line; those take the full step. The state lives in locals
// while the run lasts.
void MarkupParser::ScanTextRun()
{
    if ((m_style & kStyleInvisible) || m_pos >= m_length || kByteKinds[m_text[m_pos]] == kStopByte)
        return;
    // Whatever the first byte is, it is measured, here or by its step.
    RaiseLineHeight(m_minLineHeight);
    const uint8_t* const text = m_text;
    const uint8_t* const widths = m_widths;
    const uint32_t length = m_length;
    uint32_t pos = m_pos;
    uint32_t x = m_x;
    bool spaceRunOpen = m_spaceRunOpen;
    uint32_t spaceRunX = m_spaceRunX;
    bool afterBreakByte = m_afterBreakByte;
    while (pos < length) {
        const uint8_t byte = text[pos];
        const uint8_t kind = kByteKinds[byte];
        const uint32_t width = widths[byte];
        if (kind == kOrdinaryByte && !afterBreakByte && !spaceRunOpen) {
            if (x + width > kLineWidth)
                break;
            x += width;
            ++pos;
            continue;
        }
        if (kind == kStopByte)
            break;
        if (kind == kSpaceByte) {
            // A space never overflows: the width is taken before its run.
            if (!spaceRunOpen) {
                spaceRunOpen = true;
                spaceRunX = x;
            }
            afterBreakByte = true;
        } else {
            if (x + width > kLineWidth)
                break;
            if (afterBreakByte && kind == kOrdinaryByte && (spaceRunOpen ? spaceRunX : x) <= kLineWidth) {
                m_x = x;
                TakeLastBreak(pos);
            }
            spaceRunOpen = false;
            afterBreakByte = kind == kHyphenByte;
        }
        x += width;
        ++pos;
    }
    m_pos = pos;
    m_x = x;
    m_spaceRunOpen = spaceRunOpen;
    m_spaceRunX = spaceRunX;
    m_afterBreakByte = afterBreakByte;
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
            m_lineBeganAtTop = false;
        } else {
            // The line goes to the next page; chapters begun on it are
            // removed and recorded again when it is scanned there.
            ReturnTo(m_lineStart);
            m_chapterThisStep = false;
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
