// A growable byte buffer with an element layer and big-endian appends.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/core/RkType.h"

inline constexpr uint32_t kGrowDoubling = 0xFFFFFFFFu;

class CMemBuffer : public CRkType {
public:
    using CompareFn = int (*)(const void* a, const void* b);

    CMemBuffer();
    explicit CMemBuffer(uint32_t initialCapacity);
    CMemBuffer(uint32_t initialCapacity, uint32_t growIncrement);
    CMemBuffer(const CMemBuffer& other);
    CMemBuffer& operator=(const CMemBuffer&) = delete;
    ~CMemBuffer() override;

    // Byte layer. Every operation that grows the buffer throws std::bad_alloc
    // when the memory cannot be had, leaving the buffer as it was.
    void Reserve(uint32_t bytes);
    // Reserve without the exception: false, the buffer unchanged, when the
    // memory cannot be had (for callers that report failure by result).
    bool TryReserve(uint32_t bytes) noexcept;
    uint32_t GetSize() const { return m_size; }
    uint32_t GetCapacity() const { return m_capacity; }
    uint32_t GetGrowIncrement() const { return m_growIncrement; }
    uint8_t* GetData() { return m_data; }
    const uint8_t* GetData() const { return m_data; }
    void SetSize(uint32_t bytes, bool zeroFill = false);
    uint32_t Append(const void* bytes, uint32_t n);
    uint32_t AppendBuffer(const CMemBuffer& other);
    uint32_t AppendU8(uint8_t value);
    uint32_t AppendU16BE(uint16_t value);
    uint32_t AppendU32BE(uint32_t value);
    void Insert(uint32_t offset, const void* bytes, uint32_t n);
    void Remove(uint32_t offset, uint32_t n);
    void Replace(uint32_t start, uint32_t end, const void* bytes, uint32_t n);
    // A malloc'd copy of the bytes in use (freed by the caller), null when empty.
    uint8_t* CopyBytes() const;

    // Element layer: index i is byte offset i * element size.
    void SetElementSize(uint32_t n) { m_elementSize = n; }
    uint32_t GetElementSize() const { return m_elementSize; }
    uint32_t GetCount() const { return m_elementSize ? m_size / m_elementSize : 0; }
    void SetCount(uint32_t n, bool zeroFill = false) { SetSize(n * m_elementSize, zeroFill); }
    void AppendElement(const void* p) { Append(p, m_elementSize); }
    void AppendElements(const void* p, uint32_t n) { Append(p, n * m_elementSize); }
    void GetElement(uint32_t i, void* out) const;
    void SetElement(uint32_t i, const void* in);
    uint8_t* ElementAt(uint32_t i) { return m_data + static_cast<size_t>(i) * m_elementSize; }
    const uint8_t* ElementAt(uint32_t i) const { return m_data + static_cast<size_t>(i) * m_elementSize; }
    void InsertElement(uint32_t i, const void* p) { Insert(i * m_elementSize, p, m_elementSize); }
    void InsertElements(uint32_t i, const void* p, uint32_t n) { Insert(i * m_elementSize, p, n * m_elementSize); }
    void ReplaceElements(uint32_t first, uint32_t last, const void* p, uint32_t n);
    void RemoveElement(uint32_t i) { Remove(i * m_elementSize, m_elementSize); }
    void RemoveElements(uint32_t i, uint32_t n) { Remove(i * m_elementSize, n * m_elementSize); }
    void Sort(CompareFn compare);
    void* Search(const void* key, CompareFn compare);

    // Typed helpers for 32-bit lists (element size 4, native order).
    uint32_t GetU32(uint32_t i) const;
    void AppendU32(uint32_t value);

    // CRkType
    int32_t Write(CRkStream& stream) const override;
    int32_t Read(CRkStream& stream) override;
    uint32_t GetTypeID() const override { return kTypeIdMemBuffer; }

private:
    uint8_t* m_data = nullptr;
    uint32_t m_size = 0;
    uint32_t m_capacity = 0;
    uint32_t m_growIncrement = kGrowDoubling;
    uint32_t m_elementSize = 1;
};
