// Chapter codes: \Cn="title" with a quoted title, and \x ... \x and
// \Xn ... \Xn whose title is the text they enclose.
#include "book/ChapterRecList.h"
#include "book/TextPosition.h"
#include "framework/core/Report.h"
#include "markup/MarkupParser.h"
#include "markup/UnicodeMap.h"

namespace {

// Longest title a chapter record holds.
constexpr size_t kMaxTitle = 80;

// A line end in a title becomes one space, never a leading or a second one.
void AppendLineEndSpace(std::string& title)
{
    if (!title.empty() && title.back() != ' ')
        title += ' ';
}

} // namespace

// \Uxxxx inside a title: counted and warned about, mapped to one byte
// (dropped when it maps to 0).
void MarkupParser::AppendUnicodeEscape(std::string& title, uint32_t backslash)
{
    WarnUnicodeInTitle(m_text, m_length, backslash, m_parse.unicodeWarnings, Pass());
    MarkupErrorState errors;
    errors.pass = Pass();
    errors.place = backslash;
    const uint16_t codePoint = ParseUnicodeHex(m_text, m_length, backslash + 2, errors);
    if (!errors.failed) {
        const uint8_t byte = MapUnicodeToDevice(codePoint, errors);
        if (byte != 0)
            title += static_cast<char>(byte);
    }
    if (errors.failed)
        m_parse.failed = true;
}

// \Cn="title": n is 0 to 4 (4 x n spaces before the title). In the title
// \Uxxxx, \\ and \annn stand for one byte; other codes and line ends are
// errors. Returns the position after the closing quote.
uint32_t MarkupParser::ParseChapterTag(uint32_t backslash)
{
    const uint32_t levelAt = backslash + 2;
    const uint8_t level = levelAt < m_length ? m_text[levelAt] : 0;
    std::string title;
    if (level >= '0' && level <= '4')
        title.assign(4u * (level - '0'), ' ');
    else
        ReportParseError(backslash, "Chapter syntax is \\Cn (0 <= n <= 4); you have \"%s\"", backslash + 1,
                         kChapterSyntaxContext);
    if (!(levelAt + 2 < m_length && m_text[levelAt + 1] == '=' && m_text[levelAt + 2] == '"')) {
        ReportParseError(backslash, "Chapter syntax is \\Cx=\"chapter title\"; you have \"%s\"", backslash + 1,
                         kChapterSyntaxContext);
        return backslash + 3;
    }

    const uint32_t titleStart = levelAt + 3;
    uint32_t i = titleStart;
    bool tooLong = false;
    while (i < m_length && m_text[i] != '"') {
        const uint8_t byte = m_text[i];
        if (byte == '\\') {
            // \Uxxxx, \\ and \annn stand for one byte; any other code is
            // an error.
            const ScanItem item = ScanAt(m_text, m_length, i);
            const ControlCode* code = item.kind == ScanItem::Code ? item.code : nullptr;
            if (code && (code->places & kInChapterTag)) {
                if (code->id == CodeId::Unicode)
                    AppendUnicodeEscape(title, i);
                else if (code->id == CodeId::Backslash)
                    title += '\\';
                else
                    title += static_cast<char>(ByteEscapeValue(m_text, m_length, i));
                i = SkipInTitle(m_text, m_length, item);
            } else {
                LogError(i, "Tags are not allowed inside \\C definitions!");
                i += 2;
            }
        } else if (IsLineEnd(byte)) {
            ReportParseError(i, "Returns are not permitted in \\C definitions.  See '%s'.", i, kChapterReturnContext);
            AppendLineEndSpace(title);
            ++i;
        } else {
            title += static_cast<char>(byte);
            ++i;
        }
        if (title.size() > kMaxTitle) {
            tooLong = true;
            break;
        }
    }
    if (tooLong) {
        title.resize(kMaxTitle);
        while (i < m_length && m_text[i] != '"')
            ++i;
    }
    if (i >= m_length) {
        ReportUnterminated(backslash);
        return m_length;
    }

    if (tooLong) {
        if (LocateTextPosition(m_recordEnds, titleStart).textRecord !=
            LocateTextPosition(m_recordEnds, i + 1).textRecord)
            ReportParseError(backslash, "Chapter tag spans text records -- reduce chapter to 80 characters. \"%s\"",
                             titleStart, kSpannedTitleContext);
        LogWarning(MessageRule::SmallFontPassNotInBatch, backslash,
                   "Chapter name is > 80 characters; mismatched chapter markers? Begins with \"%s\"",
                   title.substr(0, kCutTitleShown).c_str());
    }
    if (m_pass.smallFont)
        m_lists.chapters.Add(backslash, title);
    ++m_pass.chapterCount;
    return i + 1;
}

// \x ... \x and \Xn ... \Xn: the title is the text up to the closing code
// of the same letter (at most 80 bytes); codes with a quoted argument are
// left out with it, \Uxxxx and \annn stand for one byte, other codes are
// left out, line ends become one space. The closing \X must repeat the
// level digit.
void MarkupParser::ParseHeadingTitle(uint32_t backslash, uint8_t kind)
{
    std::string title;
    uint8_t level = 0;
    uint32_t i = backslash + 2;
    if (kind == 'X') {
        level = i < m_length ? m_text[i] : 0;
        if (level >= '0' && level <= '4')
            title.assign(4u * (level - '0'), ' ');
        else
            ReportParseError(backslash, "Chapter syntax is \\Xn (0 <= n <= 4); you have \"%s\"", backslash + 1,
                             kChapterSyntaxContext);
        ++i;
    }

    bool tooLong = false;
    while (i < m_length) {
        const uint8_t byte = m_text[i];
        if (byte == '\\') {
            const uint8_t code = i + 1 < m_length ? m_text[i + 1] : 0;
            if (code == kind) {
                if (kind == 'X') {
                    const uint8_t closing = i + 2 < m_length ? m_text[i + 2] : 0;
                    if (closing != level)
                        ReportParseError(i, "\"\\X%s\" does not match closing \\X", i + 2, kClosingLevelContext);
                }
                break;
            }
            const ScanItem item = ScanAt(m_text, m_length, i);
            const CodeId id = item.kind == ScanItem::Code ? item.code->id : CodeId::Count;
            if (id == CodeId::Unicode)
                AppendUnicodeEscape(title, i);
            else if (id == CodeId::ByteEscape)
                title += static_cast<char>(ByteEscapeValue(m_text, m_length, i));
            // Other codes go whole, with the name they carry, so that no
            // letter or name of theirs lands in the title.
            i = SkipInTitle(m_text, m_length, item);
        } else if (IsLineEnd(byte)) {
            AppendLineEndSpace(title);
            ++i;
        } else {
            title += static_cast<char>(byte);
            ++i;
        }
        if (title.size() > kMaxTitle) {
            tooLong = true;
            break;
        }
    }
    if (tooLong) {
        title.resize(kMaxTitle);
        LogWarning(MessageRule::SmallFontPassNotInBatch, backslash,
                   "Chapter name is > 80 characters; mismatched chapter markers? Begins with \"%s\"",
                   title.substr(0, kCutTitleShown).c_str());
    }
    if (m_pass.smallFont)
        m_lists.chapters.Add(backslash, title);
    ++m_pass.chapterCount;
}
