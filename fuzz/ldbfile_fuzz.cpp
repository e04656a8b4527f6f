// libFuzzer target: the book reader on any file.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string fault = RunLDBFileInput(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "ldbfile_fuzz: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
