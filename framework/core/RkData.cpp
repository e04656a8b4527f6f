#include "framework/core/RkData.h"

#include <cstdlib>
#include <cstring>

#include "framework/core/RkStream.h"

CRkData::CRkData(const void* bytes, uint32_t length)
{
    Assign(bytes, length);
}

CRkData::~CRkData()
{
    std::free(m_data);
}

void CRkData::Assign(const void* bytes, uint32_t length)
{
    std::free(m_data);
    m_data = nullptr;
    m_length = 0;
    if (!bytes || !length)
        return;
    m_data = static_cast<uint8_t*>(std::malloc(length));
    if (!m_data)
        return;
    std::memcpy(m_data, bytes, length);
    m_length = length;
}

int32_t CRkData::CopyOut(void* destination, uint32_t n) const
{
    if (!m_data || !destination || n != m_length)
        return kStreamBadArgument;
    std::memcpy(destination, m_data, n);
    return kStreamOk;
}

int32_t CRkData::Write(CRkStream& stream) const
{
    int32_t err = stream.WriteU32(0);
    if (!err)
        err = stream.WriteU32(m_length);
    if (!err && m_length)
        err = stream.WriteBytes(m_data, m_length);
    return err;
}

int32_t CRkData::Read(CRkStream& stream)
{
    Assign(nullptr, 0);
    uint32_t version = 0, length = 0;
    int32_t err = stream.ReadU32(version);
    if (err)
        return err;
    if (version > 0)
        return kStreamNewerVersion;
    if ((err = stream.ReadU32(length)) != 0)
        return err;
    if (!length)
        return kStreamOk;
    // Refuse a length the stream cannot supply before allocating for it.
    if ((err = stream.CheckAvailable(length)) != 0)
        return err;
    uint8_t* data = static_cast<uint8_t*>(std::malloc(length));
    if (!data)
        return kStreamBadArgument;
    uint32_t got = 0;
    err = stream.ReadBytes(data, length, got);
    if (!err && got != length)
        err = kStreamEndOfData;
    if (err) {
        std::free(data);
        return err;
    }
    m_data = data;
    m_length = length;
    return kStreamOk;
}
