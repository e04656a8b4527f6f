// The command line: how a line is split into options and file names, with
// a file system made up for the test and with the real one, and what the
// program does with each kind of line.
#include <map>

#include "AppTestSupport.h"
#include "app/VellumixCommandLine.h"
#include "framework/core/RkSystemImp.h"

namespace app_test {
namespace {

// A made-up file system: a fixed set of files, a current folder "/work" and
// full paths of at most 260 units.
class FakeFiles : public IRkCommandLineFiles {
public:
    explicit FakeFiles(std::vector<std::u16string> files) : m_files(std::move(files)) {}

    bool FindMatching(const CRkString& pattern, std::vector<CRkString>& out) override
    {
        ++lookUps;
        std::u16string full = Full(Units(pattern));
        for (const std::u16string& file : m_files)
            if (Matches(full.c_str(), file.c_str()))
                out.push_back(CRkString(file.c_str()));
        return !out.empty();
    }
    bool GetFullPath(const CRkString& path, CRkString& out) override
    {
        std::u16string full = Full(Units(path));
        if (full.size() > 260)
            return false;
        out.Assign(full.c_str());
        return true;
    }
    bool IsSeparator(char16_t unit) const override { return unit == u'/'; }

    uint32_t lookUps = 0;

private:
    static std::u16string Units(const CRkString& text) { return std::u16string(text.GetChars(), text.GetLength()); }
    static std::u16string Full(const std::u16string& path) { return path[0] == u'/' ? path : u"/work/" + path; }
    // "*" any run, "?" one unit.
    static bool Matches(const char16_t* pattern, const char16_t* name)
    {
        if (*pattern == 0)
            return *name == 0;
        if (*pattern == u'*')
            return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
        return *name && (*pattern == u'?' || *pattern == *name) && Matches(pattern + 1, name + 1);
    }

