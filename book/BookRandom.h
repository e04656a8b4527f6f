// The pseudo-random generator of one build: seeded once, deterministic.
#pragma once

#include <cstdint>

class CBookRandom {
public:
    explicit CBookRandom(uint32_t seed) : m_state(seed) {}

    // The next 15-bit draw (0..32767).
    uint32_t Next()
    {
        m_state = m_state * 214013u + 2531011u;
        return (m_state >> 16) & 0x7FFFu;
    }
    // The book header record's value: two draws, (r1 << 16) | r2.
    uint32_t HeaderValue()
    {
        const uint32_t r1 = Next();
        const uint32_t r2 = Next();
        return (r1 << 16) | r2;
    }

private:
    uint32_t m_state;
};
