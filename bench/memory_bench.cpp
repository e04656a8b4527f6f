// vx_bench_memory [MEGABYTES]: generates an LML source of that size (50 MB
// by default), builds it with vellumix-book's build command in a child
// process, and reports the child's peak resident memory against the source
// size. The book is built without page tables. The child reads its own
// peak from /proc/self/status (VmHWM).
//
// vx_bench_memory --child SOURCE OUT REPORT: the child side.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "bench/ProcessMemory.h"
#include "bench/SourceGenerator.h"
#include "tools/book/BookTool.h"

namespace {

uint64_t FileSize(const std::string& path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    return file ? uint64_t(file.tellg()) : 0;
}

int RunChild(const char* source, const char* output, const char* report)
{
    uint64_t before = PeakResidentBytes();
    auto start = std::chrono::steady_clock::now();
    // Without page tables: a long source has more pages than a table holds
    // (the layout passes still run).
    const char* args[] = {"vellumix-book", "build", source, "-o", output, "--batch", "--exclude-page-tables"};
    std::ostringstream quiet;
    int status = RunBookTool(7, args, std::cout, quiet);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::ofstream out(report);
    out << status << ' ' << before << ' ' << PeakResidentBytes() << ' ' << seconds << '\n';
    if (status != 0)
        std::cerr << quiet.str();
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argv[2], argv[3], argv[4]);
    uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 50;
    std::string source = "bench-source.lml";
    std::string output = "bench-source.ldb";
    std::string report = "bench-report.txt";
    if (!WriteLmlSource(source, megabytes * 1024 * 1024)) {
        std::cerr << "error: cannot write " << source << "\n";
        return 1;
    }
    uint64_t sourceSize = FileSize(source);
    std::string command = std::string("\"") + argv[0] + "\" --child " + source + " " + output + " " + report;
    int rc = std::system(command.c_str());
    std::ifstream in(report);
    int status = -1;
    uint64_t before = 0, peak = 0;
    double seconds = 0;
    if (rc != 0 || !(in >> status >> before >> peak >> seconds) || status != 0) {
        std::cerr << "error: the build in the child process failed\n";
        return 1;
    }
    std::printf("source         %llu bytes (%.1f MB)\n", (unsigned long long)sourceSize, sourceSize / 1048576.0);
    std::printf("book           %llu bytes\n", (unsigned long long)FileSize(output));
    std::printf("build time     %.2f s\n", seconds);
    std::printf("peak RSS       %llu bytes (%.1f MB), %.1f MB before the build\n", (unsigned long long)peak,
                peak / 1048576.0, before / 1048576.0);
    std::printf("ratio          %.2f x the source size (target: at most about 3)\n", double(peak) / sourceSize);
    std::remove(source.c_str());
    std::remove(output.c_str());
    std::remove(report.c_str());
    return 0;
}
