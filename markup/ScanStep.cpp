// The scanner: one step over one byte or one control code of the text.
#include "book/BuildOptions.h"
#include "framework/core/Report.h"
#include "markup/FontWidths.h"
#include "markup/MarkupParser.h"
#include "markup/UnicodeMap.h"

namespace {

// \I in a book that is not a dictionary is an error; after this many the
// rest are counted but not shown, since a book indexed throughout would
// bury every other message.
constexpr uint32_t kMaxIllegalIndexReports = 50;
// The height of the device's divider block (\d).
constexpr uint32_t kDividerHeight = 33;
// The device shows a \U character from its large glyph set.
constexpr uint32_t kUnicodeLineHeight = 14;
// The device's sidebar icon, square.
constexpr uint32_t kSidebarIconSize = 16;

} // namespace

void MarkupParser::ScanStep()
{
    m_pass.stepStart = m_pass.pos;
    m_pass.silent = m_pass.pos < m_pass.furthest;
    m_pass.stepCanMoveBack = true;
    const uint8_t byte = m_text[m_pass.pos];
    if (byte == '\\') {
        if (m_line.afterBreakByte && !(m_pass.style & kStyleInvisible))
            NoteByteAfterBreak(byte);
        m_pass.stepCanMoveBack = false;
        ScanControlCode();
    } else if (m_pass.style & kStyleInvisible) {
        ++m_pass.pos;
    } else {
        ScanPlainByte(byte);
    }
    // A heading code keeps its position until the end of the step; its
    // bytes count as scanned.
    const uint32_t reached = m_pass.pos + m_pass.pendingSkip;
    if (reached > m_pass.furthest)
        m_pass.furthest = reached;
}

// The byte after a space, "-" or "_" decides whether a line may break
// before it.
void MarkupParser::NoteByteAfterBreak(uint8_t byte)
{
    m_line.afterBreakByte = false;
    if (IsLineEnd(byte)) {
        TakeLastBreak(m_pass.pos);
    } else if (byte == ' ') {
        // the space run goes on
    } else if (byte == '-' || byte == '_') {
        CloseSpaceRun();
    } else {
        if (LineWidth() <= kLineWidth)
            TakeLastBreak(m_pass.pos);
        CloseSpaceRun();
    }
}

void MarkupParser::ScanPlainByte(uint8_t byte)
{
    if (m_line.afterBreakByte)
        NoteByteAfterBreak(byte);
    switch (byte) {
    case '\n':
    case '\r':
        CloseSpaceRun();
        if (!OnEmptyFirstLine())
            m_pass.lineEndRequested = true;
        break;
    case ' ':
        if (!m_line.spaceRunOpen) {
            m_line.spaceRunOpen = true;
            m_line.spaceRunX = m_line.x;
        }
        MeasureByte(byte);
        m_line.afterBreakByte = true;
        break;
    case '-':
    case '_':
        MeasureByte(byte);
        CloseSpaceRun();
        m_line.afterBreakByte = true;
        break;
    default:
        CloseSpaceRun();
        MeasureByte(byte);
        break;
    }
    ++m_pass.pos;
}

