// The scanner: one step over one byte or one control code of the text.
#include "book/BuildOptions.h"
#include "framework/core/Report.h"
#include "markup/FontWidths.h"
#include "markup/ParseState.h"
#include "markup/UnicodeMap.h"

namespace {

constexpr uint32_t kMaxIllegalIndexReports = 50;
constexpr uint32_t kDividerHeight = 33;
constexpr uint32_t kUnicodeLineHeight = 14;
constexpr uint32_t kSidebarIconSize = 16;
constexpr uint8_t kSoftHyphen = 0xAD;

} // namespace

void MarkupParser::ScanStep()
{
    m_stepStart = m_pos;
    m_silent = m_pos < m_furthest;
    m_stepCanMoveBack = true;
    const uint8_t byte = m_text[m_pos];
    if (byte == '\\') {
        if (m_afterBreakByte && !(m_style & kStyleInvisible))
            NoteByteAfterBreak(byte);
        m_stepCanMoveBack = false;
        ScanControlCode();
    } else if (m_style & kStyleInvisible) {
        ++m_pos;
    } else {
        ScanPlainByte(byte);
    }
    // A heading code keeps its position until the end of the step; its
    // bytes count as scanned.
    const uint32_t reached = m_pos + m_pendingSkip;
    if (reached > m_furthest)
        m_furthest = reached;
}

// The byte after a space, "-" or "_" decides whether a line may break
// before it.
void MarkupParser::NoteByteAfterBreak(uint8_t byte)
{
    m_afterBreakByte = false;
    if (IsLineEnd(byte)) {
        TakeLastBreak(m_pos);
    } else if (byte == ' ') {
        // the space run goes on
    } else if (byte == '-' || byte == '_') {
        CloseSpaceRun();
    } else {
        if (LineWidth() <= kLineWidth)
            TakeLastBreak(m_pos);
        CloseSpaceRun();
    }
}

void MarkupParser::ScanPlainByte(uint8_t byte)
{
    if (m_afterBreakByte)
        NoteByteAfterBreak(byte);
    switch (byte) {
    case '\n':
    case '\r':
        CloseSpaceRun();
        if (!OnEmptyFirstLine())
            m_lineEndRequested = true;
        break;
    case ' ':
        if (!m_spaceRunOpen) {
            m_spaceRunOpen = true;
            m_spaceRunX = m_x;
        }
        MeasureByte(byte);
        m_afterBreakByte = true;
        break;
    case '-':
    case '_':
        MeasureByte(byte);
        CloseSpaceRun();
        m_afterBreakByte = true;
        break;
    default:
        CloseSpaceRun();
        MeasureByte(byte);
        break;
    }
    ++m_pos;
}

