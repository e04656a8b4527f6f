#include "framework/core/MemBuffer.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "framework/core/RkStream.h"

namespace {

// Allocation failure is an exception, as for the standard containers: the
// whole operation is undone and the caller's subsystem turns it into its
// error at its boundary.
uint8_t* Allocate(size_t bytes)
{
    void* p = std::malloc(bytes ? bytes : 1);
    if (!p)
        throw std::bad_alloc();
    return static_cast<uint8_t*>(p);
}

} // namespace

CMemBuffer::CMemBuffer() : CMemBuffer(0, 0)
{
}

CMemBuffer::CMemBuffer(uint32_t initialCapacity) : CMemBuffer(initialCapacity, 0)
{
}

CMemBuffer::CMemBuffer(uint32_t initialCapacity, uint32_t growIncrement)
    : m_capacity(initialCapacity ? initialCapacity : 256),
      m_growIncrement(growIncrement ? growIncrement : kGrowDoubling)
{
    m_data = Allocate(m_capacity);
}

CMemBuffer::CMemBuffer(const CMemBuffer& other)
    : CRkType(other),
      m_size(other.m_size),
      m_capacity(other.m_capacity),
      m_growIncrement(other.m_growIncrement),
      m_elementSize(other.m_elementSize)
{
    m_data = Allocate(m_capacity);
    if (m_size)
        std::memcpy(m_data, other.m_data, m_size);
}

CMemBuffer::~CMemBuffer()
{
    std::free(m_data);
}

void CMemBuffer::Reserve(uint32_t need)
{
    if (!TryReserve(need))
        throw std::bad_alloc();
}

bool CMemBuffer::TryReserve(uint32_t need) noexcept
{
    if (need <= m_capacity)
        return true;
    uint64_t capacity = m_capacity;
    if (m_growIncrement != kGrowDoubling) {
        uint64_t steps = (static_cast<uint64_t>(need) - capacity + m_growIncrement - 1) / m_growIncrement;
        capacity += steps * m_growIncrement;
    } else {
        if (capacity == 0)
            capacity = 1;
        while (capacity < need)
            capacity *= 2;
    }
    // Keep the capacity representable; the need itself always is.
    if (capacity > 0xFFFFFFFFu)
        capacity = need;
    void* block = std::malloc(static_cast<size_t>(capacity));
    if (!block && capacity > need) {
        // Short of memory: the exact need may still be had.
        capacity = need;
        block = std::malloc(static_cast<size_t>(capacity));
    }
    if (!block)
        return false;
    if (m_size)
        std::memcpy(block, m_data, m_size);
    std::free(m_data);
    m_data = static_cast<uint8_t*>(block);
    m_capacity = static_cast<uint32_t>(capacity);
    return true;
}

void CMemBuffer::SetSize(uint32_t bytes, bool zeroFill)
{
    Reserve(bytes);
    if (zeroFill && bytes > m_size)
        std::memset(m_data + m_size, 0, bytes - m_size);
    m_size = bytes;
}

uint32_t CMemBuffer::Append(const void* bytes, uint32_t n)
{
    if (n == 0)
        return m_size;
    Reserve(m_size + n);
    std::memcpy(m_data + m_size, bytes, n);
    m_size += n;
    return m_size;
}

uint32_t CMemBuffer::AppendBuffer(const CMemBuffer& other)
{
    return Append(other.m_data, other.m_size);
}

uint32_t CMemBuffer::AppendU8(uint8_t value)
{
    return Append(&value, 1);
}

uint32_t CMemBuffer::AppendU16BE(uint16_t value)
{
    const uint8_t bytes[2] = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
    return Append(bytes, 2);
}

