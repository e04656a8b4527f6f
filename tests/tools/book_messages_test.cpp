// How the build shows its messages: the failure level, JSON lines, colour
// and the device's own characters.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/PortableEnv.h"
#include "tests/tools/ToolRun.h"
#include "tools/book/ToolMessages.h"

namespace {

namespace fs = std::filesystem;

// A tab draws the one warning of this source.
const char kWarningSource[] = "TITLE=\"Warn\"\n\tIndented text.\n";
const char kCleanSource[] = "TITLE=\"Clean\"\nPlain text.\n";

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

ToolRun RunWithColour(const std::vector<std::string>& words, bool terminal)
{
    std::vector<const char*> argv = {"vellumix-book"};
    for (const std::string& w : words)
        argv.push_back(w.c_str());
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunBookTool(int(argv.size()), argv.data(), in, out, err, terminal);
    return {status, out.str(), err.str()};
}

class BookMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("vx_messages_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
        m_warn = Write("warn.lml", kWarningSource);
        m_clean = Write("clean.lml", kCleanSource);
        setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
        unsetenv("NO_COLOR");
    }
    void TearDown() override
    {
        unsetenv("SOURCE_DATE_EPOCH");
        unsetenv("NO_COLOR");
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return (m_dir / name).string();
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    fs::path m_dir;
    std::string m_warn;
    std::string m_clean;
};

std::string WarnBuildLines(const std::string& source, const char* warning = "warning: ")
{
    return Lines({"Writing book <Warn> from file <" + source + ">...",
                  source + ":2:1: " + warning + "Tab characters are being mapped to four spaces.",
                  "Generating page tables for the small font...", "Generating page tables for the large font...",
                  "Done."});
}

TEST_F(BookMessages, WarningFailureLevelLeavesNoBookAndTheOldOneAsItWas)
{
    const std::string book = Path("warn.ldb");
    Write("warn.ldb", "old book");
    const ToolRun held = RunTool({"build", m_warn, "-o", book, "--failure-level", "warning"});
    EXPECT_EQ(held.status, 1);
    EXPECT_EQ(held.err, WarnBuildLines(m_warn) + "error: the build gave 1 warning and the failure level is "
                                                 "'warning'; no book was written\n");
    const std::vector<uint8_t> old = ReadBytes(book);
    EXPECT_EQ(std::string(old.begin(), old.end()), "old book");
    EXPECT_EQ(size_t(std::distance(fs::directory_iterator(m_dir), {})), 3u); // no temporary file left

    // Nothing reaches standard output either.
    const ToolRun stream = RunTool({"build", m_warn, "-o", "-", "--failure-level=warning"});
    EXPECT_EQ(stream.status, 1);
    EXPECT_EQ(stream.out, "");

    // The default level builds the same source, warning and all.
    const ToolRun built = RunTool({"build", m_warn, "-o", book, "--failure-level", "error"});
    EXPECT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.err, WarnBuildLines(m_warn));
    EXPECT_EQ(RunTool({"build", m_warn, "-o", book}).err, built.err);
}

TEST_F(BookMessages, WarningFailureLevelWritesTheSameBookWhenNothingWarns)
{
    ASSERT_EQ(RunTool({"build", m_clean, "-o", Path("plain.ldb")}).status, 0);
    const ToolRun file = RunTool({"build", m_clean, "-o", Path("held.ldb"), "--failure-level", "warning"});
    ASSERT_EQ(file.status, 0) << file.err;
    EXPECT_EQ(ReadBytes(Path("held.ldb")), ReadBytes(Path("plain.ldb")));
    const ToolRun stream = RunTool({"build", m_clean, "-o", "-", "--failure-level", "warning"});
    ASSERT_EQ(stream.status, 0) << stream.err;
    const std::vector<uint8_t> plain = ReadBytes(Path("plain.ldb"));
    EXPECT_EQ(stream.out, std::string(plain.begin(), plain.end()));
    EXPECT_EQ(file.err, RunTool({"build", m_clean, "-o", Path("plain.ldb")}).err);

    // The output's own tests still come first and refuse the same outputs.
    fs::create_directory(m_dir / "folder");
    const ToolRun folder = RunTool({"build", m_clean, "-o", Path("folder"), "--failure-level", "warning"});
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.err, "error: The file \"" + Path("folder") + "\" is not a regular file; it was left as it is.\n");
    const ToolRun same = RunTool({"build", m_clean, "-o", m_clean, "--failure-level", "warning"});
    EXPECT_EQ(same.status, 1);
    EXPECT_EQ(same.err, "error: The input and output files are the same! (" + m_clean + ")\n");
    const std::vector<uint8_t> source = ReadBytes(m_clean);
    EXPECT_EQ(std::string(source.begin(), source.end()), kCleanSource);
}

