// Test support: source text that zlib cannot store in one text record.
#pragma once

#include <cstdio>
#include <random>
#include <string>

// 8192 random bytes written as byte escapes (the same bytes every time).
inline std::string IncompressibleText()
{
    std::mt19937 random(3);
    std::string noise;
    for (int i = 0; i < 8192; ++i) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\a%03u", static_cast<unsigned>(random() % 256));
        noise += escape;
    }
    return noise;
}
