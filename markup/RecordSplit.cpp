#include "markup/RecordSplit.h"

#include <algorithm>
#include <vector>

#include "book/Compressor.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/MessageGate.h"
#include "markup/ControlCodes.h"

namespace {

// A control code begins with a backslash; a backslash within this many
// bytes of the end of a full record moves the break before it.
constexpr uint32_t kBackslashLookBack = 90;
// The chunk output buffer: the limit rounded up to a multiple of 8, plus 8.
constexpr uint32_t kChunkBufferSize = (kTextRecordLimit + 7) / 8 * 8 + 8;
// Bytes of a chunk shown when it cannot be stored.
constexpr uint32_t kChunkContext = 40;

bool IsWhiteSpace(uint8_t byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' || byte == '\r';
}

void ReportIncompressible(const uint8_t* chunk, uint32_t n, uint32_t place)
{
    char context[kChunkContext + 1];
    const uint32_t shown = std::min(n, kChunkContext);
    std::copy(chunk, chunk + shown, context);
    context[shown] = '\0';
    ReportMessage(kReportError, MessageRule::Always, ReportPlace::At(place),
                  "The text beginning \"%s\" does not compress into 8192 bytes.", context);
}

} // namespace

uint32_t FindRecordBreak(const uint8_t* bytes, uint32_t length)
{
    // Look back from the end for the start of a control code, stopping at a
    // line end (a code never spans one) or after 91 bytes.
    for (uint32_t k = 0; k <= kBackslashLookBack && k < length; ++k) {
        uint32_t i = length - 1 - k;
        const uint8_t byte = bytes[i];
        if (IsLineEnd(byte))
            break;
        if (byte == '\\') {
            if (k == 0)
                break; // a backslash as the last byte: fall back to white space
            while (i > 0 && bytes[i - 1] == '\\')
                --i;
            return i;
        }
    }
    // End just after the last white space.
    for (uint32_t i = length; i-- > 0;)
        if (IsWhiteSpace(bytes[i]))
            return i + 1;
    return 0;
}

uint32_t NextRecordLength(const uint8_t* text, uint32_t position, uint32_t length)
{
    uint32_t n = std::min(kTextRecordLimit, length - position);
    if (n == kTextRecordLimit && position + n < length) {
        const uint32_t cut = FindRecordBreak(text + position, n);
        if (cut != 0)
            n = cut;
    }
    return n;
}

uint32_t CompressTextRecords(const uint8_t* text, uint32_t length, CMemBuffer& textBuffer, CMemBuffer* recordEnds,
                             CMemBuffer& recordSizes, uint32_t textPlace)
{
    std::vector<uint8_t> chunkBuffer(kChunkBufferSize, 0);
    uint32_t position = 0;
    while (position < length) {
        const uint32_t n = NextRecordLength(text, position, length);
        const uint32_t compressed = CompressRecord(text + position, n, chunkBuffer.data(), kTextRecordLimit);
        if (compressed == 0 || compressed > kTextRecordLimit) {
            ReportIncompressible(text + position, n, textPlace + position);
            return 1;
        }
        position += n;
        if (recordEnds)
            recordEnds->AppendU32(position);
        recordSizes.AppendU32(compressed);
        textBuffer.Append(chunkBuffer.data(), compressed);
    }
    return 0;
}

uint32_t SplitTextRecords(const uint8_t* text, uint32_t length, CMemBuffer& textBuffer, CMemBuffer& recordEnds,
                          CMemBuffer& recordSizes)
{
    recordEnds.AppendU32(0);
    recordSizes.AppendU32(0);
    return CompressTextRecords(text, length, textBuffer, &recordEnds, recordSizes);
}

uint32_t CompressedTextCapacity(uint32_t length)
{
    // A stored record is never larger than 8192 bytes and a record is cut
    // short only by a break found near its end, so the text's own length
    // plus a little per record is enough in practice.
    const uint64_t bound = static_cast<uint64_t>(length) + length / 512 + 64;
    return static_cast<uint32_t>(std::min<uint64_t>(bound, 0xFFFFFFFFu));
}
