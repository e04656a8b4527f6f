#include "markup/SourcePrep.h"

#include <cstring>

#include "framework/core/MemBuffer.h"
#include "framework/core/MessageGate.h"
#include "framework/core/Report.h"
#include "markup/ControlCodes.h"

namespace {

// Messages show the source around an unmappable byte: from this many
// bytes before it, at most kContextLength bytes.
constexpr uint32_t kContextBefore = 40;
constexpr uint32_t kContextLength = 79;

constexpr uint8_t kEuro = 0x80;

// Remembers the most recent kContextBefore bytes exactly as they were read,
// since pass 1 overwrites the buffer behind its read index.
class RecentBytes {
public:
    void Push(uint32_t position, uint8_t byte) { m_bytes[position % kContextBefore] = byte; }
    uint8_t At(uint32_t position) const { return m_bytes[position % kContextBefore]; }

private:
    uint8_t m_bytes[kContextBefore] = {};
};

// Cuts the context of the byte at `position` from the input as read: the
// bytes before it come from `recent`, the byte and those after it are still
// untouched in `text`.
void CutContext(const RecentBytes& recent, const uint8_t* text, uint32_t length, uint32_t position,
                char (&out)[kContextLength + 1])
{
    const uint32_t start = position > kContextBefore ? position - kContextBefore : 0;
    uint32_t n = 0;
    for (uint32_t p = start; p < position; ++p)
        out[n++] = static_cast<char>(recent.At(p));
    for (uint32_t p = position; p < length && n < kContextLength; ++p)
        out[n++] = static_cast<char>(text[p]);
    out[n] = '\0';
}

} // namespace

bool IsDeviceCharacter(uint8_t byte)
{
    // The card suits and the trade mark sign have no glyph on the device.
    switch (byte) {
    case 0x8D:
    case 0x8E:
    case 0x8F:
    case 0x90:
    case 0x99:
        return false;
    default:
        return true;
    }
}

uint64_t CPreparedOffsets::GivenOffset(uint64_t prepared) const
{
    const uint32_t offset = prepared > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(prepared);
    return cleaned.Original(tabs.Original(escapes.Original(offset)));
}

namespace {

void MapDeviceCharacters(CMemBuffer& source, COffsetMap* map);
// `given` turns the pass's input offsets into those of the source as
// given, for its message.
void ExpandTabs(CMemBuffer& source, COffsetMap* map, const COffsetMap* given);
void ResolveByteEscapes(CMemBuffer& source, COffsetMap* map);

} // namespace

void PrepareSourceText(CMemBuffer& source)
{
    // The tab warning's place needs the first pass's offsets.
    COffsetMap cleaned;
    MapDeviceCharacters(source, &cleaned);
    ExpandTabs(source, nullptr, &cleaned);
    ResolveByteEscapes(source, nullptr);
}

void PrepareSourceTextWithOffsets(CMemBuffer& source, CPreparedOffsets& offsets)
{
    MapDeviceCharacters(source, &offsets.cleaned);
    ExpandTabs(source, &offsets.tabs, &offsets.cleaned);
    ResolveByteEscapes(source, &offsets.escapes);
}

void MapDeviceCharacters(CMemBuffer& source)
{
    MapDeviceCharacters(source, nullptr);
}

void ExpandTabs(CMemBuffer& source)
{
    ExpandTabs(source, nullptr, nullptr);
}

void ResolveByteEscapes(CMemBuffer& source)
{
    ResolveByteEscapes(source, nullptr);
}

