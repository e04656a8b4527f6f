// The time a book is built at: its creation time and the seed of its
// pseudo-random value.
#pragma once

#include <cstdint>

// Seconds since 1970-01-01 00:00 UTC. When SOURCE_DATE_EPOCH holds a
// number that value is used instead of the clock, so that a build can be
// repeated byte for byte.
uint32_t GetBuildTime();
