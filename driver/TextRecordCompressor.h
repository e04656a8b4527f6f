// Dividing the prepared text into text records at once and compressing
// them on a second thread while the text is laid out. The records, their
// ends and their stored sizes are those of SplitTextRecords, byte for byte.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class CMemBuffer;

// Appends 0 and the end of every text record to `recordEnds`, dividing
// exactly as SplitTextRecords does (NextRecordLength: at most 8192 bytes a
// record, a full record that is not the last one cut by FindRecordBreak).
void DivideTextRecords(const uint8_t* text, uint32_t length, CMemBuffer& recordEnds);

// Compresses the records of a divided text into `textBuffer` and their
// stored sizes (after a leading 0) into `recordSizes`. Start runs the work
// on a thread of its own when it can, else at once. Wait takes the records
// still left from the back end, so that both threads finish together, and
// then puts them after the thread's. Nothing else may touch the text, the
// ends or the two output buffers between Start and Wait.
class CTextRecordCompressor {
public:
    CTextRecordCompressor() = default;
    ~CTextRecordCompressor();
    CTextRecordCompressor(const CTextRecordCompressor&) = delete;
    CTextRecordCompressor& operator=(const CTextRecordCompressor&) = delete;

    void Start(const uint8_t* text, const CMemBuffer& recordEnds, CMemBuffer& textBuffer, CMemBuffer& recordSizes);
    // True when every record was stored; throws std::bad_alloc when memory
    // ran out on either thread (the thread has ended by then).
    bool Wait();
    // After Wait returned false: reports the error "The text beginning
    // \"%s\" does not compress into 8192 bytes." for the record that failed.
    void ReportFailure() const;

private:
    // The thread's side: records from the front, straight into the buffers.
    void Run();
    // The next record from the front (or the back), 0 when none is left.
    uint32_t ClaimFront();
    uint32_t ClaimBack();
    // Whether record i still matters: records after the first failure do
    // not (m_lock held).
    bool BeforeFailure(uint32_t i) const { return m_failedRecord == 0 || i < m_failedRecord; }
    // Compresses record i (its index in the ends list) into `out`; false
    // after noting it as failed.
    bool CompressOne(uint32_t i, std::vector<uint8_t>& out);

    const uint8_t* m_text = nullptr;
    const CMemBuffer* m_recordEnds = nullptr;
    CMemBuffer* m_textBuffer = nullptr;
    CMemBuffer* m_recordSizes = nullptr;
    std::thread m_thread;

    std::mutex m_lock; // guards the four fields below
    // Records m_front to m_back - 1 are not taken yet.
    uint32_t m_front = 1;
    uint32_t m_back = 1;
    // Index in the ends list of the first record that did not compress, or 0.
    uint32_t m_failedRecord = 0;
    bool m_outOfMemory = false;
};

// Whether Start may use a second thread (on by default); the output is the
// same either way. For tests and measurements.
void SetBackgroundCompression(bool enabled);
