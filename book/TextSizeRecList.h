// The text-size record: the uncompressed length of every text record.
#pragma once

#include <vector>

#include "book/RecordList.h"

class TextSizeRecList final : public IRecordList {
public:
    // From the text record ends ([0] = 0, [i] = end of text record i).
    explicit TextSizeRecList(const CMemBuffer& textRecordEnds);

    uint32_t GetTextRecordCount() const { return static_cast<uint32_t>(m_lengths.size()); }

    // One record: u16 per text record (2 bytes each).
    uint32_t GetRecordCount() const override { return 1; }
    uint32_t GetRecordSize(uint32_t i) const override;
    void AppendRecord(uint32_t i, CMemBuffer& out) const override;

private:
    std::vector<uint16_t> m_lengths;
};
