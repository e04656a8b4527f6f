// What the benchmarks read about their own process.
#pragma once

#include <cstdint>

// Peak resident set of this process in bytes (VmHWM in /proc/self/status),
// 0 when unknown.
uint64_t PeakResidentBytes();
