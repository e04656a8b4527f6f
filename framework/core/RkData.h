// An owned block of bytes as a typed, serialisable object.
#pragma once

#include <cstdint>

#include "framework/core/RkType.h"

class CRkData : public CRkType {
public:
    CRkData() = default;
    CRkData(const void* bytes, uint32_t length);
    ~CRkData() override;
    CRkData(const CRkData&) = delete;
    CRkData& operator=(const CRkData&) = delete;

    // Replaces the content with a copy of the bytes (null or 0 empties it).
    void Assign(const void* bytes, uint32_t length);
    const uint8_t* GetData() const { return m_data; }
    uint32_t GetLength() const { return m_length; }
    // Copies the bytes out: 1 unless there is data, destination is not null
    // and n equals the length.
    int32_t CopyOut(void* destination, uint32_t n) const;

    // Body: u32 version 0, u32 length, the bytes.
    int32_t Write(CRkStream& stream) const override;
    int32_t Read(CRkStream& stream) override;
    uint32_t GetTypeID() const override { return kTypeIdData; }

private:
    uint8_t* m_data = nullptr;
    uint32_t m_length = 0;
};