void MarkupParser::ScanControlCode()
{
    const uint32_t p = m_pass.pos;
    if (p + 2 == m_length && m_text[p + 1] == '\n')
        --m_length; // the line feed after a final backslash goes first
    if (p + 1 >= m_length) {
        RepairBareBackslash();
        return;
    }
    m_pass.argumentCut = false;
    // What stands here comes from the table; the code's own function below
    // checks its argument and reports what is wrong with it.
    const ScanItem item = ScanAt(m_text, m_length, p);
    if (item.kind != ScanItem::Code) {
        ReportParseError(p, "Illegal control code starting at \"\\%s\"", p + 1, kIllegalCodeContext);
        m_pass.pos = p + 2;
        return;
    }
    const ControlCode* row = item.code;
    const uint32_t after = p + row->length; // where the argument begins
    switch (row->id) {
    case CodeId::PageBreak:
        if (!OnEmptyFirstLine())
            m_pass.pageBreakRequested = true;
        m_pass.pos = after;
        break;
    case CodeId::Chapter: // titled by its text, on a new page
    case CodeId::Heading:
        ScanHeadingCode(row->letter);
        break;
    case CodeId::ChapterTag: // the title is not shown
        m_pass.pos = ParseChapterTag(p);
        break;
    case CodeId::IndexItem:
        ScanIndexCode();
        break;
    case CodeId::Image:
    case CodeId::ImageY:
    case CodeId::ImageZ:
        TakeLastBreak(p);
        m_pass.pos = ParseImageRef(p, after);
        break;
    case CodeId::ImageOther:
        ReportParseError(p, "Illegal control code starting at \"\\%s\"", p + 1, kIllegalCodeContext);
        m_pass.pos = after;
        break;
    case CodeId::Link: // a bare \q closes any open reference
        if (m_pass.style & kStyleReference) {
            m_pass.style &= static_cast<uint16_t>(~kStyleReference);
            m_pass.pos = after;
        } else {
            m_pass.style |= kStyleReference;
            m_pass.pos = ParseLinkRef(p, after);
        }
        break;
    case CodeId::Anchor:
        m_pass.pos = ParseLinkAnchor(p, after);
        break;
    case CodeId::Rule: // always a line of its own
        TakeLastBreak(p);
        m_pass.pos = ParseRule(p, after);
        if (!m_pass.argumentCut)
            m_line.x = (m_line.x == 0 || m_line.x == kIndentWidth) ? kLineWidth : m_line.x + kLineWidth;
        break;
    case CodeId::Indent:
        TakeLastBreak(p);
        m_pass.pos = ParseIndent(p, after);
        if (!m_pass.argumentCut)
            TakeLastBreak(m_pass.pos);
        break;
    case CodeId::Center:
        SwitchAlignment(kAlignCenter);
        m_pass.pos = after;
        break;
    case CodeId::Right:
        SwitchAlignment(kAlignRight);
        m_pass.pos = after;
        break;
    case CodeId::Italic:
        m_pass.style ^= kStyleItalic;
        m_pass.pos = after;
        break;
    case CodeId::Underline:
        m_pass.style ^= kStyleUnderline;
        m_pass.pos = after;
        break;
    case CodeId::Overstrike:
        m_pass.style ^= kStyleOverstrike;
        m_pass.pos = after;
        break;
    case CodeId::Invisible:
        m_pass.style ^= kStyleInvisible;
        m_pass.pos = after;
        break;
    case CodeId::SmallCaps: // not within superscript or subscript
        if ((m_pass.style & (kStyleSuperscript | kStyleSubscript)) && !(m_pass.style & kStyleSmallCaps))
            ReportParseError(p, "Can't have superscript/subscript and small caps at the same time! Near \"%s\"", p,
                             kSmallCapsContext);
        m_pass.style ^= kStyleSmallCaps;
        m_pass.pos = after;
        break;
    case CodeId::IndentedText:
        m_pass.style ^= kStyleIndented;
        if (m_pass.style & kStyleIndented) {
            if (m_line.x == 0)
                m_line.x = kIndentWidth;
        } else if (m_line.x == kIndentWidth) {
            m_line.x = 0;
        }
        m_pass.pos = after;
        break;
    case CodeId::BoldStyle: // bold measurements of the current font
        if (m_parse.lowerBSeen && !m_parse.upperBSeen)
            LogError(p, "You can't use \\b and \\B in the same file.");
        m_parse.upperBSeen = true;
        m_pass.style ^= kStyleBold;
        SelectWidths();
        m_pass.pos = after;
        break;
    case CodeId::BoldFont:
        if (m_parse.upperBSeen && !m_parse.lowerBSeen)
            LogError(p, "You can't use \\b and \\B in the same file.");
        m_parse.lowerBSeen = true;
        ToggleFont(kFontBold);
        m_pass.pos = after;
        break;
    case CodeId::LargeFont:
        ToggleFont(kFontLarge);
        m_pass.pos = after;
        break;
    case CodeId::StandardFont:
        ToggleFont(kFontStandard);
        m_pass.pos = after;
        break;
    case CodeId::NormalFont:
        m_pass.font = m_pass.normalFont;
        SelectWidths();
        m_pass.pos = after;
        break;
    case CodeId::Superscript:
    case CodeId::Subscript: {
        const bool super = row->id == CodeId::Superscript;
        const uint16_t mine = super ? kStyleSuperscript : kStyleSubscript;
        const uint16_t other = super ? kStyleSubscript : kStyleSuperscript;
        if ((m_pass.style & other) && !(m_pass.style & mine))
            LogError(p, "Can't have superscript and subscript at the same time!");
        m_pass.style ^= mine;
        SelectWidths();
        m_pass.pos = after;
        break;
    }
    case CodeId::Sidebar:
        ScanNoteCode(true);
        break;
    case CodeId::StyleOther:
        ReportParseError(p, "Illegal control code: \\%s", p + 1, kStyleCodeContext);
        m_pass.pos = after;
        break;
    case CodeId::Footnote:
        ScanNoteCode(false);
        break;
    case CodeId::FootnoteOther: // skipped without a message
        m_pass.pos = after;
        break;
    case CodeId::Backslash:
        MeasureByte('\\');
        m_pass.stepCanMoveBack = true;
        m_pass.pos = after;
        break;
    case CodeId::ByteEscape:
        ScanByteEscape();
        break;
    case CodeId::Unicode: // shown by the device, no width of its own
        ScanUnicodeCode();
        break;
    case CodeId::Divider:
        m_pass.y += kDividerHeight;
        m_pass.topOfPage = false;
        m_pass.pos = after;
        break;
    case CodeId::SoftHyphen: // a possible break after the code
        if (m_line.x + m_pass.widths[kSoftHyphen] < kLineWidth + 1)
            TakeLastBreak(after, true);
        m_pass.pos = after;
        break;
    case CodeId::Count:
        break;
    }
    if (m_pass.pos > m_length)
        m_pass.pos = m_length;
}