uint32_t CMemBuffer::AppendU32BE(uint32_t value)
{
    const uint8_t bytes[4] = {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                              static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
    return Append(bytes, 4);
}

void CMemBuffer::Insert(uint32_t offset, const void* bytes, uint32_t n)
{
    if (n == 0)
        return;
    Reserve(m_size + n);
    std::memmove(m_data + offset + n, m_data + offset, m_size - offset);
    std::memcpy(m_data + offset, bytes, n);
    m_size += n;
}

void CMemBuffer::Remove(uint32_t offset, uint32_t n)
{
    std::memmove(m_data + offset, m_data + offset + n, m_size - offset - n);
    m_size -= n;
}

void CMemBuffer::Replace(uint32_t start, uint32_t end, const void* bytes, uint32_t n)
{
    if (end < start)
        return;
    if (start >= m_size) {
        Append(bytes, n);
        return;
    }
    if (end > m_size)
        end = m_size;
    const uint32_t old = end - start;
    if (old < n) {
        Reserve(m_size + n - old);
        std::memmove(m_data + start + n, m_data + end, m_size - end);
    } else if (old > n) {
        std::memmove(m_data + start + n, m_data + end, m_size - end);
    }
    m_size = m_size + n - old;
    if (n)
        std::memcpy(m_data + start, bytes, n);
}

uint8_t* CMemBuffer::CopyBytes() const
{
    if (m_size == 0)
        return nullptr;
    uint8_t* copy = Allocate(m_size);
    std::memcpy(copy, m_data, m_size);
    return copy;
}

void CMemBuffer::GetElement(uint32_t i, void* out) const
{
    std::memcpy(out, ElementAt(i), m_elementSize);
}

void CMemBuffer::SetElement(uint32_t i, const void* in)
{
    std::memcpy(ElementAt(i), in, m_elementSize);
}

void CMemBuffer::ReplaceElements(uint32_t first, uint32_t last, const void* p, uint32_t n)
{
    Replace(first * m_elementSize, last * m_elementSize, p, n * m_elementSize);
}

void CMemBuffer::Sort(CompareFn compare)
{
    const uint32_t count = GetCount();
    if (count > 1 && compare)
        std::qsort(m_data, count, m_elementSize, compare);
}

void* CMemBuffer::Search(const void* key, CompareFn compare)
{
    const uint32_t count = GetCount();
    if (!key || count == 0 || m_elementSize == 0 || !compare)
        return nullptr;
    int c = compare(key, ElementAt(0));
    if (c == 0)
        return ElementAt(0);
    if (c < 0)
        return nullptr;
    uint32_t low = 1;
    uint32_t high = count; // exclusive
    while (low < high) {
        const uint32_t mid = low + (high - low - 1) / 2;
        c = compare(key, ElementAt(mid));
        if (c == 0)
            return ElementAt(mid);
        if (c < 0)
            high = mid;
        else
            low = mid + 1;
    }
    return nullptr;
}

uint32_t CMemBuffer::GetU32(uint32_t i) const
{
    uint32_t value;
    std::memcpy(&value, m_data + static_cast<size_t>(i) * 4, 4);
    return value;
}

void CMemBuffer::AppendU32(uint32_t value)
{
    Append(&value, 4);
}

// Serialised form: u32 version (0), u32 element size, u32 size, the bytes.
int32_t CMemBuffer::Write(CRkStream& stream) const
{
    int32_t err = stream.WriteU32(0);
    if (!err)
        err = stream.WriteU32(m_elementSize);
    if (!err)
        err = stream.WriteU32(m_size);
    if (!err && m_size)
        err = stream.WriteBytes(m_data, m_size);
    return err;
}

int32_t CMemBuffer::Read(CRkStream& stream)
{
    SetSize(0);
    m_elementSize = 1;
    uint32_t version = 0, elementSize = 0, size = 0;
    int32_t err = stream.ReadU32(version);
    if (err)
        return err;
    if (version > 0)
        return 55;
    if ((err = stream.ReadU32(elementSize)) != 0)
        return err;
    if ((err = stream.ReadU32(size)) != 0)
        return err;
    m_elementSize = elementSize;
    // Grow piece by piece so that a damaged size cannot demand a huge block
    // before the data runs out.
    constexpr uint32_t kChunk = 65536;
    while (m_size < size) {
        const uint32_t start = m_size;
        const uint32_t n = size - start < kChunk ? size - start : kChunk;
        SetSize(start + n);
        uint32_t got = 0;
        err = stream.ReadBytes(m_data + start, n, got);
        m_size = start + got;
        if (err)
            return err;
    }
    return kStreamOk;
}
