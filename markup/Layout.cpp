// Line and page layout: snapshots, the work after every scanner step and
// the page entries.
#include <array>

#include "book/BuildOptions.h"
#include "book/ChapterRecList.h"
#include "book/PageRecList.h"
#include "book/TextPosition.h"
#include "markup/FontWidths.h"
#include "markup/MarkupParser.h"

namespace {

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
    const FontMetrics metrics = SelectFontMetrics(
        m_pass.font, (m_pass.style & (kStyleSuperscript | kStyleSubscript)) != 0, (m_pass.style & kStyleBold) != 0);
    m_pass.widths = metrics.widths;
    m_pass.minLineHeight = metrics.minLineHeight;
}

void MarkupParser::TakeSnapshot(LayoutSnapshot& snapshot, uint32_t position, bool softHyphen) const
{
    snapshot.position = position;
    snapshot.x = m_line.x;
    snapshot.lineHeight = m_line.lineHeight;
    snapshot.font = m_pass.font;
    snapshot.style = m_pass.style;
    snapshot.alignment = m_pass.alignment;
    snapshot.chapterOpen = m_pass.chapterOpen;
    snapshot.indexOpen = m_pass.indexOpen;
    snapshot.softHyphen = softHyphen;
    snapshot.chapterCount = m_pass.chapterCount;
}

// Chapters recorded after a snapshot are recorded again when the scan
// comes back over their codes, so they go before the scan returns (in the
// large-font pass only the count: that pass records none).
void MarkupParser::DropChaptersAfter(const LayoutSnapshot& snapshot)
{
    while (m_pass.chapterCount > snapshot.chapterCount) {
        if (m_pass.smallFont)
            m_lists.chapters.RemoveLast();
        --m_pass.chapterCount;
    }
}

void MarkupParser::ReturnTo(const LayoutSnapshot& snapshot)
{
    DropChaptersAfter(snapshot);
    m_pass.pos = snapshot.position;
    m_line.x = snapshot.x;
    m_line.lineHeight = snapshot.lineHeight;
    m_pass.font = snapshot.font;
    m_pass.style = snapshot.style;
    m_pass.alignment = snapshot.alignment;
    m_pass.chapterOpen = snapshot.chapterOpen;
    m_pass.indexOpen = snapshot.indexOpen;
    SelectWidths();
    // The hyphen shown at a soft break widens the line; it does not make
    // the line any higher.
    if (snapshot.softHyphen)
        m_line.x += m_pass.widths[kSoftHyphen];
    m_line.spaceRunOpen = false;
    m_line.afterBreakByte = false;
}

// Plain text that keeps the line within its width: the work of one step
// per byte (see ScanPlainByte and NoteByteAfterBreak) without the checks
// at the end of a step, which have nothing to do for such bytes. The run
// stops before a code, a line end, hidden text and the byte that would
// overflow the line; those take the full step. The state lives in locals
// while the run lasts.
void MarkupParser::ScanTextRun()
{
    if ((m_pass.style & kStyleInvisible) || m_pass.pos >= m_length || kByteKinds[m_text[m_pass.pos]] == kStopByte)
        return;
    // Whatever the first byte is, it is measured, here or by its step.
    RaiseLineHeight(m_pass.minLineHeight);
    const uint8_t* const text = m_text;
    const uint8_t* const widths = m_pass.widths;
    const uint32_t length = m_length;
    uint32_t pos = m_pass.pos;
    uint32_t x = m_line.x;
    bool spaceRunOpen = m_line.spaceRunOpen;
    uint32_t spaceRunX = m_line.spaceRunX;
    bool afterBreakByte = m_line.afterBreakByte;
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
                m_line.x = x;
                TakeLastBreak(pos);
            }
            spaceRunOpen = false;
            afterBreakByte = kind == kHyphenByte;
        }
        x += width;
        ++pos;
    }
    m_pass.pos = pos;
    m_line.x = x;
    m_line.spaceRunOpen = spaceRunOpen;
    m_line.spaceRunX = spaceRunX;
    m_line.afterBreakByte = afterBreakByte;
    if (pos > m_pass.furthest)
        m_pass.furthest = pos;
}

// After every step: break an overlong line, place a finished line on this
// page or move it to the next, start a new page, and skip the rest of a
// heading code whose page break has been made.
void MarkupParser::EndOfStep()
{
    if (!m_pass.lineEndRequested && LineWidth() > kLineWidth) {
        if (m_pass.lastBreak.position == m_pass.lineStart.position) {
            // No break on this line: the step that overflowed begins the
            // next line (a whole multi-byte code, never part of one), unless
            // it is the first thing on the line.
            if (m_pass.stepCanMoveBack && m_pass.stepStart > m_pass.lineStart.position)
                m_pass.pos = m_pass.stepStart;
        } else {
            ReturnTo(m_pass.lastBreak);
            // A heading opened on this step is scanned again on the next
            // line: its code is not skipped now.
            m_pass.chapterThisStep = false;
        }
        m_pass.lineEndRequested = true;
    }
    if (m_pass.pageBreakRequested || m_pass.pos >= m_length)
        m_pass.lineEndRequested = true;

    if (m_pass.lineEndRequested) {
        // A line that began at the top of a page stays there even when it
        // does not fit: moving it again would never end.
        if (m_pass.y + m_line.lineHeight <= kPageHeight || m_pass.lineBeganAtTop) {
            m_pass.y += m_line.lineHeight;
            m_pass.topOfPage = false;
            if (m_pass.pos >= m_length)
                m_pass.placedLastLine = true;
            m_pass.lineBeganAtTop = false;
        } else {
            // The line goes to the next page; chapters begun on it are
            // removed and recorded again when it is scanned there.
            ReturnTo(m_pass.lineStart);
            m_pass.chapterThisStep = false;
            m_pass.pageBreakRequested = true;
        }
        m_line = LineState{};
        m_line.x = NextLineStart();
        TakeSnapshot(m_pass.lineStart, m_pass.pos);
        TakeSnapshot(m_pass.lastBreak, m_pass.pos);
        m_pass.lineEndRequested = false;
    }

    if (m_pass.pageBreakRequested) {
        AddPageEntry(m_pass.pageNumber, m_pass.pos);
        ++m_pass.pageNumber;
        m_pass.topOfPage = true;
        m_pass.lineBeganAtTop = true;
        m_pass.y = 0;
        TakeSnapshot(m_pass.lineStart, m_pass.pos);
        TakeSnapshot(m_pass.lastBreak, m_pass.pos);
        m_pass.pageBreakRequested = false;
    }

    if (m_pass.chapterThisStep && m_pass.pendingSkip != 0 && m_pass.pos == m_pass.stepStart) {
        m_pass.pos += m_pass.pendingSkip;
        if (m_pass.pos > m_length)
            m_pass.pos = m_length;
    }
    m_pass.chapterThisStep = false;
    m_pass.pendingSkip = 0;
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
    const uint16_t style = static_cast<uint16_t>(m_pass.style | m_pass.alignment | ((m_pass.font & 15u) << 3));
    m_pass.pages->Add(static_cast<uint16_t>(page), static_cast<uint16_t>(where.textRecord),
                      static_cast<uint16_t>(where.offset), position, style);
}
