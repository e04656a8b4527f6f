// The tool's exit status: 0 exactly when its work was done and delivered,
// 1 otherwise, 2 for a usage error. The real program is run in a child
// process on real files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/tools/ToolRun.h"

namespace {

namespace fs = std::filesystem;

// Runs vellumix-book with standard output on `outPath`; its exit status,
// or -1 when it did not exit normally.
int RunProgram(const std::vector<std::string>& words, const char* outPath, const char* epoch = nullptr)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath, O_WRONLY);
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (out < 0 || quiet < 0)
            ::_exit(99);
        ::dup2(out, 1);
        ::dup2(quiet, 2);
        if (epoch)
            ::setenv("SOURCE_DATE_EPOCH", epoch, 1);
        else
            ::unsetenv("SOURCE_DATE_EPOCH");
        std::vector<char*> argv = {const_cast<char*>(VX_BOOK_TOOL)};
        for (const std::string& w : words)
            argv.push_back(const_cast<char*>(w.c_str()));
        argv.push_back(nullptr);
        ::execv(VX_BOOK_TOOL, argv.data());
        ::_exit(98);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

class BookExit : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("vx_exit_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
        m_source = (m_dir / "book.lml").string();
        std::ofstream(m_source, std::ios::binary) << "TITLE=\"Exit\"\nSome text.\n";
        m_book = (m_dir / "book.ldb").string();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    fs::path m_dir;
    std::string m_source;
    std::string m_book;
};

// Output that cannot be written (a full device) is a failure for every
// command that writes to standard output.
TEST_F(BookExit, UnwritableOutputIsAFailure)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    ASSERT_EQ(RunProgram({"build", m_source, "-o", m_book}, "/dev/null"), 0);
    EXPECT_EQ(RunProgram({"check", m_book}, "/dev/null"), 0);
    EXPECT_EQ(RunProgram({"check", m_book}, "/dev/full"), 1);
    EXPECT_EQ(RunProgram({"dump", "--text", m_book}, "/dev/full"), 1);
    EXPECT_EQ(RunProgram({"pages", m_source}, "/dev/full"), 1);
    EXPECT_EQ(RunProgram({"--help"}, "/dev/full"), 1);
    EXPECT_EQ(RunProgram({"--version"}, "/dev/full"), 1);
    EXPECT_EQ(RunProgram({"build", m_source, "-o", "-"}, "/dev/full"), 1);
    // A failed build with -o FILE never touches standard output's state.
    EXPECT_EQ(RunProgram({"--version"}, "/dev/null"), 0);
}

// SOURCE_DATE_EPOCH, when set, must be a decimal number the book can hold;
// anything else stops the build as a usage error and writes nothing.
TEST_F(BookExit, MalformedSourceDateEpochIsAUsageError)
{
    for (const char* bad : {"", "abc", "-1", "+5", " 17", "17 ", "1e9", "4294967295", "99999999999999999999"}) {
        EXPECT_EQ(RunProgram({"build", m_source, "-o", m_book}, "/dev/null", bad), 2) << '"' << bad << '"';
        EXPECT_FALSE(fs::exists(m_book)) << '"' << bad << '"';
    }
    EXPECT_EQ(RunProgram({"build", m_source, "-o", m_book}, "/dev/null", "4294967294"), 0);
    EXPECT_EQ(RunProgram({"build", m_source, "-o", m_book}, "/dev/null", "0"), 0);
    // Commands that write no book do not look at it.
    EXPECT_EQ(RunProgram({"check", m_book}, "/dev/null", "abc"), 0);
}

// An empty option value is a usage error: an empty output path is not the
// default path, an empty book-information value does not empty its field.
TEST_F(BookExit, EmptyOptionValueIsAUsageError)
{
    for (const std::vector<std::string>& words : {std::vector<std::string>{"build", m_source, "-o", ""},
                                                  {"build", m_source, "--output="},
                                                  {"build", m_source, "--output", ""},
                                                  {"build", m_source, "--title="},
                                                  {"build", m_source, "--author", ""},
                                                  {"build", m_source, "--publisher="},
                                                  {"build", m_source, "--eisbn", ""},
                                                  {"build", m_source, "--copyright="}}) {
        const ToolRun run = RunTool(words);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find("needs a value that is not empty"), std::string::npos) << run.err;
    }
    // Nothing was built to the default path either.
    EXPECT_FALSE(fs::exists(m_book));
}

} // namespace

namespace {

// Runs vellumix-book with standard error on a new pseudo-terminal, or on
// a pipe when `terminal` is false; what it wrote there.
std::string ErrorOutputOn(bool terminal, const std::vector<std::string>& words)
{
    int reader = -1;
    int writer = -1;
    if (terminal) {
        reader = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (reader < 0 || ::grantpt(reader) != 0 || ::unlockpt(reader) != 0)
            return "(no terminal)";
        writer = ::open(::ptsname(reader), O_RDWR | O_NOCTTY);
    } else {
        int ends[2];
        if (::pipe(ends) != 0)
            return "(no pipe)";
        reader = ends[0];
        writer = ends[1];
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, 1);
        ::dup2(writer, 2);
        ::unsetenv("NO_COLOR");
        std::vector<char*> argv = {const_cast<char*>(VX_BOOK_TOOL)};
        for (const std::string& w : words)
            argv.push_back(const_cast<char*>(w.c_str()));
        argv.push_back(nullptr);
        ::execv(VX_BOOK_TOOL, argv.data());
        ::_exit(98);
    }
    ::close(writer);
    int status = 0;
    ::waitpid(child, &status, 0);
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    // A terminal reports the end of its last writer as an error (EIO).
    while ((got = ::read(reader, buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(got));
    ::close(reader);
    // The terminal turns each line end into CR LF.
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
    return text;
}

} // namespace

TEST_F(BookExit, ColourOnlyOnARealTerminal)
{
    const std::vector<std::string> words = {"build", (m_dir / "none.lml").string()};
    const std::string tail = " the source file \"" + (m_dir / "none.lml").string() + "\" does not exist\n";
    EXPECT_EQ(ErrorOutputOn(true, words), "\033[1;31merror:\033[0m" + tail);
    EXPECT_EQ(ErrorOutputOn(false, words), "error:" + tail);
    std::vector<std::string> never = words;
    never.push_back("--color=never");
    EXPECT_EQ(ErrorOutputOn(true, never), "error:" + tail);
}