TEST_F(BookMessages, JsonGivesOneObjectPerMessage)
{
    const ToolRun run = RunTool({"build", m_warn, "-o", Path("warn.ldb"), "--message-format", "json"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, Lines({"{\"level\": \"status\", \"message\": \"Writing book <Warn> from file <" +
                                  JsonText(m_warn) + ">...\"}",
                              "{\"level\": \"warning\", \"message\": \"Tab characters are being mapped to four "
                              "spaces.\", \"file\": \"" +
                                  JsonText(m_warn) + "\", \"line\": 2, \"column\": 1}",
                              "{\"level\": \"status\", \"message\": \"Generating page tables for the small font...\"}",
                              "{\"level\": \"status\", \"message\": \"Generating page tables for the large font...\"}",
                              "{\"level\": \"status\", \"message\": \"Done.\"}"}));

    // Quotes and backslashes are escaped; device characters are UTF-8.
    const std::string bad = Write("bad.lml", "TITLE=\"Bad\"\nSee \\q\x93there\x94.\n");
    const ToolRun error = RunTool({"build", bad, "--batch", "--message-format=json", "--color", "always"});
    EXPECT_EQ(error.status, 1);
    EXPECT_EQ(
        error.err,
        Lines({"{\"level\": \"status\", \"message\": \"Writing book <Bad> from file <" + JsonText(bad) + ">...\"}",
               "{\"level\": \"status\", \"message\": \"Generating page tables for the small font...\"}",
               "{\"level\": \"error\", \"message\": \"Link syntax incorrect.  You have 'ad\\\" See "
               "\\\\q\xE2\x80\x9Cthere\xE2\x80\x9D. ' and it should be \\\\q=\\\"#\", \"file\": \"" +
                   JsonText(bad) + "\", \"line\": 2, \"column\": 5}",
               "{\"level\": \"status\", \"message\": \"Generating page tables for the large font...\"}",
               "{\"level\": \"error\", \"message\": \"Errors occurred while paginating the book. No output "
               "file generated.\", \"file\": \"" +
                   JsonText(bad) + "\"}",
               "{\"level\": \"status\", \"message\": \"Done.\"}"}));

    // The tool's own errors and the failure level's are objects too.
    const ToolRun missing = RunTool({"build", Path("none.lml"), "--message-format", "json"});
    EXPECT_EQ(missing.err, "{\"level\": \"error\", \"message\": \"the source file \\\"" + JsonText(Path("none.lml")) +
                               "\\\" does not exist\"}\n");
    const ToolRun held = RunTool({"build", m_warn, "--message-format", "json", "--failure-level", "warning"});
    EXPECT_EQ(held.status, 1);
    EXPECT_EQ(held.err.substr(held.err.rfind('{')),
              "{\"level\": \"error\", \"message\": \"the build gave 1 warning and the failure level is 'warning'; "
              "no book was written\"}\n");
    const ToolRun pages = RunTool({"pages", m_warn, "--message-format", "json"});
    EXPECT_EQ(pages.status, 0);
    EXPECT_EQ(pages.err,
              Lines({"{\"level\": \"warning\", \"message\": \"Tab characters are being mapped to four spaces.\", "
                     "\"file\": \"" +
                         JsonText(m_warn) + "\", \"line\": 2, \"column\": 1}",
                     "{\"level\": \"status\", \"message\": \"Generating page tables for the small font...\"}",
                     "{\"level\": \"status\", \"message\": \"Generating page tables for the large font...\"}"}));
}

TEST_F(BookMessages, DeviceCharactersAreShownAsThemselves)
{
    const std::string marks = Write("marks.lml", "TITLE=\"Bad\"\nSee \\q\x80\x85\x96\x97\x9F.\n");
    const ToolRun run = RunTool({"build", marks, "--batch"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        run.err,
        Lines({"Writing book <Bad> from file <" + marks + ">...", "Generating page tables for the small font...",
               marks + ":2:5: error: Link syntax incorrect.  You have 'ad\" See \\q\xE2\x82\xAC\xE2\x80\xA6\xE2\x80\x93"
                       "\xE2\x80\x94\xC5\xB8. ' and it should be \\q=\"#",
               "Generating page tables for the large font...",
               marks + ": error: Errors occurred while paginating the book. No output file generated.", "Done."}));
    const std::string suits = Write("suits.lml", "TITLE=\"Bad\"\nSee \x8D\x8E\x8F\x90.\n");
    const ToolRun warned = RunTool({"build", suits, "-o", Path("suits.ldb"), "--message-format", "json"});
    EXPECT_NE(warned.err.find("{\"level\": \"warning\", \"message\": \"Unmappable character in string \\\"TITLE=\\\""
                              "Bad\\\" See \xE2\x99\xA2\xE2\x99\xA3\xE2\x99\xA1\xE2\x99\xA0. \\\"\", \"file\": \"" +
                              JsonText(suits) + "\", \"line\": 2, \"column\": 5}\n"),
              std::string::npos)
        << warned.err;
    // The bytes that are no character stay escaped, as do control bytes.
    const uint8_t unused[] = {'a', 0x81, 0x9D, 0x9E, 0x01, 0x7F, 0xE9, '\t', 'z'};
    EXPECT_EQ(MessageText(unused, sizeof unused), "a\\x81\\x9D\\x9E\\x01\\x7F\xC3\xA9\tz");
}

TEST_F(BookMessages, ColourOnATerminalOnlyUnlessAskedFor)
{
    const std::string book = Path("warn.ldb");
    const std::string plain = WarnBuildLines(m_warn);
    const std::string coloured = WarnBuildLines(m_warn, "\033[1;35mwarning:\033[0m ");
    EXPECT_EQ(RunWithColour({"build", m_warn, "-o", book}, false).err, plain);
    EXPECT_EQ(RunWithColour({"build", m_warn, "-o", book}, true).err, coloured);
    EXPECT_EQ(RunWithColour({"build", m_warn, "-o", book, "--color=auto"}, true).err, coloured);
    EXPECT_EQ(RunWithColour({"build", m_warn, "-o", book, "--color", "never"}, true).err, plain);
    EXPECT_EQ(RunWithColour({"build", m_warn, "-o", book, "--color", "always"}, false).err, coloured);
    const ToolRun error = RunWithColour({"build", Path("none.lml"), "--color", "always"}, false);
    EXPECT_EQ(error.err, "\033[1;31merror:\033[0m the source file \"" + Path("none.lml") + "\" does not exist\n");

    // NO_COLOR turns the automatic choice off; an explicit one stands.
    setenv("NO_COLOR", "1", 1);
    EXPECT_EQ(RunWithColour({"build", m_warn, "-o", book}, true).err, plain);
    EXPECT_EQ(RunWithColour({"build", m_warn, "-o", book, "--color", "always"}, true).err, coloured);
    setenv("NO_COLOR", "", 1);
    EXPECT_EQ(RunWithColour({"build", m_warn, "-o", book}, true).err, coloured);

    EXPECT_EQ(RunWithColour({"pages", m_warn, "--color", "always"}, false).err,
              Lines({m_warn + ":2:1: \033[1;35mwarning:\033[0m Tab characters are being mapped to four spaces.",
                     "Generating page tables for the small font...", "Generating page tables for the large font..."}));
}

TEST_F(BookMessages, MessageOptionsTakeTheirWordsOnly)
{
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"build", m_warn, "--failure-level", "warnings"},
          {"build", m_warn, "--failure-level="},
          {"build", m_warn, "--message-format", "xml"},
          {"build", m_warn, "--color", "yes"},
          {"build", m_warn, "--color"},
          {"pages", m_warn, "--failure-level", "warning"},
          {"dump", m_warn, "--message-format", "json"},
          {"check", m_warn, "--color", "never"}}) {
        const ToolRun run = RunTool(words);
        EXPECT_EQ(run.status, 2) << words[2];
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists(Path("warn.ldb")));
    }
    EXPECT_EQ(RunTool({"build", m_warn, "--color", "yes"}).err,
              "vellumix-book: error: option '--color' takes 'auto', 'always', 'never', not 'yes'\n"
              "Try 'vellumix-book --help' for more information.\n");
    EXPECT_EQ(RunTool({"pages", m_warn, "--failure-level", "warning"}).err,
              "vellumix-book: error: option '--failure-level' does not apply to 'pages'\n"
              "Try 'vellumix-book --help' for more information.\n");
}

} // namespace
