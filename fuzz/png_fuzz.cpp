// libFuzzer target: the image probe and the PNG re-encoding.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string fault = RunPngInput(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "png_fuzz: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
