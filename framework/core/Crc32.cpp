#include "framework/core/Crc32.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<uint32_t, 256> MakeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

} // namespace

uint32_t Crc32Update(uint32_t reg, const void* bytes, size_t n)
{
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    for (size_t i = 0; i < n; ++i)
        reg = kTable[(reg ^ p[i]) & 0xFF] ^ (reg >> 8);
    return reg;
}

uint32_t Crc32(const void* bytes, size_t n)
{
    return ~Crc32Update(0xFFFFFFFFu, bytes, n);
}

void CCRC32Hash::Update(const void* bytes, uint32_t n)
{
    if (bytes)
        m_reg = Crc32Update(m_reg, bytes, n);
}

void CCRC32Hash::Update(uint8_t byte)
{
    m_reg = kTable[(m_reg ^ byte) & 0xFF] ^ (m_reg >> 8);
}

void CCRC32Hash::Digest(void* out, uint32_t& length) const
{
    if (!out || length < 4) {
        length = 0;
        return;
    }
    const uint32_t value = GetValue();
    std::memcpy(out, &value, 4);
    length = 4;
}

bool CCRC32Hash::Verify(const void* digest, uint32_t length) const
{
    if (!digest || length != 4)
        return false;
    uint32_t stored;
    std::memcpy(&stored, digest, 4);
    return stored == GetValue();
}
