// The table of control codes and the scan function.
#include "markup/ControlCodes.h"

#include <array>
#include <cstddef>
#include <iterator>

namespace {

using A = CodeArgument;
using N = CodeNames;

// Places of the codes that may stand anywhere but in a \C title.
constexpr uint8_t kLinkAndNote = kInLinkText | kInNote;

// One row per code, in CodeId order. `places`: the shown text of a link
// may hold no code that starts a page, an image, a rule, an index item or
// a note; a note may hold no code that starts a chapter, an index item, a
// link, an anchor, a divider or another note.
constexpr ControlCode kCodes[] = {
    // id                 letter second len argument           names          places          style  known
    {CodeId::PageBreak, 'p', 0, 2, A::None, N::Nothing, kLinkAndNote, false, true},
    {CodeId::Chapter, 'x', 0, 2, A::None, N::Nothing, 0, false, true},
    {CodeId::Heading, 'X', 0, 2, A::LevelDigit, N::Nothing, 0, false, true},
    {CodeId::ChapterTag, 'C', 0, 2, A::LevelAndQuoted, N::Nothing, kInLinkText, false, true},
    {CodeId::IndexItem, 'I', 0, 2, A::None, N::Nothing, 0, false, true},
    {CodeId::Image, 'm', 0, 2, A::Quoted, N::Image, kInNote, false, true},
    {CodeId::ImageY, 'M', 'y', 3, A::Quoted, N::Image, kLinkAndNote, false, true},
    {CodeId::ImageZ, 'M', 'z', 3, A::Quoted, N::Image, kLinkAndNote, false, true},
    {CodeId::ImageOther, 'M', 0, 2, A::None, N::Nothing, kLinkAndNote, false, false},
    {CodeId::Link, 'q', 0, 2, A::Quoted, N::LinkTarget, kInLinkText, true, true},
    {CodeId::Anchor, 'Q', 0, 2, A::Quoted, N::Anchor, kInLinkText, false, true},
    {CodeId::Rule, 'w', 0, 2, A::Percent, N::Nothing, kInNote, false, true},
    {CodeId::Indent, 'T', 0, 2, A::Percent, N::Nothing, kLinkAndNote, false, true},
    {CodeId::Center, 'c', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::Right, 'r', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::Italic, 'i', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::Underline, 'u', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::Overstrike, 'o', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::Invisible, 'v', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::SmallCaps, 'k', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::IndentedText, 't', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::BoldStyle, 'B', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::BoldFont, 'b', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::LargeFont, 'l', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::StandardFont, 's', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::NormalFont, 'n', 0, 2, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::Superscript, 'S', 'p', 3, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::Subscript, 'S', 'b', 3, A::None, N::Nothing, kLinkAndNote, true, true},
    {CodeId::Sidebar, 'S', 'd', 3, A::Quoted, N::Sidebar, 0, true, true},
    {CodeId::StyleOther, 'S', 0, 3, A::None, N::Nothing, kLinkAndNote, false, false},
    {CodeId::Footnote, 'F', 'n', 3, A::Quoted, N::Footnote, 0, true, true},
    {CodeId::FootnoteOther, 'F', 0, 2, A::None, N::Nothing, 0, false, false},
    {CodeId::Backslash, '\\', 0, 2, A::None, N::Nothing, kInChapterTag | kLinkAndNote, false, true},
    {CodeId::ByteEscape, 'a', 0, 2, A::ByteDigits, N::Nothing, kInChapterTag | kLinkAndNote, false, true},
    {CodeId::Unicode, 'U', 0, 2, A::HexDigits, N::Nothing, kInChapterTag | kLinkAndNote, false, true},
    {CodeId::Divider, 'd', 0, 2, A::None, N::Nothing, 0, false, true},
    {CodeId::SoftHyphen, '-', 0, 2, A::None, N::Nothing, kLinkAndNote, false, true},
};
static_assert(std::size(kCodes) == static_cast<size_t>(CodeId::Count));

constexpr bool RowsInOrder()
{
    for (size_t i = 0; i < std::size(kCodes); ++i)
        if (static_cast<size_t>(kCodes[i].id) != i)
            return false;
    return true;
}
static_assert(RowsInOrder(), "kCodes must list the codes in CodeId order");

constexpr uint8_t kNoCode = 0xFF;

// For every byte after a backslash: the row of its one-letter code, or of
// its family's first row (the family's rows stand together, the "other"
// row last).
constexpr std::array<uint8_t, 256> kFirstRow = [] {
    std::array<uint8_t, 256> first{};
    first.fill(kNoCode);
    for (size_t i = std::size(kCodes); i-- > 0;)
        first[kCodes[i].letter] = static_cast<uint8_t>(i);
    return first;
}();

} // namespace

const ControlCode& ControlCodeRow(CodeId id)
{
    return kCodes[static_cast<size_t>(id)];
}

