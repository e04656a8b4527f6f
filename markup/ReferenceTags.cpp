// Codes with a quoted name: links (\q="#name"), anchors (\Q="name"),
// sidebar (\Sd="name") and footnote (\Fn="name") references; and the scans
// over quoted arguments that every such code shares.
#include <algorithm>

#include "book/LinkRecList.h"
#include "book/SidebarSet.h"
#include "markup/MarkupParser.h"

namespace {

// Longest link name a link record holds; a longer one keeps one byte less.
constexpr size_t kMaxLinkName = 80;
constexpr size_t kKeptLinkName = 79;
// A note name is stored with a one-byte length.
constexpr size_t kMaxNoteName = 255;

} // namespace

bool MarkupParser::HasQuotedArgument(uint32_t equals) const
{
    return equals + 1 < m_length && m_text[equals] == '=' && m_text[equals + 1] == '"';
}

uint32_t MarkupParser::ScanToQuote(uint32_t from, const char* returnsMessage)
{
    for (uint32_t i = from; i < m_length; ++i) {
        const uint8_t byte = m_text[i];
        if (byte == '"')
            return i;
        if (IsLineEnd(byte))
            ReportParseError(i, returnsMessage, i, kArgumentReturnContext);
    }
    return m_length;
}

// \Sd="name" ... \Sd and \Fn="name" ... \Fn: the name goes to the sidebar
// or footnote set; the shown text up to the closing code holds no other
// code.
uint32_t MarkupParser::ParseNoteRef(uint32_t backslash, uint32_t equals, bool sidebar)
{
    if (!HasQuotedArgument(equals)) {
        ReportParseError(backslash,
                         sidebar ? "Sidebar syntax incorrect.  You have '%s' and it should be \\Sd=\""
                                 : "Footnote syntax incorrect.  You have '%s' and it should be \\Fn=\"",
                         equals, kArgumentSyntaxContext);
        return equals;
    }
    const uint32_t nameStart = equals + 2;
    const uint32_t quote =
        ScanToQuote(nameStart, sidebar ? "Returns are not permitted in sidebar references.  See '%s'."
                                       : "Returns are not permitted in footnote references.  See '%s'.");
    if (quote >= m_length) {
        ReportUnterminated(backslash);
        return m_length;
    }
    const std::string name(reinterpret_cast<const char*>(m_text + nameStart),
                           std::min<size_t>(quote - nameStart, kMaxNoteName));
    if (m_pass.smallFont) {
        if (sidebar)
            m_lists.sidebars.Add(name, ReportPlace::At(backslash));
        else
            m_lists.footnotes.Add(name, ReportPlace::At(backslash));
    }

    uint32_t next = quote + 1;
    while (next < m_length && m_text[next] != '\\')
        ++next;
    if (next < m_length) {
        const CodeId closingId = sidebar ? CodeId::Sidebar : CodeId::Footnote;
        const ControlCode* code = next + 1 < m_length ? FindControlCode(m_text, m_length, next) : nullptr;
        if (!(code && code->id == closingId)) {
            if (sidebar)
                LogError(next, "Tags are not permitted within sidebar references, see reference to %s", name.c_str());
            else
                LogError(next, "Tags are not permitted within footnote references, see reference to %s", name.c_str());
        }
    }
    return quote + 1;
}

uint32_t MarkupParser::ParseSidebarRef(uint32_t backslash, uint32_t equals)
{
    return ParseNoteRef(backslash, equals, true);
}

uint32_t MarkupParser::ParseFootnoteRef(uint32_t backslash, uint32_t equals)
{
    return ParseNoteRef(backslash, equals, false);
}

// \q="#name" ... \q: a reference to the anchor "name".
uint32_t MarkupParser::ParseLinkRef(uint32_t backslash, uint32_t equals)
{
    if (!(HasQuotedArgument(equals) && equals + 2 < m_length && m_text[equals + 2] == '#')) {
        ReportParseError(backslash, "Link syntax incorrect.  You have '%s' and it should be \\q=\"#", equals,
                         kArgumentSyntaxContext);
        return equals;
    }
    const uint32_t nameStart = equals + 3;
    const uint32_t quote = ScanToQuote(nameStart, "Returns are not permitted in link references.  See '%s'.");
    if (quote >= m_length) {
        ReportUnterminated(backslash);
        return m_length;
    }
    if (!m_pass.smallFont)
        return quote + 1;

    std::string name(reinterpret_cast<const char*>(m_text + nameStart), quote - nameStart);
    if (name.size() > kMaxLinkName) {
        ReportParseError(backslash, "Link reference is longer than 80 characters: \"%s\"", nameStart, kLongLinkContext);
        name.resize(kKeptLinkName);
    }
    // The linked text may hold no code that starts a page, an image, a
    // rule, an index item or another reference.
    uint32_t next = nameStart;
    while (next < m_length && m_text[next] != '\\')
        ++next;
    if (next + 1 < m_length) {
        const ControlCode* code = FindControlCode(m_text, m_length, next);
        if (code && !(code->places & kInLinkText)) {
            if (code->id == CodeId::Sidebar)
                LogError(next, "Illegal tag \"\\Sd\" in link reference to \"%s\"", name.c_str());
            else
                LogError(next, "Illegal tag \"\\%c\" in link reference to \"%s\"", code->letter, name.c_str());
        }
    }
    m_lists.links.Add(kUndefinedPosition, name, ReportPlace::At(backslash));
    return quote + 1;
}

// \Q="name": an anchor; its position is just after the closing quote, plus
// one.
uint32_t MarkupParser::ParseLinkAnchor(uint32_t backslash, uint32_t equals)
{
    if (!HasQuotedArgument(equals)) {
        ReportParseError(backslash, "Link syntax incorrect.  You have '%s' and it should be \\Q=\"", equals,
                         kArgumentSyntaxContext);
        return equals;
    }
    const uint32_t nameStart = equals + 2;
    const uint32_t quote = ScanToQuote(nameStart, "Returns are not permitted in link anchors.  See '%s'.");
    if (quote >= m_length) {
        ReportUnterminated(backslash);
        return m_length;
    }
    if (m_pass.smallFont) {
        std::string name(reinterpret_cast<const char*>(m_text + nameStart), quote - nameStart);
        if (name.size() > kMaxLinkName) {
            ReportParseError(backslash, "Link is longer than 80 characters: \"%s\"", nameStart, kLongLinkContext);
            name.resize(kKeptLinkName);
        }
        // A rescan meets the anchor again at the same place: the first scan
        // listed it, and listing it again would repeat the list's warning
        // about a name defined twice.
        if (!m_pass.silent)
            m_lists.links.Add(quote + 2, name, ReportPlace::At(backslash));
    }
    return quote + 1;
}
