#include "book/driver/TextRecordCompressor.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "book/Compressor.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/Report.h"
#include "markup/RecordSplit.h"

namespace {

std::atomic<bool> g_background {true};

// Bytes of a record shown when it does not compress.
constexpr uint32_t kChunkContext = 40;

} // namespace

void SetBackgroundCompression(bool enabled)
{
    g_background = enabled;
}

void DivideTextRecords(const uint8_t* text, uint32_t length, CMemBuffer& recordEnds)
{
    recordEnds.AppendU32(0);
    uint32_t position = 0;
    while (position < length) {
        uint32_t n = std::min(kTextRecordLimit, length - position);
        if (n == kTextRecordLimit && position + n < length) {
            const uint32_t cut = FindRecordBreak(text + position, n);
            if (cut != 0)
                n = cut;
        }
        position += n;
        recordEnds.AppendU32(position);
    }
}

CTextRecordCompressor::~CTextRecordCompressor()
{
    if (m_thread.joinable())
        m_thread.join();
}

void CTextRecordCompressor::Start(const uint8_t* text, const CMemBuffer& recordEnds, CMemBuffer& textBuffer,
                                  CMemBuffer& recordSizes)
{
    m_text = text;
    m_recordEnds = &recordEnds;
    m_textBuffer = &textBuffer;
    m_recordSizes = &recordSizes;
    m_failedRecord = 0;
    if (g_background && recordEnds.GetCount() > 2) {
        try {
            m_thread = std::thread(&CTextRecordCompressor::Run, this);
            return;
        } catch (const std::system_error&) {
            // No thread to be had: compress here instead.
        }
    }
    Run();
}

void CTextRecordCompressor::Run()
{
    // Runs on the worker thread: no reports from here, only the index of
    // the record that failed, which ReportFailure reports.
    std::vector<uint8_t> chunk(kTextRecordLimit);
    m_recordSizes->AppendU32(0);
    const uint32_t count = m_recordEnds->GetCount();
    for (uint32_t i = 1; i < count; ++i) {
        const uint32_t start = m_recordEnds->GetU32(i - 1);
        const uint32_t n = m_recordEnds->GetU32(i) - start;
        const uint32_t stored = CompressRecord(m_text + start, n, chunk.data(), kTextRecordLimit);
        if (stored == 0 || stored > kTextRecordLimit) {
            m_failedRecord = i;
            return;
        }
        m_recordSizes->AppendU32(stored);
        m_textBuffer->Append(chunk.data(), stored);
    }
}

bool CTextRecordCompressor::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_failedRecord == 0;
}

void CTextRecordCompressor::ReportFailure() const
{
    const uint32_t failed = m_failedRecord;
    if (failed == 0)
        return;
    const uint32_t start = m_recordEnds->GetU32(failed - 1);
    const uint32_t shown = std::min(m_recordEnds->GetU32(failed) - start, kChunkContext);
    char context[kChunkContext + 1];
    std::copy(m_text + start, m_text + start + shown, context);
    context[shown] = '\0';
    ReportError("The text beginning \"%s\" does not compress into 8192 bytes.", context);
}
