// The images of a book, one record each. Images are collected by a later
// step of the compiler; until then the list stays empty.
#pragma once

#include <vector>

#include "book/RecordList.h"

class ImageRecList final : public IRecordList {
public:
    uint32_t GetCount() const { return 0; }

    uint32_t GetRecordCount() const override { return GetCount(); }
    uint32_t GetRecordSize(uint32_t i) const override;
    void AppendRecord(uint32_t i, CMemBuffer& out) const override;
};
