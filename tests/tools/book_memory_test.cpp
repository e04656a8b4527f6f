// Running out of memory: the real program, in a child process whose
// address space is limited, reports that memory ran out, exits 1 and
// leaves everything as it was; and check and dump read a book a record at
// a time, so a huge file does not need huge memory.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/tools/SyntheticBook.h"
#include "tests/tools/ToolRun.h"

// Sanitizers reserve address space of their own; a limit on it means
// nothing there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VX_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define VX_SANITIZED 1
#endif
#endif

namespace {

namespace fs = std::filesystem;

constexpr uint64_t kMegabyte = 1024 * 1024;

struct LimitedRun {
    int status = -1; // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs vellumix-book with at most `limit` bytes of address space; standard
// input from `input` when given.
LimitedRun RunLimited(const std::vector<std::string>& words, uint64_t limit, const fs::path& dir,
                      const char* input = nullptr)
{
    const fs::path outPath = dir / "stdout.txt";
    const fs::path errPath = dir / "stderr.txt";
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = ::open(input ? input : "/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0)
            ::_exit(99);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        const rlimit rl{rlim_t(limit), rlim_t(limit)};
        if (::setrlimit(RLIMIT_AS, &rl) != 0)
            ::_exit(97);
        ::unsetenv("SOURCE_DATE_EPOCH");
        std::vector<char*> argv = {const_cast<char*>(VX_BOOK_TOOL)};
        for (const std::string& w : words)
            argv.push_back(const_cast<char*>(w.c_str()));
        argv.push_back(nullptr);
        ::execv(VX_BOOK_TOOL, argv.data());
        ::_exit(98);
    }
    LimitedRun run;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    run.out = ReadText(outPath);
    run.err = ReadText(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    return run;
}

// The names in a folder, sorted.
std::vector<std::string> Listing(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class BookMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifdef VX_SANITIZED
        GTEST_SKIP() << "address-space limits mean nothing under a sanitizer";
#endif
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("vx_memory_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
        // What the program needs to build a small book: the limits below
        // are counted from it, so they hold whatever the libraries take.
        const std::string small = (m_dir / "small.lml").string();
        std::ofstream(small) << "TITLE=\"Small\"\nA small book.\n";
        m_base = 0;
        for (uint64_t limit = 16 * kMegabyte; limit <= 1024 * kMegabyte; limit += 8 * kMegabyte) {
            if (RunLimited({"build", small, "-o", (m_dir / "small.ldb").string()}, limit, m_dir).status == 0) {
                m_base = limit;
                break;
            }
        }
        fs::remove(small);
        fs::remove(m_dir / "small.ldb");
        ASSERT_NE(m_base, 0u) << "the program did not run under any limit";
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    // Writes the old book that a failed build must leave alone.
    std::vector<uint8_t> WriteOldBook(const fs::path& path)
    {
        std::vector<uint8_t> old = synthetic::Compose(synthetic::Book());
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(old.data()), old.size());
        return old;
    }

    fs::path m_dir;
    uint64_t m_base = 0;
};

// A source far larger than the memory left: no book, the old one as it
// was, no temporary file, exit status 1 with the memory error; from a file
// and from standard input alike.
TEST_F(BookMemory, BuildOutOfMemoryKeepsTheOldBook)
{
    const fs::path source = m_dir / "big.lml";
    {
        std::ofstream out(source, std::ios::binary);
        out << "TITLE=\"Big\"\n";
        const std::string line(99, 'w');
        for (int i = 0; i < 320 * 1024; ++i) // 32 MB of text
            out << line << '\n';
    }
    const fs::path book = m_dir / "big.ldb";
    const std::vector<uint8_t> old = WriteOldBook(book);
    const std::vector<std::string> before = Listing(m_dir);

    const std::string sourcePath = source.string();
    for (const char* input : {static_cast<const char*>(nullptr), sourcePath.c_str()}) {
        const std::vector<std::string> words = {"build", input ? std::string("-") : sourcePath, "-o", book.string(),
                                                "--exclude-page-tables"};
        const LimitedRun run = RunLimited(words, m_base + 48 * kMegabyte, m_dir, input);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find("error: Not enough memory to build the book.\n"), std::string::npos) << run.err;
        EXPECT_EQ(ReadBytes(book), old);
        EXPECT_EQ(Listing(m_dir), before);
    }
    // With room enough, the same build is made.
    // (A text this long has more pages than a page table holds.)
    const LimitedRun fits = RunLimited({"build", sourcePath, "-o", book.string(), "--exclude-page-tables"},
                                       m_base + 512 * kMegabyte, m_dir);
    EXPECT_EQ(fits.status, 0) << fits.err;
    EXPECT_NE(ReadBytes(book), old);
}

// An image that needs more memory than is left to decode: the memory
// error, not a read error, and the old book untouched.
TEST_F(BookMemory, ImageDecodeOutOfMemory)
{
    // 8000 x 8000 grayscale pixels, 61 MB decoded, a few kilobytes stored.
    const uint32_t side = 8000;
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    synthetic::PutU32(header, side);
    synthetic::PutU32(header, side);
    header.insert(header.end(), {8, 0, 0, 0, 0});
    synthetic::PutChunk(png, "IHDR", header);
    synthetic::PutChunk(png, "IDAT", synthetic::Compress(std::string(size_t(side) * (side + 1), '\0')));
    synthetic::PutChunk(png, "IEND", {});
    fs::create_directories(m_dir / "pictures_img");
    std::ofstream(m_dir / "pictures_img" / "large.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), png.size());
    const fs::path source = m_dir / "pictures.lml";
    std::ofstream(source) << "TITLE=\"Pictures\"\nA picture: \\m=\"large.png\"\n";
    const fs::path book = m_dir / "pictures.ldb";
    const std::vector<uint8_t> old = WriteOldBook(book);
    const std::vector<std::string> before = Listing(m_dir);

    const LimitedRun run = RunLimited({"build", source.string()}, m_base + 32 * kMegabyte, m_dir);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("error: Not enough memory to build the book.\n"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Could not read"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(book), old);
    EXPECT_EQ(Listing(m_dir), before);
}

// Writes `bytes` at `offset` of the file, which grows to `size` bytes with
// a hole where nothing was written.
void WriteSparse(const fs::path& path, const std::vector<std::pair<uint64_t, std::vector<uint8_t>>>& pieces,
                 uint64_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    for (const auto& [offset, bytes] : pieces)
        ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), off_t(offset)), ssize_t(bytes.size()));
    ASSERT_EQ(::ftruncate(fd, off_t(size)), 0);
    ::close(fd);
}

// A 2 GB file whose header says it has no records is checked and dumped
// in a few megabytes: only what the header names is read.
TEST_F(BookMemory, CheckAndDumpReadOnlyWhatTheyLookAt)
{
    std::vector<uint8_t> header(78, 0);
    std::memcpy(header.data(), "Sparse", 6);
    std::memcpy(header.data() + 60, "VxBkVxCr", 8);
    const fs::path book = m_dir / "sparse.ldb";
    WriteSparse(book, {{0, header}}, 2048 * kMegabyte);

    const uint64_t limit = m_base + 64 * kMegabyte;
    LimitedRun check = RunLimited({"check", book.string()}, limit, m_dir);
    EXPECT_EQ(check.status, 1) << check.err;
    EXPECT_NE(check.out.find("record count: expected at least 1 record, found 0"), std::string::npos) << check.out;
    EXPECT_EQ(check.err, "");

    LimitedRun dump = RunLimited({"dump", book.string()}, limit, m_dir);
    EXPECT_EQ(dump.status, 0) << dump.err;
    EXPECT_NE(dump.out.find("Container header (2147483648 bytes in the file)"), std::string::npos) << dump.out;

    // A whole book with 2 GB of nothing after its end marker: sound but
    // for the end marker's size, which is all the check says.
    const std::vector<uint8_t> sound = synthetic::Compose(synthetic::Book());
    WriteSparse(book, {{0, sound}}, 2048 * kMegabyte);
    check = RunLimited({"check", book.string()}, limit, m_dir);
    EXPECT_EQ(check.status, 1) << check.err;
    EXPECT_NE(check.out.find("(end marker): size: expected 9 bytes"), std::string::npos) << check.out;
    EXPECT_NE(check.out.find("1 problem found"), std::string::npos) << check.out;
    dump = RunLimited({"dump", "--text", book.string()}, limit, m_dir);
    EXPECT_EQ(dump.status, 0) << dump.err;
}

// A record larger than the memory left: check and dump say so and exit 1,
// they do not abort.
TEST_F(BookMemory, CheckAndDumpOutOfMemory)
{
    // The synthetic book with its image record (record 8) grown to 1 GB:
    // every later record moves up by that much.
    synthetic::Book shape;
    shape.imagePng = synthetic::TinyPng(4, 4);
    shape.imageWidth = 4;
    shape.imageHeight = 4;
    std::vector<uint8_t> bytes = synthetic::Compose(shape);
    const uint64_t grow = 1024 * kMegabyte;
    const uint16_t count = uint16_t((bytes[76] << 8) | bytes[77]);
    const uint32_t nineStart = synthetic::GetU32(bytes, synthetic::EntryOffset(9));
    for (uint32_t i = 9; i < count; ++i)
        synthetic::SetU32(bytes, synthetic::EntryOffset(i),
                          uint32_t(synthetic::GetU32(bytes, synthetic::EntryOffset(i)) + grow));
    const std::vector<uint8_t> front(bytes.begin(), bytes.begin() + nineStart);
    const std::vector<uint8_t> back(bytes.begin() + nineStart, bytes.end());
    const fs::path book = m_dir / "huge.ldb";
    WriteSparse(book, {{0, front}, {nineStart + grow, back}}, nineStart + grow + back.size());
    const std::vector<std::string> before = Listing(m_dir);

    const uint64_t limit = m_base + 256 * kMegabyte;
    const LimitedRun check = RunLimited({"check", book.string()}, limit, m_dir);
    EXPECT_EQ(check.status, 1) << check.err;
    EXPECT_EQ(check.err, "error: Not enough memory to check the book.\n");
    const LimitedRun dump = RunLimited({"dump", book.string()}, limit, m_dir);
    EXPECT_EQ(dump.status, 1) << dump.err;
    EXPECT_EQ(dump.err, "error: Not enough memory to dump the book.\n");
    EXPECT_EQ(Listing(m_dir), before);
}

} // namespace