const ControlCode* FindControlCode(const uint8_t* text, uint32_t length, uint32_t backslash)
{
    const uint8_t letter = text[backslash + 1];
    const uint8_t row = kFirstRow[letter];
    if (row == kNoCode)
        return nullptr;
    const ControlCode* code = &kCodes[row];
    if (code->second == 0)
        return code;
    const uint8_t second = backslash + 2 < length ? text[backslash + 2] : 0;
    while (code->second != 0 && code->second != second)
        ++code; // stops at the family's "other" row
    return code;
}

uint8_t ByteEscapeValue(const uint8_t* text, uint32_t length, uint32_t backslash)
{
    uint32_t value = 0;
    for (uint32_t k = 2; k < kByteEscapeLength; ++k) {
        const uint32_t digit = backslash + k < length ? static_cast<uint32_t>(text[backslash + k]) - '0' : 0;
        value = value * 10 + digit;
    }
    return static_cast<uint8_t>(value);
}

namespace {

// Fixed-size arguments: `size` bytes from `from`, cut at the end.
void FixedArgument(ScanItem& item, uint32_t length, uint32_t from, uint32_t size)
{
    item.argBegin = from < length ? from : length;
    item.argEnd = from + size <= length ? from + size : length;
    item.hasArgument = from + size <= length;
    item.cut = !item.hasArgument;
    item.end = item.argEnd;
}

// ="..." (or ="nn%" when `percent`) at `equals`.
void QuotedArgument(ScanItem& item, const uint8_t* text, uint32_t length, uint32_t equals, bool percent)
{
    item.argBegin = item.argEnd = item.end = equals < length ? equals : length;
    if (!(equals + 1 < length && text[equals] == '=' && text[equals + 1] == '"'))
        return;
    item.hasArgument = true;
    item.argBegin = equals + 2;
    uint32_t i = item.argBegin;
    while (i < length && text[i] != '"' && !(percent && text[i] == '%'))
        ++i;
    item.argEnd = i;
    if (i >= length) {
        item.cut = true;
        item.end = length;
    } else if (text[i] == '%') {
        // the byte after "%" closes the argument, whatever it is
        item.cut = i + 2 > length;
        item.end = item.cut ? length : i + 2;
    } else {
        item.end = i + 1;
    }
}

} // namespace

ScanItem ScanAt(const uint8_t* text, uint32_t length, uint32_t pos)
{
    ScanItem item;
    item.start = pos;
    if (text[pos] != '\\') {
        uint32_t end = pos + 1;
        while (end < length && text[end] != '\\')
            ++end;
        item.kind = ScanItem::PlainText;
        item.letters = item.argBegin = item.argEnd = item.end = end;
        return item;
    }
    if (pos + 1 >= length) {
        item.kind = ScanItem::BareBackslash;
        item.letters = item.argBegin = item.argEnd = item.end = length;
        return item;
    }
    const ControlCode* code = FindControlCode(text, length, pos);
    if (!code) {
        item.kind = ScanItem::UnknownCode;
        item.letters = item.argBegin = item.argEnd = item.end = pos + 2;
        return item;
    }
    item.kind = ScanItem::Code;
    item.code = code;
    item.letters = pos + code->length <= length ? pos + code->length : length;
    item.cut = pos + code->length > length;
    item.argBegin = item.argEnd = item.end = item.letters;
    if (item.cut)
        return item;
    switch (code->argument) {
    case CodeArgument::None:
        break;
    case CodeArgument::LevelDigit:
        FixedArgument(item, length, item.letters, 1);
        break;
    case CodeArgument::LevelAndQuoted:
        FixedArgument(item, length, item.letters, 1);
        if (item.hasArgument) {
            const uint32_t level = item.argBegin;
            item.hasArgument = false;
            QuotedArgument(item, text, length, level + 1, false);
            if (!item.hasArgument) { // the digit alone: the code ends after it
                item.argBegin = level;
                item.argEnd = item.end = level + 1;
            }
        }
        break;
    case CodeArgument::ByteDigits:
        FixedArgument(item, length, item.letters, kByteEscapeLength - 2);
        break;
    case CodeArgument::HexDigits:
        FixedArgument(item, length, item.letters, kUnicodeEscapeLength - 2);
        break;
    case CodeArgument::Quoted:
        QuotedArgument(item, text, length, item.letters, false);
        break;
    case CodeArgument::Percent:
        QuotedArgument(item, text, length, item.letters, true);
        break;
    }
    return item;
}

uint32_t SkipInTitle(const uint8_t* text, uint32_t length, const ScanItem& item)
{
    if (item.kind != ScanItem::Code || !item.code->known)
        return item.start + 2;
    switch (item.code->argument) {
    case CodeArgument::Quoted:
        return item.end;
    case CodeArgument::Percent: {
        // Up to the closing quote, "%" or not.
        if (!item.hasArgument)
            return item.end;
        uint32_t i = item.argBegin;
        while (i < length && text[i] != '"')
            ++i;
        return i < length ? i + 1 : length;
    }
    case CodeArgument::ByteDigits:
    case CodeArgument::HexDigits:
        return item.start +
               (item.code->argument == CodeArgument::ByteDigits ? kByteEscapeLength : kUnicodeEscapeLength);
    default:
        return item.letters;
    }
}
