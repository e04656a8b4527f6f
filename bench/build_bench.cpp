// vx_bench_build: the speed and memory of a book build.
//
//   vx_bench_build [--megabytes N] [--runs R] [--memory-megabytes M] [--keep]
//
// 1. Generates an LML source of N MB (8 by default) and measures the floor
//    of its build: zlib `compress` of the same prepared text in 8192-byte
//    chunks, with nothing else. Then builds the book R times (3 by default)
//    in this process and compares the best build with the best floor
//    (target: the build takes at most 1.5 times the floor).
// 2. Builds the same source in a child process and reads the child's peak
//    resident memory (target: below 3 times the source size plus 32 MB).
// 3. Builds a source of M MB (50 by default; 0 skips it) without page
//    tables in a child process (a source that long has more pages than a
//    page table holds) and compares its peak memory with the source size
//    (target: at most about 3 times).
//
// Wall-clock times are the measure; the process's CPU time (of all its
// threads) is shown beside them, since the machine may be shared. Files go
// to a fresh folder under $TMPDIR (or the system's temporary folder),
// removed at the end unless --keep is given.
//
//   vx_bench_build --child SOURCE OUT REPORT [build options]
// is the child side: builds with the given options and writes the exit
// status and peak resident bytes to REPORT.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/ProcessMemory.h"
#include "bench/SourceGenerator.h"
#include "driver/BookPipeline.h"
#include "driver/TextRecordCompressor.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/Report.h"
#include "framework/core/RkString.h"
#include "tools/book/BookTool.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kChunk = 8192;

struct Timing {
    double wall = 0;
    double cpu = 0;
};

double CpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

template <typename Work>
Timing Measure(Work work)
{
    const double cpuStart = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    Timing t;
    t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    t.cpu = CpuSeconds() - cpuStart;
    return t;
}

