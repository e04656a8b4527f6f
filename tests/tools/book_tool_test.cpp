#include <gtest/gtest.h>

#include <sstream>

#include "framework/core/Report.h"
#include "tools/book/BookTool.h"
#include "tools/book/ReportToStream.h"
#include "tools/book/ToolOptions.h"

namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun RunTool(std::initializer_list<const char*> words)
{
    std::vector<const char*> argv = {"vellumix-book"};
    argv.insert(argv.end(), words.begin(), words.end());
    std::ostringstream out;
    std::ostringstream err;
    int status = RunBookTool(int(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

TEST(BookToolArguments, UsageErrorsExitWithTwo)
{
    struct Case {
        std::initializer_list<const char*> words;
        const char* message;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"compile", "a.lml"}, "unknown command 'compile'"},
        {{"build"}, "'build' needs a source file"},
        {{"check"}, "'check' needs a book file"},
        {{"pages", "a.lml", "b.lml"}, "unexpected extra operand 'b.lml'"},
        {{"build", "a.lml", "--frobnicate"}, "unknown option '--frobnicate'"},
        {{"build", "a.lml", "-o"}, "option '-o' needs a value"},
        {{"build", "a.lml", "--title"}, "option '--title' needs a value"},
        {{"dump", "a.ldb", "--batch"}, "option '--batch' does not apply to 'dump'"},
        {{"check", "a.ldb", "--text"}, "option '--text' does not apply to 'check'"},
        {{"dump", "a.ldb", "--title=x"}, "option '--title' does not apply to 'dump'"},
        {{"pages"}, "'pages' needs a source file"},
        {{"pages", "a.lml", "--dictionary"}, "option '--dictionary' does not apply to 'pages'"},
        {{"build", "a.lml", "--large"}, "option '--large' does not apply to 'build'"},
    };
    for (const Case& c : cases) {
        ToolRun run = RunTool(c.words);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(std::string("vellumix-book: error: ") + c.message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
}

TEST(BookToolArguments, HelpAndVersion)
{
    ToolRun version = RunTool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "vellumix-book 1.6.0\n");
    for (auto words :
         {std::initializer_list<const char*>{"--help"}, {"-h"}, {"build", "--help"}, {"dump", "x", "-h"}}) {
        ToolRun help = RunTool(words);
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("Usage: vellumix-book build SOURCE", 0), 0u) << help.out;
        EXPECT_NE(help.out.find("--exclude-page-tables"), std::string::npos);
        EXPECT_NE(help.out.find("vellumix-book pages [--large] [--batch] SOURCE"), std::string::npos);
    }
}

TEST(BookToolArguments, OptionForms)
{
    const char* argv[] = {
        "vellumix-book",         "build",         "--batch", "--title=T1", "-oout.ldb", "--author", "A", "--dictionary",
        "--exclude-page-tables", "--publisher=P", "--",      "-src.lml"};
    ToolOptions options;
    std::string error;
    ASSERT_TRUE(ParseToolArguments(12, argv, options, error)) << error;
    EXPECT_EQ(options.command, ToolCommand::Build);
    EXPECT_EQ(options.input, "-src.lml");
    EXPECT_EQ(options.output, "out.ldb");
    EXPECT_TRUE(options.batch && options.dictionary && options.excludePageTables);
    EXPECT_EQ(options.title, "T1");
    EXPECT_EQ(options.author, "A");
    // A value given replaces the field; an absent one is not given.
    EXPECT_EQ(options.publisher, "P");
    EXPECT_FALSE(options.eisbn.has_value());

    const char* later[] = {"vellumix-book", "build",  "a.lml",    "--title", "first",
                           "--title",       "second", "--output", "x.ldb"};
    ASSERT_TRUE(ParseToolArguments(9, later, options, error)) << error;
    EXPECT_EQ(options.title, "second");
    EXPECT_EQ(options.output, "x.ldb");

    const char* dump[] = {"vellumix-book", "dump", "--text", "b.ldb"};
    ASSERT_TRUE(ParseToolArguments(4, dump, options, error)) << error;
    EXPECT_EQ(options.command, ToolCommand::Dump);
    EXPECT_TRUE(options.text);
    EXPECT_EQ(options.input, "b.ldb");
}

TEST(BookToolArguments, DefaultBookPath)
{
    EXPECT_EQ(DefaultBookPath("book.lml"), "book.ldb");
    EXPECT_EQ(DefaultBookPath("dir/Book.TXT"), "dir/Book.ldb");
    EXPECT_EQ(DefaultBookPath("dir.v2/book"), "dir.v2/book.ldb");
    EXPECT_EQ(DefaultBookPath("a.b.lml"), "a.b.ldb");
    EXPECT_EQ(DefaultBookPath("dir/.hidden"), "dir/.hidden.ldb");
}

TEST(BookToolReports, OneLinePerMessageWithLevelPrefix)
{
    std::ostringstream err;
    {
        CReportToStream sink(err);
        ReportStatus("Writing book <%s> from file <%s>...", "T", "t.lml");
        ReportWarning("Link \"%s\" has not been defined", "x");
        ReportError("An error occurred reading the file %s.\n", "t.lml");
        ReportWarning("two\nlines");
        ReportStatus("caf\xe9");
        EXPECT_EQ(sink.ErrorCount(), 1u);
        EXPECT_EQ(sink.WarningCount(), 2u);
    }
    EXPECT_EQ(err.str(), "Writing book <T> from file <t.lml>...\n"
                         "warning: Link \"x\" has not been defined\n"
                         "error: An error occurred reading the file t.lml.\n"
                         "warning: two lines\n"
                         "caf\xc3\xa9\n");
    // The hooks in place before are back.
    std::ostringstream outer;
    CReportToStream first(outer);
    {
        std::ostringstream inner;
        CReportToStream second(inner);
        ReportError("inner");
        EXPECT_EQ(inner.str(), "error: inner\n");
    }
    ReportError("outer");
    EXPECT_EQ(outer.str(), "error: outer\n");
}

TEST(BookToolCommands, MissingFilesFailWithOne)
{
    ToolRun check = RunTool({"check", "/nonexistent/book.ldb"});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.err.find("error: cannot open \"/nonexistent/book.ldb\": no such file"), std::string::npos)
        << check.err;
    ToolRun dump = RunTool({"dump", "/nonexistent/book.ldb"});
    EXPECT_EQ(dump.status, 1);
    EXPECT_EQ(dump.out, "");
    ToolRun pages = RunTool({"pages", "/nonexistent/book.lml"});
    EXPECT_EQ(pages.status, 1);
    EXPECT_NE(pages.err.find("error: the source file \"/nonexistent/book.lml\" does not exist"), std::string::npos)
        << pages.err;
    EXPECT_EQ(pages.out, "");
}

} // namespace