// A backslash as the last byte becomes the code that closes the alignment
// or font still open; the parse's own copy of the text keeps the letter.
void MarkupParser::RepairBareBackslash()
{
    LogWarning(MessageRule::NotInBatch, m_pass.pos, "Bare \\ at the end of the file -- attempting to repair");
    uint8_t letter;
    if (m_pass.alignment == kAlignCenter)
        letter = 'c';
    else if (m_pass.alignment == kAlignRight)
        letter = 'r';
    else if (m_pass.font == kFontStandard)
        letter = 's';
    else if (m_pass.font == kFontLarge)
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
    m_pass.font = m_pass.font == font ? m_pass.normalFont : font;
    SelectWidths();
}

void MarkupParser::SwitchAlignment(uint32_t alignment)
{
    if (m_pass.alignment == alignment) {
        m_pass.alignment = kAlignLeft;
        return;
    }
    if (m_pass.alignment != kAlignLeft)
        ReportParseWarning(MessageRule::NotInBatch, m_pass.pos,
                           "Should close alignment tag before switching to another, before \"%s\"", m_pass.pos,
                           kAlignmentContext);
    m_pass.alignment = alignment;
}

void MarkupParser::ScanHeadingCode(uint8_t kind)
{
    const uint32_t p = m_pass.pos;
    const uint32_t codeLength = kind == 'x' ? 2 : 3; // \Xn with its digit
    if (m_pass.chapterOpen) {                        // the closing code
        m_pass.chapterOpen = false;
        m_pass.pos = p + codeLength;
        return;
    }
    TakeLastBreak(p);
    if (kind == 'x' && !OnEmptyFirstLine())
        m_pass.pageBreakRequested = true;
    ParseHeadingTitle(p, kind);
    m_pass.chapterOpen = true;
    m_pass.chapterThisStep = true;
    // The page break, if any, comes before the code; the rest of the code
    // is skipped at the end of the step.
    m_pass.pendingSkip = codeLength;
}

void MarkupParser::ScanIndexCode()
{
    const uint32_t p = m_pass.pos;
    m_pass.pos = p + 2;
    if (!(m_options & Dictionary)) {
        // Every one is an error; the first ones of the parse are shown.
        m_parse.failed = true;
        ReportCountedMessage(Pass(), m_parse.illegalIndexCodes, kMaxIllegalIndexReports, kReportError,
                             MessageRule::SmallFontPass, ReportPlace::At(p),
                             "Illegal control code starting at \"\\%s\"",
                             Context(p + 1 - kIllegalCodeContext.before, kIllegalCodeContext.width).c_str());
        return;
    }
    if (m_pass.indexOpen) {
        m_pass.indexOpen = false;
        return;
    }
    if (m_pass.alignment != kAlignLeft || (m_pass.style & ~kStyleSmallCaps)) {
        ReportParseError(p, "No styles permitted before \"%s\"", p, kNoStylesContext);
        m_pass.alignment = kAlignLeft;
        m_pass.style &= kStyleSmallCaps;
        SelectWidths();
    }
    ParseIndexItem(p);
    m_pass.indexOpen = true;
}

void MarkupParser::ScanNoteCode(bool sidebar)
{
    const uint32_t p = m_pass.pos;
    if (m_pass.style & kStyleReference) { // a bare code closes the open reference
        m_pass.style &= static_cast<uint16_t>(~kStyleReference);
        m_pass.pos = p + 3;
        return;
    }
    // The break before a sidebar code keeps the state before it, so that
    // the code opens its reference again when the line breaks there.
    if (sidebar)
        TakeLastBreak(p);
    m_pass.style |= kStyleReference;
    m_pass.pos = sidebar ? ParseSidebarRef(p, p + 3) : ParseFootnoteRef(p, p + 3);
    if (sidebar && !m_pass.argumentCut) {
        m_line.x += kSidebarIconSize;
        RaiseLineHeight(kSidebarIconSize);
        MeasureByte(' ');
    }
}

void MarkupParser::ScanUnicodeCode()
{
    const uint32_t p = m_pass.pos;
    MarkupErrorState errors;
    errors.pass = Pass();
    ParseUnicodeHex(m_text, m_length, p + 2, errors);
    if (errors.failed)
        m_parse.failed = true;
    RaiseLineHeight(kUnicodeLineHeight);
    m_pass.pos = p + kUnicodeEscapeLength;
}

void MarkupParser::ScanByteEscape()
{
    const uint32_t p = m_pass.pos;
    MeasureByte(ByteEscapeValue(m_text, m_length, p));
    m_pass.stepCanMoveBack = true;
    m_pass.pos = p + kByteEscapeLength;
}