namespace {

// One read index and one write index (write <= read) run over the buffer.
// Each byte is copied to the write index and judged there:
//   0x00-0x08        removed
//   CR before LF     removed (the LF follows)
//   other CR         becomes LF
//   0x80-0xFF        kept, with the warnings below; a byte outside the
//                    device set becomes 0 in batch mode
//   anything else    kept
void MapDeviceCharacters(CMemBuffer& source, COffsetMap* map)
{
    uint8_t* text = source.GetData();
    const uint32_t length = source.GetSize();
    RecentBytes recent;
    bool warnedNonAscii = false;
    bool removedBefore = false;
    uint32_t write = 0;

    for (uint32_t read = 0; read < length; ++read) {
        const uint8_t byte = text[read];
        text[write] = byte;
        bool keep = true;

        if (byte <= 0x08) {
            keep = false;
        } else if (byte == '\r') {
            if (read + 1 < length && text[read + 1] == '\n')
                keep = false;
            else
                text[write] = '\n';
        } else if (byte >= 0x80) {
            const ReportPlace here = ReportPlace::At(read);
            if (!warnedNonAscii) {
                warnedNonAscii = true;
                ReportMessage(kReportWarning, MessageRule::NotInBatch, here,
                              "Non-ASCII characters in file; attempting to map them");
            }
            if (!IsDeviceCharacter(byte)) {
                char context[kContextLength + 1];
                CutContext(recent, text, length, read, context);
                // Silenced in batch mode, where the byte becomes 0 instead.
                if (!ReportMessage(kReportWarning, MessageRule::NotInBatch, here,
                                   "Unmappable character in string \"%s\"", context)
                         .inForce)
                    text[write] = 0;
            }
            if (text[write] == kEuro)
                ReportMessage(kReportWarning, MessageRule::NotInBatch, here,
                              "The Euro symbol may not be on all Lumo OS devices");
        }

        recent.Push(read, byte);
        if (keep) {
            if (removedBefore && map)
                map->Add(write, read);
            removedBefore = false;
            ++write;
        } else {
            removedBefore = true;
        }
    }
    source.SetSize(write);
}

// Every tab becomes four spaces; columns are not considered. The result's
// size is known from the tab count, so the buffer grows once and is filled
// from the back.
void ExpandTabs(CMemBuffer& source, COffsetMap* map, const COffsetMap* given)
{
    const uint32_t length = source.GetSize();
    const uint8_t* text = source.GetData();
    uint32_t tabs = 0;
    uint32_t firstTab = 0;
    for (uint32_t i = 0; i < length; ++i) {
        if (text[i] != '\t')
            continue;
        if (tabs == 0)
            firstTab = i;
        ++tabs;
        // After the tab's four spaces the text goes on at the byte after it.
        if (map)
            map->Add(i + 3 * tabs + 1, i + 1);
    }
    if (tabs == 0)
        return;
    const ReportPlace place = ReportPlace::At(given ? given->Original(firstTab) : firstTab);
    ReportMessage(kReportWarning, MessageRule::NotInBatch, place, "Tab characters are being mapped to four spaces.");

    // The caller keeps sources small enough that this cannot overflow.
    const uint32_t expanded = length + 3 * tabs;
    source.SetSize(expanded);
    uint8_t* out = source.GetData();
    uint32_t write = expanded;
    for (uint32_t read = length; read-- > 0;) {
        const uint8_t byte = out[read];
        if (byte == '\t') {
            write -= 4;
            std::memset(out + write, ' ', 4);
        } else {
            out[--write] = byte;
        }
    }
}

// Escapes recognised (none in the last four bytes, which are copied as
// they are):
//   \\        both bytes copied; the second backslash starts nothing
//   \aDDD     one byte of value (D1-48)*100 + (D2-48)*10 + (D3-48) modulo
//             256; the D bytes are not checked to be digits
// An uppercase "A" is no escape. The result is never longer than the
// input, so it is written over the input behind the read index.
void ResolveByteEscapes(CMemBuffer& source, COffsetMap* map)
{
    uint8_t* text = source.GetData();
    const uint32_t length = source.GetSize();
    const uint32_t scanEnd = length > 4 ? length - 4 : 0;
    uint32_t read = 0;
    uint32_t write = 0;

    while (read < scanEnd) {
        const uint8_t byte = text[read];
        if (byte == '\\' && text[read + 1] == '\\') {
            text[write++] = '\\';
            text[write++] = '\\';
            read += 2;
        } else if (byte == '\\' && text[read + 1] == 'a') {
            text[write++] = ByteEscapeValue(text, length, read);
            read += kByteEscapeLength;
            if (map)
                map->Add(write, read);
        } else {
            text[write++] = byte;
            ++read;
        }
    }
    while (read < length)
        text[write++] = text[read++];
    source.SetSize(write);
}

} // namespace