void MarkupParser::ScanControlCode()
{
    const uint32_t p = m_pos;
    if (p + 2 == m_length && m_text[p + 1] == '\n')
        --m_length; // the line feed after a final backslash goes first
    if (p + 1 >= m_length) {
        RepairBareBackslash();
        return;
    }
    m_argumentCut = false;
    const ControlCode* row = FindControlCode(m_text, m_length, p);
    if (!row) {
        ReportParseError("Illegal control code starting at \"\\%s\"", p + 1, kIllegalCodeContext);
        m_pos = p + 2;
        return;
    }
    const uint32_t after = p + row->length; // where the argument begins
    switch (row->id) {
    case CodeId::PageBreak:
        if (!OnEmptyFirstLine())
            m_pageBreakRequested = true;
        m_pos = after;
        break;
    case CodeId::Chapter: // titled by its text, on a new page
    case CodeId::Heading:
        ScanHeadingCode(row->letter);
        break;
    case CodeId::ChapterTag: // the title is not shown
        m_pos = ParseChapterTag(p);
        break;
    case CodeId::IndexItem:
        ScanIndexCode();
        break;
    case CodeId::Image:
    case CodeId::ImageY:
    case CodeId::ImageZ:
        TakeLastBreak(p);
        m_pos = ParseImageRef(p, after);
        break;
    case CodeId::ImageOther:
        ReportParseError("Illegal control code starting at \"\\%s\"", p + 1, kIllegalCodeContext);
        m_pos = after;
        break;
    case CodeId::Link: // a bare \q closes any open reference
        if (m_style & kStyleReference) {
            m_style &= static_cast<uint16_t>(~kStyleReference);
            m_pos = after;
        } else {
            m_style |= kStyleReference;
            m_pos = ParseLinkRef(p, after);
        }
        break;
    case CodeId::Anchor:
        m_pos = ParseLinkAnchor(p, after);
        break;
    case CodeId::Rule: // always a line of its own
        TakeLastBreak(p);
        m_pos = ParseRule(p, after);
        if (!m_argumentCut)
            m_x = (m_x == 0 || m_x == kIndentWidth) ? kLineWidth : m_x + kLineWidth;
        break;
    case CodeId::Indent:
        TakeLastBreak(p);
        m_pos = ParseIndent(p, after);
        if (!m_argumentCut)
            TakeLastBreak(m_pos);
        break;
    case CodeId::Center:
        SwitchAlignment(kAlignCenter);
        m_pos = after;
        break;
    case CodeId::Right:
        SwitchAlignment(kAlignRight);
        m_pos = after;
        break;
    case CodeId::Italic:
        m_style ^= kStyleItalic;
        m_pos = after;
        break;
    case CodeId::Underline:
        m_style ^= kStyleUnderline;
        m_pos = after;
        break;
    case CodeId::Overstrike:
        m_style ^= kStyleOverstrike;
        m_pos = after;
        break;
    case CodeId::Invisible:
        m_style ^= kStyleInvisible;
        m_pos = after;
        break;
    case CodeId::SmallCaps: // not within superscript or subscript
        if ((m_style & (kStyleSuperscript | kStyleSubscript)) && !(m_style & kStyleSmallCaps))
            ReportParseError("Can't have superscript/subscript and small caps at the same time! Near \"%s\"",
                             p, kSmallCapsContext);
        m_style ^= kStyleSmallCaps;
        m_pos = after;
        break;
    case CodeId::IndentedText:
        m_style ^= kStyleIndented;
        if (m_style & kStyleIndented) {
            if (m_x == 0)
                m_x = kIndentWidth;
        } else if (m_x == kIndentWidth) {
            m_x = 0;
        }
        m_pos = after;
        break;
    case CodeId::BoldStyle: // bold measurements of the current font
        if (m_lowerBSeen && !m_upperBSeen)
            LogError("You can't use \\b and \\B in the same file.");
        m_upperBSeen = true;
        m_style ^= kStyleBold;
        SelectWidths();
        m_pos = after;
        break;
    case CodeId::BoldFont:
        if (m_upperBSeen && !m_lowerBSeen)
            LogError("You can't use \\b and \\B in the same file.");
        m_lowerBSeen = true;
        ToggleFont(kFontBold);
        m_pos = after;
        break;
    case CodeId::LargeFont:
        ToggleFont(kFontLarge);
        m_pos = after;
        break;
    case CodeId::StandardFont:
        ToggleFont(kFontStandard);
        m_pos = after;
        break;
    case CodeId::NormalFont:
        m_font = m_normalFont;
        SelectWidths();
        m_pos = after;
        break;
    case CodeId::Superscript:
    case CodeId::Subscript: {
        const bool super = row->id == CodeId::Superscript;
        const uint16_t mine = super ? kStyleSuperscript : kStyleSubscript;
        const uint16_t other = super ? kStyleSubscript : kStyleSuperscript;
        if ((m_style & other) && !(m_style & mine))
            LogError("Can't have superscript and subscript at the same time!");
        m_style ^= mine;
        SelectWidths();
        m_pos = after;
        break;
    }
    case CodeId::Sidebar:
        ScanNoteCode(true);
        break;
    case CodeId::StyleOther:
        ReportParseError("Illegal control code: \\%s", p + 1, kStyleCodeContext);
        m_pos = after;
        break;
    case CodeId::Footnote:
        ScanNoteCode(false);
        break;
    case CodeId::FootnoteOther: // skipped without a message
        m_pos = after;
        break;
    case CodeId::Backslash:
        MeasureByte('\\');
        m_stepCanMoveBack = true;
        m_pos = after;
        break;
    case CodeId::ByteEscape:
        ScanByteEscape();
        break;
    case CodeId::Unicode: // shown by the device, no width of its own
        ScanUnicodeCode();
        break;
    case CodeId::Divider:
        m_y += kDividerHeight;
        m_topOfPage = false;
        m_pos = after;
        break;
    case CodeId::SoftHyphen: // a possible break after the code
        if (m_x + m_widths[kSoftHyphen] < kLineWidth + 1)
            TakeLastBreak(after, true);
        m_pos = after;
        break;
    case CodeId::Count:
        break;
    }
    if (m_pos > m_length)
        m_pos = m_length;
}

