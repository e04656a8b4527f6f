// libFuzzer target: the whole build from source bytes.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string fault = RunBuildInput(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "build_fuzz: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