    std::vector<std::u16string> m_files; // in name order
};

class TestCommandLine : public CRkCommandLine {
public:
    using CRkCommandLine::CRkCommandLine;
    void Process() override {}
};

// Each entry as "option:text", "batch:text" or the file name.
Strings Split(const std::string& line, IRkCommandLineFiles& files)
{
    TestCommandLine commandLine(CRkTestDriver::FromUtf8(line.c_str()), files);
    Strings entries;
    for (const RkCommandLineEntry& entry : commandLine.GetEntries()) {
        std::string text = CRkTestDriver::ToUtf8(entry.text);
        entries.push_back(entry.isBatch ? "batch:" + text : entry.isOption ? "option:" + text : text);
    }
    return entries;
}

TEST(CommandLineSplit, NamesOptionsAndQuotes)
{
    FakeFiles files({u"/work/Tale.lml", u"/work/a.lml", u"/work/b.lml", u"/work/my-book.lml",
                     u"/work/\u0413\u043b\u0430\u0432\u0430.lml"});
    EXPECT_EQ(Split("", files), Strings{});
    EXPECT_EQ(files.lookUps, 0u);
    EXPECT_EQ(Split("Tale.lml", files), Strings{"/work/Tale.lml"});
    EXPECT_EQ(Split("\"a.lml\" \"b.lml\"", files), (Strings{"a.lml", "b.lml"})); // verbatim
    EXPECT_EQ(Split("\"a.lml\" -batch", files), (Strings{"batch:batch", "a.lml"}));
    EXPECT_EQ(Split("-batch \"a.lml\"", files), (Strings{"batch:batch", "a.lml"}));
    EXPECT_EQ(Split("Tale.lml -batch", files), (Strings{"batch:batch", "/work/Tale.lml"}));
    EXPECT_EQ(Split("-BATCH", files), Strings{"batch:BATCH"});
    EXPECT_EQ(Split("-Batch a.lml", files), (Strings{"batch:Batch", "/work/a.lml"}));
    // A hyphen inside a name is part of it.
    EXPECT_EQ(Split("my-book.lml", files), Strings{"/work/my-book.lml"});
    EXPECT_EQ(Split("\u0413\u043b\u0430\u0432\u0430.lml", files), Strings{"/work/\u0413\u043b\u0430\u0432\u0430.lml"});
    // Other options come first, whatever their length.
    const std::string longOption(30, 'v');
    EXPECT_EQ(Split("a.lml -" + longOption + " -x\"y", files),
              (Strings{"option:" + longOption, "option:x\"y", "/work/a.lml"}));
}

TEST(CommandLineSplit, PiecesPatternsAndOddLines)
{
    FakeFiles files({u"/work/Tale.lml", u"/work/a.lml", u"/work/b.lml"});
    // Empty pieces give nothing; quoted and unquoted names keep line order.
    EXPECT_EQ(Split("  a.lml   b.lml ", files), (Strings{"/work/a.lml", "/work/b.lml"}));
    EXPECT_EQ(Split("a.lml \"my book.lml\" b.lml", files), (Strings{"/work/a.lml", "my book.lml", "/work/b.lml"}));
    EXPECT_EQ(Split("\"\" a.lml", files), Strings{"/work/a.lml"});
    // A missing closing quote ends the name at the end of the line.
    EXPECT_EQ(Split("\"my book.lml", files), Strings{"my book.lml"});
    EXPECT_EQ(Split("\"a -batch", files), Strings{"a -batch"});
    // A pattern gives its first match, one that matches nothing its own path.
    EXPECT_EQ(Split("*.lml", files), Strings{"/work/Tale.lml"});
    EXPECT_EQ(Split("?.lml", files), Strings{"/work/a.lml"});
    EXPECT_EQ(Split("none*.lml", files), Strings{"/work/none*.lml"});
    EXPECT_EQ(Split("missing.lml", files), Strings{"/work/missing.lml"});
    // Too long for a full path: as typed.
    const std::string longName(300, 'n');
    EXPECT_EQ(Split(longName + ".lml", files), Strings{longName + ".lml"});
    // A hyphen right after a quote is not an option; a lone one is nothing.
    EXPECT_EQ(Split("\"a.lml\"-batch", files), (Strings{"a.lml", "/work/-batch"}));
    EXPECT_EQ(Split("- a.lml -", files), Strings{"/work/a.lml"});
}

TEST_F(AppTest, SplittingWithTheRealFileSystem)
{
    for (const char* name : {"my-book.lml", "tale.lml", "\xd0\x93\xd0\xbb\xd0\xb0\xd0\xb2\xd0\xb0.lml"})
        Write(name, kCleanSource);
    fs::create_directories(Dir() / "sub");
    CRkSystemCommandLineFiles files;
    const std::string cwd = fs::current_path().string();
    EXPECT_EQ(Split("my-book.lml \xd0\x93\xd0\xbb\xd0\xb0\xd0\xb2\xd0\xb0.lml", files),
              (Strings{cwd + "/my-book.lml", cwd + "/\xd0\x93\xd0\xbb\xd0\xb0\xd0\xb2\xd0\xb0.lml"}));
    EXPECT_EQ(Split("*.lml", files), Strings{cwd + "/my-book.lml"}); // name order
    EXPECT_EQ(Split("t?le.lml", files), Strings{cwd + "/tale.lml"});
    EXPECT_EQ(Split("sub/../tale.lml ./sub//x.lml", files), (Strings{cwd + "/tale.lml", cwd + "/sub/x.lml"}));
    EXPECT_EQ(Split("nothing*.lml", files), Strings{cwd + "/nothing*.lml"});
    EXPECT_EQ(Split((Dir() / "tale.lml").string() + " -batch", files), (Strings{"batch:batch", cwd + "/tale.lml"}));
}

// Whole runs from the command line.
class CommandLineRun : public AppTest {};

TEST_F(CommandLineRun, AHyphenAndACyrillicNameAreBuiltWithoutAnyBox)
{
    const std::string cyrillic = "\xd0\x93\xd0\xbb\xd0\xb0\xd0\xb2\xd0\xb0";
    Write("my-book.lml", kCleanSource);
    Write(cyrillic + ".lml", "TITLE=\"Chapter\"\n\nText.\n");
    Start("my-book.lml " + cyrillic + ".lml");
    Run();
    EXPECT_TRUE(driver->GetMessageBoxes().empty());
    EXPECT_TRUE(fs::exists(Dir() / "my-book.ldb"));
    EXPECT_TRUE(fs::exists(Dir() / fs::u8path(cyrillic + ".ldb")));
    EXPECT_TRUE(HasQuit());
    EXPECT_EQ(Finish(), 0);
}

TEST_F(CommandLineRun, BatchAfterOneNameBuildsThatFileAloneInBatchMode)
{
    Write("tale.lml", kTabbedSource);
    Start("tale.lml -batch");
    Run();
    EXPECT_TRUE(driver->GetMessageBoxes().empty());
    EXPECT_TRUE(CRkGlobalVars::GetBatchMode());
    EXPECT_TRUE(fs::exists(Dir() / "tale.ldb"));
    // The tab warning is silenced, so nothing keeps the program open.
    EXPECT_TRUE(HasQuit());
    EXPECT_EQ(Finish(), 0);
}

TEST_F(CommandLineRun, QuotedNamesWithBatchAreOneRun)
{
    Write("a.lml", kTabbedSource);
    Write("b.lml", kCleanSource);
    Start("\"a.lml\" \"b.lml\" -batch");
    uint32_t progressWindows = 0;
    CRkHeadlessWindowImp* last = nullptr;
    Step([&] {
        CRkHeadlessWindowImp* progress = ProgressWindow();
        if (progress && progress != last)
            ++progressWindows;
        last = progress ? progress : last;
    });
    EXPECT_EQ(progressWindows, 1u);
    EXPECT_TRUE(CRkGlobalVars::GetBatchMode());
    EXPECT_TRUE(fs::exists(Dir() / "a.ldb"));
    EXPECT_TRUE(fs::exists(Dir() / "b.ldb"));
    EXPECT_TRUE(HasQuit());
    EXPECT_EQ(Finish(), 0);
}

TEST_F(CommandLineRun, BatchBeforeAQuotedNameCountsToo)
{
    Write("tale.lml", kTabbedSource);
    Start("-Batch \"tale.lml\"");
    Run();
    EXPECT_TRUE(CRkGlobalVars::GetBatchMode());
    EXPECT_TRUE(fs::exists(Dir() / "tale.ldb"));
    EXPECT_TRUE(HasQuit());
}

TEST_F(CommandLineRun, AnUnknownOptionIsShownAndDeliveredAsAFile)
{
    Write("tale.lml", kCleanSource);
    Start("-verbose tale.lml");
    Run();
    ASSERT_EQ(driver->GetMessageBoxes().size(), 1u);
    EXPECT_EQ(CRkTestDriver::ToUtf8(driver->GetMessageBoxes()[0].text), "verbose");
    EXPECT_EQ(CRkTestDriver::ToUtf8(driver->GetMessageBoxes()[0].caption), "Found an option!");
    EXPECT_EQ(driver->GetMessageBoxes()[0].buttons, kMessageBoxOK);
    EXPECT_FALSE(CRkGlobalVars::GetBatchMode());
    EXPECT_EQ(LogTexts(10003), Strings{"The input file \"verbose\" could not be opened."});
    EXPECT_TRUE(fs::exists(Dir() / "tale.ldb"));
    EXPECT_FALSE(HasQuit());
    EXPECT_EQ(Finish(), 1);
}

TEST_F(CommandLineRun, WithoutFilesTheProgramWaitsAndStaysOpenAfterARun)
{
    Write("tale.lml", kCleanSource);
    for (const char* line : {"", "-batch"}) {
        Start(line);
        Run();
        EXPECT_NE(MainWindow(), nullptr) << line;
        EXPECT_EQ(ProgressWindow(), nullptr) << line;
        ASSERT_TRUE(driver->DropFiles(MainControl(kSplash), Strings{(Dir() / "tale.lml").string()}));
        Run();
        EXPECT_TRUE(fs::exists(Dir() / "tale.ldb")) << line;
        EXPECT_FALSE(HasQuit()) << line;
        EXPECT_EQ(Finish(), 0);
        fs::remove(Dir() / "tale.ldb");
        CRkGlobalVars::SetBatchMode(false);
    }
}

TEST_F(CommandLineRun, AMissingFileIsReportedWithoutAskingForATitle)
{
    Start("missing.lml");
    Run();
    EXPECT_EQ(InfoDialog(), nullptr);
    EXPECT_EQ(LogTexts(10003),
              Strings{"The input file \"" + (Dir() / "missing.lml").string() + "\" could not be opened."});
    EXPECT_FALSE(HasQuit());
    EXPECT_EQ(Finish(), 1);
}

} // namespace
} // namespace app_test
