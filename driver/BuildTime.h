// The time a book is built at: its creation time and the seed of its
// pseudo-random value.
#pragma once

#include <cstdint>

// Seconds since 1970-01-01 00:00 UTC. When SOURCE_DATE_EPOCH holds a
// number that value is used instead of the clock, so that a build can be
// repeated byte for byte.
uint32_t GetBuildTime();

// The largest SOURCE_DATE_EPOCH accepted: the book's modification time is
// one second later and must still fit its 32-bit field.
inline constexpr uint32_t kMaxSourceDateEpoch = 4294967294u;

// True when text is a decimal number (digits only) from 0 to
// kMaxSourceDateEpoch; its value goes to seconds.
bool ParseSourceDateEpoch(const char* text, uint32_t& seconds);