// Best (shortest wall time) of several runs.
void KeepBest(Timing& best, const Timing& t, bool first)
{
    if (first || t.wall < best.wall)
        best = t;
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::vector<uint8_t> bytes(in ? size_t(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return bytes;
}

// The build's prepared text: the source after the three preparation passes
// and without a notes block.
std::vector<uint8_t> PreparedText(const std::string& source)
{
    std::vector<uint8_t> bytes = ReadFile(source);
    auto buffer = std::make_unique<CMemBuffer>(uint32_t(bytes.size()), 1);
    buffer->Append(bytes.data(), uint32_t(bytes.size()));
    CBookPipeline pipeline(std::move(buffer), CRkString(), 0);
    pipeline.Prepare();
    pipeline.SplitNotes();
    const CMemBuffer& prepared = pipeline.PreparedText();
    return std::vector<uint8_t>(prepared.GetData(), prepared.GetData() + prepared.GetSize());
}

// zlib at its default level over 8192-byte chunks; returns the stored bytes.
uint64_t CompressChunks(const std::vector<uint8_t>& text)
{
    std::vector<uint8_t> out(compressBound(kChunk));
    uint64_t stored = 0;
    for (size_t at = 0; at < text.size(); at += kChunk) {
        uLongf size = uLongf(out.size());
        uLong n = uLong(std::min<size_t>(kChunk, text.size() - at));
        if (compress(out.data(), &size, text.data() + at, n) != Z_OK)
            return 0;
        stored += size;
    }
    return stored;
}

// The build's main steps one after the other on this thread, each timed:
// where the time of a build goes.
void PrintSteps(const std::string& source, double floorCpu)
{
    std::unique_ptr<CBookPipeline> pipeline;
    bool laidOut = false;
    struct Step {
        const char* name;
        Timing time;
    };
    std::vector<Step> steps;
    const ReportHook status = GetStatusHook();
    SetStatusHook([](const char*, va_list) { return int32_t(0); });
    steps.push_back({"read the source", Measure([&] {
                         const std::vector<uint8_t> bytes = ReadFile(source);
                         auto text = std::make_unique<CMemBuffer>(0, 1);
                         text->Append(bytes.data(), uint32_t(bytes.size()));
                         pipeline = std::make_unique<CBookPipeline>(std::move(text), CRkString(), 0);
                     })});
    steps.push_back({"prepare the text (3 passes)", Measure([&] { pipeline->Prepare(); })});
    steps.push_back({"cut off notes, divide records", Measure([&] {
                         pipeline->SplitNotes();
                         pipeline->DivideRecords();
                     })});
    steps.push_back({"compress the records", Measure([&] {
                         SetBackgroundCompression(false);
                         pipeline->StartCompression();
                         pipeline->FinishCompression();
                         SetBackgroundCompression(true);
                     })});
    steps.push_back({"lay out both fonts (scanner)", Measure([&] { laidOut = pipeline->Paginate(); })});
    SetStatusHook(status);
    double sum = 0;
    std::printf("where the time goes (the steps one after the other, CPU seconds):\n");
    for (const Step& step : steps) {
        std::printf("  %-32s %.3f s\n", step.name, step.time.cpu);
        sum += step.time.cpu;
    }
    // The compression starts on a second thread when the text is prepared;
    // the main thread lays the text out and then takes the records still
    // left from the other end. On two free cores the build thus takes about
    // the steps before the compression, then the longer of the layout and
    // half of layout and compression together.
    const double before = steps[0].time.cpu + steps[1].time.cpu + steps[2].time.cpu;
    const double layout = steps[4].time.cpu;
    const double both = std::max(layout, (layout + steps[3].time.cpu) / 2);
    std::printf("  on two free cores: %.3f s + %.3f s = %.2f x the floor's CPU time (before the assembly)\n", before,
                both, (before + both) / floorCpu);
    if (!laidOut)
        std::printf("  (the layout reported errors)\n");
}

int RunChild(int argc, char** argv)
{
    std::vector<const char*> args = {"vellumix-book", "build", argv[2], "-o", argv[3], "--batch"};
    for (int i = 5; i < argc; ++i)
        args.push_back(argv[i]);
    std::ostringstream messages;
    int status = RunBookTool(int(args.size()), args.data(), std::cout, messages);
    std::ofstream(argv[4]) << status << ' ' << PeakResidentBytes() << '\n';
    if (status != 0)
        std::cerr << messages.str();
    return status;
}

// A word for a shell command line, in single quotes.
std::string Quoted(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Builds in a child process; the child's peak resident bytes, 0 on failure.
uint64_t ChildPeak(const char* self, const std::string& source, const std::string& output, const std::string& report,
                   const std::vector<std::string>& options)
{
    std::string command = Quoted(self) + " --child " + Quoted(source) + " " + Quoted(output) + " " + Quoted(report);
    for (const std::string& option : options)
        command += " " + Quoted(option);
    if (std::system(command.c_str()) != 0)
        return 0;
    std::ifstream in(report);
    int status = -1;
    uint64_t peak = 0;
    return in >> status >> peak && status == 0 ? peak : 0;
}

// A new, empty folder for the benchmark's files.
bool MakeFolder(fs::path& folder)
{
    const char* tmp = std::getenv("TMPDIR");
    fs::path base = tmp && *tmp ? fs::path(tmp) : fs::temp_directory_path();
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        folder = base / ("vx_bench_" + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(folder, error))
            return true;
    }
    return false;
}

double Megabytes(uint64_t bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

struct Settings {
    uint64_t megabytes = 8;
    uint64_t memoryMegabytes = 50;
    int runs = 3;
    bool keep = false;
};

bool ParseSettings(int argc, char** argv, Settings& settings)
{
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        bool hasValue = i + 1 < argc;
        if (word == "--megabytes" && hasValue)
            settings.megabytes = std::strtoull(argv[++i], nullptr, 10);
        else if (word == "--memory-megabytes" && hasValue)
            settings.memoryMegabytes = std::strtoull(argv[++i], nullptr, 10);
        else if (word == "--runs" && hasValue)
            settings.runs = std::max(1, std::atoi(argv[++i]));
        else if (word == "--keep")
            settings.keep = true;
        else
            return false;
    }
    return settings.megabytes > 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 5 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argc, argv);
    Settings settings;
    if (!ParseSettings(argc, argv, settings)) {
        std::cerr << "usage: vx_bench_build [--megabytes N] [--runs R] [--memory-megabytes M] [--keep]\n";
        return 2;
    }
    fs::path folder;
    if (!MakeFolder(folder)) {
        std::cerr << "error: cannot create a folder for the benchmark files\n";
        return 1;
    }
    const std::string source = (folder / "bench.lml").string();
    const std::string book = (folder / "bench.ldb").string();
    const std::string report = (folder / "report.txt").string();
    int result = 0;

    if (!WriteLmlSource(source, settings.megabytes * 1024 * 1024)) {
        std::cerr << "error: cannot write " << source << "\n";
        return 1;
    }
    const uint64_t sourceSize = fs::file_size(source);
    batchMode = true; // the preparation's notes about tabs and 8-bit letters
    const std::vector<uint8_t> prepared = PreparedText(source);
    std::printf("source           %.1f MB (%llu bytes), prepared text %llu bytes\n", Megabytes(sourceSize),
                (unsigned long long)sourceSize, (unsigned long long)prepared.size());

    Timing floor;
    Timing build;
    uint64_t stored = 0;
    bool built = true;
    for (int run = 0; run < settings.runs; ++run) {
        KeepBest(floor, Measure([&] { stored = CompressChunks(prepared); }), run == 0);
        const char* args[] = {"vellumix-book", "build", source.c_str(), "-o", book.c_str(), "--batch"};
        std::ostringstream messages;
        int status = 0;
        KeepBest(build, Measure([&] { status = RunBookTool(6, args, std::cout, messages); }), run == 0);
        if (status != 0) {
            std::cerr << messages.str() << "error: the build failed\n";
            built = false;
            break;
        }
    }
    if (built) {
        const double ratio = build.wall / floor.wall;
        std::printf("floor            %.3f s wall, %.3f s CPU (zlib, %u-byte chunks, %llu bytes stored)\n", floor.wall,
                    floor.cpu, kChunk, (unsigned long long)stored);
        std::printf("build            %.3f s wall, %.3f s CPU (best of %d; book %llu bytes)\n", build.wall, build.cpu,
                    settings.runs, (unsigned long long)fs::file_size(book));
        std::printf("ratio            %.2f x the floor (target: at most 1.5)%s\n", ratio,
                    ratio <= 1.5 ? "" : "  ** over target **");
        std::printf("CPU ratio        %.2f x the floor's CPU time (both threads of the build counted)\n",
                    build.cpu / floor.cpu);
        PrintSteps(source, floor.cpu);
        const uint64_t peak = ChildPeak(argv[0], source, book, report, {});
        const uint64_t limit = 3 * sourceSize + 32 * 1024 * 1024;
        if (peak == 0) {
            std::printf("peak memory      (the build in the child process failed)\n");
            result = 1;
        } else {
            std::printf("peak memory      %.1f MB (target: below 3 x source + 32 MB = %.1f MB)%s\n", Megabytes(peak),
                        Megabytes(limit), peak < limit ? "" : "  ** over target **");
        }
    } else {
        result = 1;
    }

    if (settings.memoryMegabytes > 0) {
        const std::string large = (folder / "large.lml").string();
        const std::string largeBook = (folder / "large.ldb").string();
        fs::remove(source);
        fs::remove(book);
        if (!WriteLmlSource(large, settings.memoryMegabytes * 1024 * 1024)) {
            std::cerr << "error: cannot write " << large << "\n";
            result = 1;
        } else {
            const uint64_t largeSize = fs::file_size(large);
            const uint64_t peak = ChildPeak(argv[0], large, largeBook, report, {"--exclude-page-tables"});
            if (peak == 0) {
                std::printf("large source     (the build of %.1f MB in the child process failed)\n",
                            Megabytes(largeSize));
                result = 1;
            } else {
                const double ratio = double(peak) / double(largeSize);
                std::printf("large source     %.1f MB, peak memory %.1f MB = %.2f x the source (target: about 3 at "
                            "most)%s\n",
                            Megabytes(largeSize), Megabytes(peak), ratio, ratio <= 3.0 ? "" : "  ** over target **");
            }
        }
    }
    if (settings.keep)
        std::printf("files kept in    %s\n", folder.c_str());
    else
        fs::remove_all(folder);
    return result;
}
