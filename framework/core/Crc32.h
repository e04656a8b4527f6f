// The standard CRC-32 (reflected polynomial 0xEDB88320, initial value all
// ones, result complemented), as functions and as a hash object.
#pragma once

#include <cstddef>
#include <cstdint>

// Runs the register over the bytes; no initial value or final complement.
uint32_t Crc32Update(uint32_t reg, const void* bytes, size_t n);
// The complete CRC-32 of the bytes.
uint32_t Crc32(const void* bytes, size_t n);

class IHash {
public:
    virtual ~IHash() = default;
    virtual void Reset() = 0;
    virtual void Update(const void* bytes, uint32_t n) = 0;
    virtual void Update(uint8_t byte) = 0;
    // Stores the digest; length is the room in out on entry and the number
    // of bytes stored on return (0 when the room is too small).
    virtual void Digest(void* out, uint32_t& length) const = 0;
    virtual bool Verify(const void* digest, uint32_t length) const = 0;
};

class CCRC32Hash : public IHash {
public:
    void Reset() override { m_reg = 0xFFFFFFFFu; }
    void Update(const void* bytes, uint32_t n) override;
    void Update(uint8_t byte) override;
    // The u32 result in machine order, 4 bytes.
    void Digest(void* out, uint32_t& length) const override;
    bool Verify(const void* digest, uint32_t length) const override;
    uint32_t GetValue() const { return ~m_reg; }

private:
    uint32_t m_reg = 0xFFFFFFFFu;
};
