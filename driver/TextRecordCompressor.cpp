#include "driver/TextRecordCompressor.h"

#include <algorithm>
#include <new>
#include <system_error>
#include <vector>

#include "book/Compressor.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/MessageGate.h"
#include "markup/RecordSplit.h"

namespace {

std::atomic<bool> g_background{true};

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
        position += NextRecordLength(text, position, length);
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
    m_front = 1;
    m_back = recordEnds.GetCount() > 0 ? recordEnds.GetCount() : 1;
    m_failedRecord = 0;
    m_outOfMemory = false;
    m_recordSizes->AppendU32(0);
    if (g_background && m_back - m_front > 1) {
        try {
            m_thread = std::thread(&CTextRecordCompressor::Run, this);
            return;
        } catch (const std::system_error&) {
            // No thread to be had: compress here instead.
        }
    }
    Run();
}

uint32_t CTextRecordCompressor::ClaimFront()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_front < m_back && BeforeFailure(m_front) ? m_front++ : 0;
}

uint32_t CTextRecordCompressor::ClaimBack()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_front < m_back && BeforeFailure(m_back - 1) ? --m_back : 0;
}

bool CTextRecordCompressor::CompressOne(uint32_t i, std::vector<uint8_t>& out)
{
    const uint32_t start = m_recordEnds->GetU32(i - 1);
    const uint32_t n = m_recordEnds->GetU32(i) - start;
    out.resize(kTextRecordLimit);
    const uint32_t stored = CompressRecord(m_text + start, n, out.data(), kTextRecordLimit);
    if (stored == 0 || stored > kTextRecordLimit) {
        // The first failing record in text order is the one reported, as
        // when the records are compressed one after the other.
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_failedRecord == 0 || i < m_failedRecord)
            m_failedRecord = i;
        return false;
    }
    out.resize(stored);
    return true;
}

void CTextRecordCompressor::Run()
{
    // Runs on the worker thread: no reports and no exceptions from here,
    // only the index of the record that failed, which ReportFailure
    // reports, or the note that memory ran out, which Wait passes on.
    try {
        std::vector<uint8_t> chunk;
        while (const uint32_t i = ClaimFront()) {
            if (!CompressOne(i, chunk))
                return;
            m_recordSizes->AppendU32(static_cast<uint32_t>(chunk.size()));
            m_textBuffer->Append(chunk.data(), static_cast<uint32_t>(chunk.size()));
        }
    } catch (const std::bad_alloc&) {
        std::lock_guard<std::mutex> hold(m_lock);
        m_outOfMemory = true;
        m_front = m_back; // nothing more is worth doing
    }
}

bool CTextRecordCompressor::Wait()
{
    // Help from the back end; these records come after all of the thread's.
    std::vector<std::vector<uint8_t>> tail;
    if (m_thread.joinable()) {
        while (const uint32_t i = ClaimBack()) {
            tail.emplace_back();
            if (!CompressOne(i, tail.back()))
                break;
        }
        m_thread.join();
    }
    if (m_outOfMemory)
        throw std::bad_alloc();
    if (m_failedRecord != 0)
        return false;
    for (auto record = tail.rbegin(); record != tail.rend(); ++record) {
        m_recordSizes->AppendU32(static_cast<uint32_t>(record->size()));
        m_textBuffer->Append(record->data(), static_cast<uint32_t>(record->size()));
    }
    return true;
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
    ReportMessage(kReportError, MessageRule::Always, ReportPlace::At(start),
                  "The text beginning \"%s\" does not compress into 8192 bytes.", context);
}
