// The metadata record: NUL-terminated strings back to back.
#pragma once

#include <string_view>

#include "book/RecordList.h"
#include "framework/core/MemBuffer.h"

class InfoRecList final : public IRecordList {
public:
    // Strings this long or longer get a warning (and are stored whole).
    static constexpr uint32_t kLongString = 257;

    InfoRecList();
    // Adds the bytes up to the first NUL, with a NUL.
    void Add(std::string_view text);

    uint32_t GetRecordCount() const override { return 1; }
    uint32_t GetRecordSize(uint32_t i) const override { return i == 0 ? m_bytes.GetSize() : 0; }
    void AppendRecord(uint32_t i, CMemBuffer& out) const override;

private:
    CMemBuffer m_bytes;
};
