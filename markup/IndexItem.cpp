// Index items of a dictionary: \I item text \I.
#include "book/IndexRecList.h"
#include "book/TextPosition.h"
#include "framework/core/Report.h"
#include "markup/MarkupParser.h"
#include "markup/UnicodeMap.h"

namespace {

// Longest item an index record holds.
constexpr size_t kMaxItem = 80;

enum : uint8_t { kKeep = 0, kDrop = 1, kKeepAndWarn = 2 };

struct IndexByteClasses {
    uint8_t cls[256] = {};
    constexpr IndexByteClasses()
    {
        auto set = [this](int first, int last, uint8_t value) {
            for (int b = first; b <= last; ++b)
                cls[b] = value;
        };
        set(0x00, 0x1F, kKeepAndWarn);
        set(0x22, 0x25, kKeepAndWarn);
        set(0x2B, 0x2B, kKeepAndWarn);
        set(0x3B, 0x3E, kKeepAndWarn);
        set(0x40, 0x40, kKeepAndWarn);
        set(0x5B, 0x60, kKeepAndWarn);
        set(0x7B, 0x94, kKeepAndWarn);
        set(0x97, 0x98, kKeepAndWarn);
        set(0x9E, 0xB3, kKeepAndWarn);
        set(0xB5, 0xBE, kKeepAndWarn);
        set(0xD0, 0xD0, kKeepAndWarn);
        set(0xD7, 0xD8, kKeepAndWarn);
        set(0xDE, 0xDE, kKeepAndWarn);
        set(0xF0, 0xF0, kKeepAndWarn);
        set(0xF7, 0xF7, kKeepAndWarn);
        set(0xFE, 0xFE, kKeepAndWarn);
        set(0x2A, 0x2A, kDrop);
        set(0x95, 0x95, kDrop);
        set(0x99, 0x9D, kDrop);
        set(0xB4, 0xB4, kDrop);
    }
};

constexpr IndexByteClasses kIndexBytes;

} // namespace

// Appends a byte of the item, dropping the ones an index never shows and
// warning about the doubtful ones (context from `at`).
void MarkupParser::AppendIndexByte(std::string& item, uint8_t byte, uint32_t at)
{
    switch (kIndexBytes.cls[byte]) {
    case kDrop:
        return;
    case kKeepAndWarn:
        ReportParseWarning(MessageRule::NotInBatch, at, "Should this character be in an index item? Begins with \"%s\"",
                           at, kIndexByteContext);
        break;
    default:
        break;
    }
    item += static_cast<char>(byte);
}

// The item is the text up to the closing \I (at most 80 bytes): codes with
// a quoted argument are left out with it, \Sp and \Sb become "[" and "]"
// in turn, \Uxxxx and \annn stand for one byte, other codes are left out,
// line ends become one space. Recorded in the small-font pass only.
void MarkupParser::ParseIndexItem(uint32_t backslash)
{
    if (!m_pass.smallFont)
        return;
    std::string item;
    bool bracketOpen = false;
    uint32_t i = backslash + 2;
    while (i < m_length) {
        const uint8_t byte = m_text[i];
        if (byte == '\\') {
            const uint8_t code = i + 1 < m_length ? m_text[i + 1] : 0;
            if (code == 'I')
                break;
            const ScanItem scanned = ScanAt(m_text, m_length, i);
            switch (scanned.kind == ScanItem::Code ? scanned.code->id : CodeId::Count) {
            case CodeId::Superscript:
            case CodeId::Subscript:
                item += bracketOpen ? ']' : '[';
                bracketOpen = !bracketOpen;
                break;
            case CodeId::Unicode:
                AppendUnicodeEscape(item, i);
                break;
            case CodeId::ByteEscape:
                AppendIndexByte(item, ByteEscapeValue(m_text, m_length, i), i);
                break;
            default:
                break;
            }
            // Every code goes whole, with the name it carries.
            i = SkipInTitle(m_text, m_length, scanned);
        } else if (IsLineEnd(byte)) {
            if (!item.empty() && item.back() != ' ')
                item += ' ';
            ++i;
        } else {
            AppendIndexByte(item, byte, i);
            ++i;
        }
        if (item.size() > kMaxItem) {
            item.resize(kMaxItem);
            LogWarning(MessageRule::NotInBatch, backslash,
                       "Indexed item is > 80 characters; mismatched index markers? Begins with \"%s\"",
                       item.substr(0, kCutTitleShown).c_str());
            break;
        }
    }
    const TextRecordPosition where = LocateTextPosition(m_recordEnds, backslash);
    m_lists.index.Add(static_cast<uint16_t>(where.textRecord), static_cast<uint16_t>(where.offset), item);
}
