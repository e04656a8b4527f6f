// A build replaces its output only with a whole book written through a file
// of its own: a failed, interrupted or attacked build leaves the old book as
// it was, no temporary file, and nothing outside the output touched.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "book/BookInfo.h"
#include "driver/BuildBook.h"
#include "framework/core/Report.h"
#include "framework/io/File.h"
#include "tests/markup/ReportCapture.h"

namespace {

namespace fs = std::filesystem;

// Its length from the literal itself: the bytes after the NUL count too.
constexpr char kOldBookBytes[] = "an old book \0\x01\x02 kept byte for byte";
const std::string kOldBook(kOldBookBytes, sizeof kOldBookBytes - 1);

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Words of random letters: a text that zlib shrinks only to about 60%.
std::string RandomProse(size_t bytes, uint32_t seed)
{
    std::mt19937 random(seed);
    std::string text = "TITLE=\"Noise\"\n";
    while (text.size() < bytes) {
        const int length = 2 + int(random() % 9);
        for (int i = 0; i < length; ++i)
            text += char('a' + random() % 26);
        text += (random() % 12) ? ' ' : '\n';
    }
    return text;
}

std::vector<std::string> Names(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class OutputSafety : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("vx_safety_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir / "out");
        m_info.title.Assign(u"Safety");
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    fs::path Source(const std::string& text)
    {
        const fs::path path = m_dir / "book.lml";
        WriteAll(path, text);
        return path;
    }
    fs::path Output() const { return m_dir / "out" / "book.ldb"; }

    bool Build(const fs::path& source, const fs::path& output)
    {
        CFile sourceFile(source.c_str());
        CFile outputFile(output.c_str());
        const uint32_t result = BuildBook(&sourceFile, &outputFile, &m_info, 0);
        EXPECT_NE(result, kBuildNotRun);
        return result == kBookWritten;
    }

    fs::path m_dir;
    CBookInfo m_info;
};

TEST_F(OutputSafety, FailedBuildKeepsTheOldBookAndLeavesNoTemporaryFile)
{
    ReportCapture capture;
    WriteAll(Output(), kOldBook);
    // An unknown control code fails the layout.
    EXPECT_FALSE(Build(Source("text \\Q broken"), Output()));
    EXPECT_FALSE(capture.errors().empty());
    EXPECT_EQ(ReadAll(Output()), kOldBook);
    EXPECT_EQ(Names(m_dir / "out"), std::vector<std::string>{"book.ldb"});

    // A good build then replaces it.
    EXPECT_TRUE(Build(Source("new text"), Output()));
    EXPECT_NE(ReadAll(Output()), kOldBook);
    EXPECT_EQ(Names(m_dir / "out"), std::vector<std::string>{"book.ldb"});
}

// The longest name a folder allows can be written: the temporary file's name
// does not grow with it.
TEST_F(OutputSafety, LongestFileNameCanBeWritten)
{
    ReportCapture capture;
    const fs::path output = m_dir / "out" / (std::string(251, 'n') + ".ldb");
    EXPECT_TRUE(Build(Source("text"), output));
    EXPECT_TRUE(capture.errors().empty());
    EXPECT_EQ(Names(m_dir / "out"), std::vector<std::string>{output.filename().string()});
}

// The temporary file is swapped for a link to a victim file while the book
// is laid out (after its creation, before the rename). The build writes
// only through the file it created: the victim is untouched, the swapped
// name is not moved over the output, and the old book stays.
TEST_F(OutputSafety, TemporaryFileSwappedForALinkTouchesNothing)
{
    const fs::path victim = m_dir / "victim";
    WriteAll(victim, "the victim's own bytes");
    WriteAll(Output(), kOldBook);

    static std::atomic<bool> swapRequested;
    static std::atomic<bool> swapped;
    swapRequested = false;
    swapped = false;
    const fs::path folder = m_dir / "out";
    std::thread attacker([&] {
        while (!swapRequested)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().filename() == "book.ldb")
                continue;
            fs::remove(entry.path());
            fs::create_symlink(victim, entry.path());
        }
        swapped = true;
    });

    ReportCapture capture;
    // The build's first status line comes after the open tests, while the
    // temporary file exists: the swap is made then, by the other thread.
    const ReportHook captureStatus = GetStatusHook();
    static ReportHook s_next;
    s_next = captureStatus;
    SetStatusHook([](const char* format, va_list args) -> int32_t {
        if (!swapRequested.exchange(true))
            while (!swapped)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return s_next(format, args);
    });
    const bool written = Build(Source(RandomProse(20000, 1)), Output());
    SetStatusHook(captureStatus);
    attacker.join();

    EXPECT_TRUE(swapped);
    EXPECT_FALSE(written);
    EXPECT_EQ(capture.CountErrors("An error occurred writing the file"), 1u);
    EXPECT_EQ(ReadAll(victim), "the victim's own bytes");
    EXPECT_EQ(ReadAll(Output()), kOldBook);
    EXPECT_FALSE(fs::is_symlink(Output()));
    EXPECT_EQ(Names(folder), std::vector<std::string>{"book.ldb"});
}

// A disk that fills up during the build: the old book stays whole.
TEST_F(OutputSafety, FullDiskKeepsTheOldBook)
{
    const fs::path disk = m_dir / "disk";
    fs::create_directories(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=200k") != 0)
        GTEST_SKIP() << "cannot mount a 200 KB tmpfs here (needs root): " << std::strerror(errno);
    struct Unmount {
        const fs::path& path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{disk};

    ReportCapture capture;
    const fs::path output = disk / "book.ldb";
    WriteAll(output, kOldBook);
    // About 600 KB of compressed text: more than the disk holds.
    EXPECT_FALSE(Build(Source(RandomProse(1000000, 2)), output));
    EXPECT_EQ(capture.CountErrors("An error occurred writing the file " + output.string()), 1u);
    EXPECT_EQ(ReadAll(output), kOldBook);
    EXPECT_EQ(Names(disk), std::vector<std::string>{"book.ldb"});
}

// A build ended by SIGINT, SIGTERM or SIGHUP in the middle leaves no
// temporary file and the old book as it was.
TEST_F(OutputSafety, InterruptedBuildLeavesNoTemporaryFile)
{
    const fs::path source = Source(RandomProse(12000000, 3));
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        WriteAll(Output(), kOldBook);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ReportCapture quiet;
            Build(source, Output());
            ::_exit(0);
        }
        // Interrupted once its temporary file exists.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (Names(m_dir / "out").size() < 2 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ASSERT_EQ(Names(m_dir / "out").size(), 2u) << "no temporary file appeared";
        // At once: the layout and compression of the long source that follow
        // the creation take far longer than this, even on a fast machine.
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "signal " << signal;
        EXPECT_EQ(ReadAll(Output()), kOldBook) << "signal " << signal;
        EXPECT_EQ(Names(m_dir / "out"), std::vector<std::string>{"book.ldb"}) << "signal " << signal;
    }
}

// Builds to one output from two processes at once all succeed: their
// temporary names never collide.
TEST_F(OutputSafety, ConcurrentBuildsToOneOutputSucceed)
{
    const fs::path source = Source("TITLE=\"x\"\nsome text\n");
    std::vector<pid_t> children;
    for (int i = 0; i < 4; ++i) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ReportCapture quiet;
            bool all = true;
            for (int round = 0; round < 25; ++round)
                all = Build(source, Output()) && all;
            ::_exit(all ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(Names(m_dir / "out"), std::vector<std::string>{"book.ldb"});
}

} // namespace