// A backslash as the last byte becomes the code that closes the alignment
// or font still open; the parse's own copy of the text keeps the letter.
void MarkupParser::RepairBareBackslash()
{
    if (!batchMode)
        LogWarning("Bare \\ at the end of the file -- attempting to repair");
    uint8_t letter;
    if (m_alignment == kAlignCenter)
        letter = 'c';
    else if (m_alignment == kAlignRight)
        letter = 'r';
    else if (m_font == kFontStandard)
        letter = 's';
    else if (m_font == kFontLarge)
        letter = 'l';
    else
        letter = 'b';
    if (m_ownText.empty() || m_text != m_ownText.data())
        m_ownText.assign(m_text, m_text + m_length);
    m_ownText.resize(m_length);
    m_ownText.push_back(letter);
    m_text = m_ownText.data();
    m_length = static_cast<uint32_t>(m_ownText.size());
}

void MarkupParser::ToggleFont(uint16_t font)
{
    m_font = m_font == font ? m_normalFont : font;
    SelectWidths();
}

void MarkupParser::SwitchAlignment(uint32_t alignment)
{
    if (m_alignment == alignment) {
        m_alignment = kAlignLeft;
        return;
    }
    if (m_alignment != kAlignLeft && !batchMode)
        ReportParseWarning("Should close alignment tag before switching to another, before \"%s\"", m_pos,
                           kAlignmentContext);
    m_alignment = alignment;
}

void MarkupParser::ScanHeadingCode(uint8_t kind)
{
    const uint32_t p = m_pos;
    const uint32_t codeLength = kind == 'x' ? 2 : 3; // \Xn with its digit
    if (m_chapterOpen) { // the closing code
        m_chapterOpen = false;
        m_pos = p + codeLength;
        return;
    }
    TakeLastBreak(p);
    if (kind == 'x' && !OnEmptyFirstLine())
        m_pageBreakRequested = true;
    ParseHeadingTitle(p, kind);
    m_chapterOpen = true;
    m_chapterThisStep = true;
    // The page break, if any, comes before the code; the rest of the code
    // is skipped at the end of the step.
    m_pendingSkip = codeLength;
}

void MarkupParser::ScanIndexCode()
{
    const uint32_t p = m_pos;
    m_pos = p + 2;
    if (!(m_options & Dictionary)) {
        if (m_silent) {
            m_failed = true;
        } else if (++m_illegalIndexCodes <= kMaxIllegalIndexReports) {
            ReportParseError("Illegal control code starting at \"\\%s\"", p + 1, kIllegalCodeContext);
        }
        return;
    }
    if (m_indexOpen) {
        m_indexOpen = false;
        return;
    }
    if (m_alignment != kAlignLeft || (m_style & ~kStyleSmallCaps)) {
        ReportParseError("No styles permitted before \"%s\"", p, kNoStylesContext);
        m_alignment = kAlignLeft;
        m_style &= kStyleSmallCaps;
        SelectWidths();
    }
    ParseIndexItem(p);
    m_indexOpen = true;
}

void MarkupParser::ScanNoteCode(bool sidebar)
{
    const uint32_t p = m_pos;
    if (m_style & kStyleReference) { // a bare code closes the open reference
        m_style &= static_cast<uint16_t>(~kStyleReference);
        m_pos = p + 3;
        return;
    }
    // The break before a sidebar code keeps the state before it, so that
    // the code opens its reference again when the line breaks there.
    if (sidebar)
        TakeLastBreak(p);
    m_style |= kStyleReference;
    m_pos = sidebar ? ParseSidebarRef(p, p + 3) : ParseFootnoteRef(p, p + 3);
    if (sidebar && !m_argumentCut) {
        m_x += kSidebarIconSize;
        RaiseLineHeight(kSidebarIconSize);
        MeasureByte(' ');
    }
}

void MarkupParser::ScanUnicodeCode()
{
    const uint32_t p = m_pos;
    MarkupErrorState errors;
    errors.logContextErrors = m_smallFont && !m_silent;
    errors.logErrors = !m_silent;
    ParseUnicodeHex(m_text, m_length, p + 2, errors);
    if (errors.failed)
        m_failed = true;
    RaiseLineHeight(kUnicodeLineHeight);
    m_pos = p + kUnicodeEscapeLength;
}

void MarkupParser::ScanByteEscape()
{
    const uint32_t p = m_pos;
    MeasureByte(ByteEscapeValue(m_text, m_length, p));
    m_stepCanMoveBack = true;
    m_pos = p + kByteEscapeLength;
}
