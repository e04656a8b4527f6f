// Small helpers for comparing record bytes with hand-written layouts.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/core/MemBuffer.h"

inline std::vector<uint8_t> Bytes(const CMemBuffer& b)
{
    return std::vector<uint8_t>(b.GetData(), b.GetData() + b.GetSize());
}

// Builds expected bytes from numbers (each one byte) and strings (their
// bytes, no NUL unless written).
struct Expect {
    std::vector<uint8_t> bytes;
    Expect& u8(uint8_t v)
    {
        bytes.push_back(v);
        return *this;
    }
    Expect& u16(uint16_t v) { return u8(uint8_t(v >> 8)).u8(uint8_t(v)); }
    Expect& u32(uint32_t v) { return u16(uint16_t(v >> 16)).u16(uint16_t(v)); }
    Expect& str(const std::string& s)
    {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    Expect& cstr(const std::string& s) { return str(s).u8(0); }
    Expect& zeros(size_t n)
    {
        bytes.insert(bytes.end(), n, 0);
        return *this;
    }
};

inline uint16_t U16At(const std::vector<uint8_t>& b, size_t at)
{
    return uint16_t((b[at] << 8) | b[at + 1]);
}

inline uint32_t U32At(const std::vector<uint8_t>& b, size_t at)
{
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}
