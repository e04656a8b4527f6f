#include "framework/core/RkStream.h"

#include <cstring>

#include "framework/core/MemBuffer.h"

int32_t CRkStream::Open()
{
    if (m_open)
        return kStreamAlreadyOpen;
    int32_t err = DoOpen();
    if (err)
        return err;
    err = GetPosition(m_mark);
    if (err)
        return err;
    m_open = 1;
    return kStreamOk;
}

int32_t CRkStream::Close()
{
    if (!m_open)
        return kStreamNotOpen;
    const int32_t err = DoClose();
    if (!err)
        m_open = 0;
    return err;
}

int32_t CRkStream::Skip(int32_t n)
{
    uint32_t position = 0;
    const int32_t err = GetPosition(position);
    if (err)
        return err;
    return SetPosition(position + static_cast<uint32_t>(n));
}

int32_t CRkStream::Mark()
{
    return GetPosition(m_mark);
}

int32_t CRkStream::ResetToMark()
{
    return SetPosition(m_mark);
}

int32_t CRkStream::ReadBytes(void* destination, uint32_t count, uint32_t& countRead)
{
    countRead = 0;
    if (!destination)
        return kStreamBadArgument;
    if (!m_open)
        return kStreamNotOpen;
    if (m_mode != StreamMode::Read)
        return kStreamWrongMode;
    return DoRead(destination, count, countRead);
}

int32_t CRkStream::CheckAvailable(uint32_t count)
{
    if (!m_open)
        return kStreamNotOpen;
    if (m_mode != StreamMode::Read)
        return kStreamWrongMode;
    uint32_t remaining = 0;
    if (GetRemaining(remaining) && remaining < count)
        return kStreamEndOfData;
    return kStreamOk;
}

int32_t CRkStream::ReadBuffer(CMemBuffer& buffer, uint32_t count)
{
    buffer.SetSize(0);
    if (!m_open)
        return kStreamNotOpen;
    if (m_mode != StreamMode::Read)
        return kStreamWrongMode;
    if (!count)
        return kStreamOk;
    // Never size the buffer beyond what the stream still holds: a corrupt
    // length field must not turn into a huge allocation. The short read
    // then reports 53 as usual, keeping what was there.
    uint32_t remaining = 0;
    const uint32_t want = GetRemaining(remaining) && remaining < count ? remaining : count;
    buffer.SetSize(want);
    uint32_t got = 0;
    int32_t err = want ? ReadBytes(buffer.GetData(), want, got) : kStreamEndOfData;
    if (!err && got < count)
        err = kStreamEndOfData;
    buffer.SetSize(got);
    return err;
}

int32_t CRkStream::ReadU32(uint32_t& out)
{
    uint8_t bytes[4];
    uint32_t got = 0;
    const int32_t err = ReadBytes(bytes, 4, got);
    if (err)
        return err;
    out = (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
    return kStreamOk;
}

// Two bytes in the stored (little-endian) order, low byte first.
int32_t CRkStream::ReadU16(uint16_t& out)
{
    uint8_t bytes[2];
    uint32_t got = 0;
    const int32_t err = ReadBytes(bytes, 2, got);
    if (err)
        return err;
    out = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    return kStreamOk;
}

int32_t CRkStream::ReadU8(uint8_t& out)
{
    uint8_t byte = 0;
    uint32_t got = 0;
    const int32_t err = ReadBytes(&byte, 1, got);
    if (err)
        return err;
    out = byte;
    return kStreamOk;
}

int32_t CRkStream::WriteBytes(const void* source, uint32_t count)
{
    if (!source)
        return kStreamBadArgument;
    if (!m_open)
        return kStreamNotOpen;
    if (m_mode != StreamMode::Write)
        return kStreamWrongMode;
    return DoWrite(source, count);
}

int32_t CRkStream::WriteText(const char* text)
{
    if (!text)
        return kStreamBadArgument;
    return WriteBytes(text, static_cast<uint32_t>(std::strlen(text)));
}

int32_t CRkStream::WriteBuffer(const CMemBuffer& buffer)
{
    return WriteBytes(buffer.GetData(), buffer.GetSize());
}

int32_t CRkStream::WriteU32(uint32_t value)
{
    const uint8_t bytes[4] = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
    return WriteBytes(bytes, 4);
}

int32_t CRkStream::WriteU8(uint8_t value)
{
    return WriteBytes(&value, 1);
}

int32_t CRkMemStream::GetPosition(uint32_t& position)
{
    position = GetMode() == StreamMode::Write ? m_buffer->GetSize() : m_readPosition;
    return kStreamOk;
}

int32_t CRkMemStream::SetPosition(uint32_t position)
{
    if (position > m_buffer->GetSize())
        position = m_buffer->GetSize();
    if (GetMode() == StreamMode::Write)
        m_buffer->SetSize(position);
    else
        m_readPosition = position;
    return kStreamOk;
}

int32_t CRkMemStream::DoRead(void* destination, uint32_t count, uint32_t& countRead)
{
    countRead = 0;
    if (GetMode() == StreamMode::Write)
        return kStreamWrongMode;
    const uint32_t size = m_buffer->GetSize();
    if (m_readPosition >= size)
        return count ? kStreamEndOfData : kStreamOk;
    const uint32_t available = size - m_readPosition;
    const uint32_t n = count < available ? count : available;
    std::memcpy(destination, m_buffer->GetData() + m_readPosition, n);
    m_readPosition += n;
    countRead = n;
    return n < count ? kStreamEndOfData : kStreamOk;
}

int32_t CRkMemStream::DoWrite(const void* source, uint32_t count)
{
    if (GetMode() != StreamMode::Write)
        return kStreamWrongMode;
    m_buffer->Append(source, count);
    return kStreamOk;
}

bool CRkMemStream::AtEnd()
{
    return m_readPosition >= m_buffer->GetSize();
}

bool CRkMemStream::GetRemaining(uint32_t& remaining)
{
    if (GetMode() == StreamMode::Write) {
        remaining = 0;
        return false;
    }
    const uint32_t size = m_buffer->GetSize();
    remaining = m_readPosition < size ? size - m_readPosition : 0;
    return true;
}
