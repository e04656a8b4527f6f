// build -j N: books built at once in child processes give exactly the
// messages, exit status and books of the build one after the other.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/io/ChildProcess.h"
#include "tests/tools/ToolFolderTest.h"
#include "tests/tools/ToolRun.h"

namespace {

namespace fs = std::filesystem;

class BookJobs : public ToolFolderTest {
protected:
    void SetUp() override
    {
        ToolFolderTest::SetUp();
        // Two that fail (a broken link, no title), one in UTF-8, and one
        // whose hundreds of warnings fill more than a pipe holds.
        std::string euros = "TITLE=\"Euros\"\n";
        for (int k = 0; k < 1500; ++k)
            euros += "\x80 ";
        m_sources = {
            Write("first.lml", "TITLE=\"First\"\n\tThe first book.\n"),
            Write("broken.lml", "TITLE=\"Broken\"\nSee \\qthere.\n"),
            Write("utf8.lml", "TITLE=\"Caf\u00E9\"\n\u201CQuoted\u201D.\n"),
            Write("untitled.lml", "No title here.\n"),
            Write("euros.lml", euros + "\n"),
        };
    }
    // The program itself on the sources, into `folder`, with `extra`.
    ChildProcessResult Build(const std::string& folder, const std::vector<std::string>& extra) const
    {
        std::vector<std::string> words = {"build"};
        words.insert(words.end(), m_sources.begin(), m_sources.end());
        words.push_back("--output-dir");
        words.push_back((m_dir / folder).string());
        words.insert(words.end(), extra.begin(), extra.end());
        return RunChildProcess(VX_BOOK_TOOL, words);
    }

    std::vector<std::string> m_sources;
};

TEST_F(BookJobs, BooksBuiltAtOnceMatchTheBuildOneAfterTheOther)
{
    const std::vector<std::vector<std::string>> styles = {
        {}, {"--message-format", "json"}, {"--color", "always"}, {"--failure-level=warning"}, {"--batch"}};
    for (const std::vector<std::string>& style : styles) {
        const std::string shown = style.empty() ? "plain" : style[0];
        fs::remove_all(m_dir / "one");
        fs::remove_all(m_dir / "many");
        fs::create_directories(m_dir / "one");
        fs::create_directories(m_dir / "many");
        const ChildProcessResult one = Build("one", style);
        std::vector<std::string> jobs = style;
        jobs.insert(jobs.end(), {"-j", "3"});
        const ChildProcessResult many = Build("many", jobs);
        ASSERT_TRUE(one.started && one.exited) << one.failure;
        ASSERT_TRUE(many.started && many.exited) << many.failure;
        EXPECT_EQ(one.exitStatus, 1) << shown;
        EXPECT_EQ(many.exitStatus, 1) << shown;
        EXPECT_EQ(many.errorOutput, one.errorOutput) << shown;
        // Batch mode leaves the warnings out.
        const size_t least = shown == "--batch" ? 0 : 100001;
        EXPECT_GE(one.errorOutput.size(), least) << shown;

        std::vector<std::string> books;
        for (const auto& entry : fs::directory_iterator(m_dir / "one"))
            books.push_back(entry.path().filename().string());
        // Every book that is written warns but in batch mode.
        EXPECT_EQ(books.size(), shown == "--failure-level=warning" ? 0u : 3u) << shown;
        EXPECT_EQ(size_t(std::distance(fs::directory_iterator(m_dir / "many"), {})), books.size()) << shown;
        for (const std::string& book : books)
            EXPECT_EQ(ReadBytes(m_dir / "many" / book), ReadBytes(m_dir / "one" / book)) << book;
    }

    // In the tool's own process (no program to run again) -j builds one
    // book after the other, with the same messages.
    std::vector<std::string> words = {"build"};
    words.insert(words.end(), m_sources.begin(), m_sources.end());
    words.insert(words.end(), {"--output-dir", (m_dir / "many").string(), "-j", "2"});
    const ToolRun inProcess = RunTool(words);
    EXPECT_EQ(inProcess.status, 1);
    EXPECT_EQ(inProcess.err, Build("one", {}).errorOutput);
}

TEST_F(BookJobs, AllWrittenIsSuccess)
{
    fs::create_directories(m_dir / "many");
    const ChildProcessResult run = RunChildProcess(
        VX_BOOK_TOOL, {"build", m_sources[0], m_sources[2], "--output-dir", (m_dir / "many").string(), "--jobs=8"});
    ASSERT_TRUE(run.exited) << run.failure;
    EXPECT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_TRUE(fs::exists(m_dir / "many" / "first.ldb"));
    EXPECT_TRUE(fs::exists(m_dir / "many" / "utf8.ldb"));
}

TEST_F(BookJobs, BadJobCountsAreUsageErrors)
{
    const struct {
        std::vector<std::string> words;
        std::string error;
    } cases[] = {
        {{"-j", "0"}, "option '-j' takes a whole number from 1 to 1024, not '0'"},
        {{"-j", "two"}, "option '-j' takes a whole number from 1 to 1024, not 'two'"},
        {{"-j", ""}, "option '-j' takes a whole number from 1 to 1024, not ''"},
        {{"--jobs="}, "option '-j' takes a whole number from 1 to 1024, not ''"},
        {{"-j-1"}, "option '-j' takes a whole number from 1 to 1024, not '-1'"},
        {{"-j", "99999999999"}, "option '-j' takes a whole number from 1 to 1024, not '99999999999'"},
        {{"-j"}, "option '-j' needs a value"},
        {{"--jobsy"}, "unknown option '--jobsy'"},
    };
    for (const auto& t : cases) {
        std::vector<std::string> words = {"build", m_sources[0], m_sources[2]};
        words.insert(words.end(), t.words.begin(), t.words.end());
        const ToolRun run = RunTool(words);
        EXPECT_EQ(run.status, 2) << t.error;
        EXPECT_EQ(run.err, "vellumix-book: error: " + t.error + "\nTry 'vellumix-book --help' for more information.\n");
    }
    const ToolRun pages = RunTool({"pages", m_sources[0], "-j", "2"});
    EXPECT_EQ(pages.status, 2);
    EXPECT_EQ(pages.err.substr(0, pages.err.find('\n')), "vellumix-book: error: option '-j' does not apply to 'pages'");
    EXPECT_EQ(RunTool({"build", m_sources[0], "-j4", "-o", (m_dir / "a.ldb").string()}).status, 0);
}

} // namespace
