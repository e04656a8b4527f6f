// Several sources in one build command: each book built in order with its
// own messages, into --output-dir when given.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/PortableEnv.h"
#include "tests/tools/ToolRun.h"

namespace {

namespace fs = std::filesystem;

class BookMany : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("vx_many_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir / "one");
        fs::create_directories(m_dir / "two");
        fs::create_directories(m_dir / "books");
        m_first = Write("one/first.lml", "TITLE=\"First\"\nThe first book.\n");
        m_second = Write("two/second.txt", "TITLE=\"Second\"\n\tThe second book.\n");
        m_broken = Write("two/broken.lml", "TITLE=\"Broken\"\nSee \\qthere.\n");
        setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    }
    void TearDown() override
    {
        unsetenv("SOURCE_DATE_EPOCH");
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return (m_dir / name).string();
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    // The messages of a build of one source, each line opened by `lead`
    // (the source's name and ": "), except those that a place already
    // opens with the name.
    static std::string Prefixed(const std::string& messages, const std::string& lead)
    {
        const std::string name = lead.substr(0, lead.size() - 2);
        std::string text;
        for (size_t at = 0; at < messages.size();) {
            const size_t end = messages.find('\n', at);
            const std::string line = messages.substr(at, end - at + 1);
            text += (line.compare(0, name.size() + 1, name + ":") == 0 ? "" : lead) + line;
            at = end + 1;
        }
        return text;
    }

    fs::path m_dir;
    std::string m_first;
    std::string m_second;
    std::string m_broken;
};

TEST_F(BookMany, EachBookAsIfBuiltAloneAndAFailureStopsNoOther)
{
    const ToolRun first = RunTool({"build", m_first, "-o", Path("first.ldb")});
    const ToolRun second = RunTool({"build", m_second, "-o", Path("second.ldb")});
    const ToolRun broken = RunTool({"build", m_broken, "-o", Path("broken.ldb")});
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(second.status, 0) << second.err;
    ASSERT_EQ(broken.status, 1);

    const std::string books = Path("books");
    const ToolRun all = RunTool({"build", m_first, m_broken, m_second, "--output-dir", books});
    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(all.err, Prefixed(first.err, m_first + ": ") + Prefixed(broken.err, m_broken + ": ") +
                           Prefixed(second.err, m_second + ": "));
    EXPECT_EQ(ReadBytes(m_dir / "books" / "first.ldb"), ReadBytes(Path("first.ldb")));
    EXPECT_EQ(ReadBytes(m_dir / "books" / "second.ldb"), ReadBytes(Path("second.ldb")));
    EXPECT_EQ(size_t(std::distance(fs::directory_iterator(m_dir / "books"), {})), 2u);

    // Every book written: success. Without --output-dir each book lies
    // beside its source.
    const ToolRun good = RunTool({"build", m_second, m_first});
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.err, Prefixed(second.err, m_second + ": ") + Prefixed(first.err, m_first + ": "));
    EXPECT_EQ(ReadBytes(m_dir / "one" / "first.ldb"), ReadBytes(Path("first.ldb")));
    EXPECT_EQ(ReadBytes(m_dir / "two" / "second.ldb"), ReadBytes(Path("second.ldb")));

    // One source into a folder is the same book.
    const ToolRun alone = RunTool({"build", m_first, "--output-dir=" + Path("two")});
    EXPECT_EQ(alone.status, 0);
    EXPECT_EQ(alone.err, first.err);
    EXPECT_EQ(ReadBytes(m_dir / "two" / "first.ldb"), ReadBytes(Path("first.ldb")));
}

TEST_F(BookMany, JsonNamesTheFileOfEveryMessage)
{
    const ToolRun run =
        RunTool({"build", m_broken, m_first, "--output-dir", Path("books"), "--message-format", "json"});
    EXPECT_EQ(run.status, 1);
    const std::string broken = ", \"file\": \"" + JsonText(m_broken) + "\"}\n";
    const std::string first = ", \"file\": \"" + JsonText(m_first) + "\"}\n";
    EXPECT_EQ(
        run.err,
        "{\"level\": \"status\", \"message\": \"Writing book <Broken> from file <" + JsonText(m_broken) + ">...\"" +
            broken + "{\"level\": \"status\", \"message\": \"Generating page tables for the small font...\"" + broken +
            "{\"level\": \"error\", \"message\": \"Link syntax incorrect.  You have 'en\\\" See \\\\qthere. ' "
            "and it should be \\\\q=\\\"#\", \"file\": \"" +
            JsonText(m_broken) + "\", \"line\": 2, \"column\": 5}\n" +
            "{\"level\": \"status\", \"message\": \"Generating page tables for the large font...\"" + broken +
            "{\"level\": \"error\", \"message\": \"Errors occurred while paginating the book. No output file "
            "generated.\"" +
            broken + "{\"level\": \"status\", \"message\": \"Done.\"" + broken +
            "{\"level\": \"status\", \"message\": \"Writing book <First> from file <" + JsonText(m_first) + ">...\"" +
            first + "{\"level\": \"status\", \"message\": \"Generating page tables for the small font...\"" + first +
            "{\"level\": \"status\", \"message\": \"Generating page tables for the large font...\"" + first +
            "{\"level\": \"status\", \"message\": \"Done.\"" + first);
}

TEST_F(BookMany, OutputsThatWouldCollideAreRefusedBeforeAnyBuild)
{
    const std::string books = Path("books");
    const std::string twin = Write("two/first.lml", "TITLE=\"Twin\"\nAnother.\n");
    struct Case {
        std::vector<std::string> words;
        std::string error;
    };
    const Case cases[] = {
        {{"build", m_first, m_second, "-o", Path("x.ldb")},
         "-o cannot be used with more than one source; use --output-dir DIR"},
        {{"build", m_first, "-o", Path("x.ldb"), "--output-dir", books}, "-o and --output-dir cannot be used together"},
        {{"build", m_first, "-", "--output-dir", books}, "standard input cannot be one of several sources"},
        {{"build", m_first, twin, "--output-dir", books},
         "'" + m_first + "' and '" + twin + "' would both be written to '" + (fs::path(books) / "first.ldb").string() +
             "'"},
        {{"build", m_first, m_first},
         "'" + m_first + "' and '" + m_first + "' would both be written to '" + Path("one/first.ldb") + "'"},
        {{"build", "-", "--output-dir", books},
         "a source read from standard input needs -o FILE (or -o - for "
         "standard output)"},
        {{"check", Path("a.ldb"), Path("b.ldb")}, "unexpected extra operand '" + Path("b.ldb") + "'"},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunTool(c.words);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "vellumix-book: error: " + c.error + "\nTry 'vellumix-book --help' for more information.\n");
    }
    EXPECT_TRUE(fs::is_empty(m_dir / "books"));
    EXPECT_FALSE(fs::exists(m_dir / "one" / "first.ldb"));

    // A folder that is not there is the build's failure, with no book made.
    for (const std::string& folder : {Path("missing"), m_first}) {
        const ToolRun run = RunTool({"build", m_first, m_second, "--output-dir", folder});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "error: the output folder \"" + folder + "\" " +
                               (folder == m_first ? "is not a folder" : "does not exist") + "\n");
    }
    EXPECT_FALSE(fs::exists(m_dir / "one" / "first.ldb"));
    EXPECT_FALSE(fs::exists(m_dir / "two" / "second.ldb"));
}

} // namespace
