// vx_bench_generate OUT [MEGABYTES]: writes a generated LML source.
#include <cstdio>
#include <cstdlib>

#include "bench/SourceGenerator.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: vx_bench_generate OUT [MEGABYTES]\n");
        return 2;
    }
    uint64_t megabytes = argc == 3 ? std::strtoull(argv[2], nullptr, 10) : 50;
    if (!WriteLmlSource(argv[1], megabytes * 1024 * 1024)) {
        std::fprintf(stderr, "error: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
