// Build runs of the whole program: files from the command line, dropped on
// the main window or chosen in the open dialog; the progress shown, the
// books written, what the log shows, and when the program ends by itself.
#include <algorithm>

#include "AppTestSupport.h"
#include "framework/core/RkSystemImp.h"

namespace app_test {
namespace {

// What the progress dialog showed after each delivery, and whether the
// Make Book button and the Open menu item could be used.
struct Watch {
    Strings texts;                 // each new text of the progress dialog
    std::vector<int32_t> percents; // each new value of its bar
    uint32_t progressWindows = 0;  // how many different dialogs were seen
    bool makeBookEnabledDuringRun = false;
    bool openEnabledDuringRun = false;
};

class BuildRun : public AppTest {
protected:
    // Runs the loop one delivery at a time and records what a person sees.
    Watch WatchRun()
    {
        Watch watch;
        CRkHeadlessWindowImp* lastProgress = nullptr;
        Step([&] {
            CRkHeadlessWindowImp* progress = ProgressWindow();
            if (progress) {
                if (progress != lastProgress)
                    ++watch.progressWindows;
                lastProgress = progress;
                std::string text = CRkTestDriver::GetText(CRkTestDriver::FindControl(progress, kProgressTextId));
                if (watch.texts.empty() || watch.texts.back() != text)
                    watch.texts.push_back(text);
                int32_t value =
                    CRkTestDriver::GetProperty(CRkTestDriver::FindControl(progress, kProgressBarId), kPropValue);
                if (watch.percents.empty() || watch.percents.back() != value)
                    watch.percents.push_back(value);
                if (CRkHeadlessNode* makeBook = MainControl(kMakeBookButton))
                    watch.makeBookEnabledDuringRun |= CRkTestDriver::IsEnabled(makeBook);
                bool enabled = false, checked = false;
                if (MainWindow() && driver->OpenMenu(MainWindow()) &&
                    driver->GetMenuItemState(MainWindow(), kCmdOpen, enabled, checked))
                    watch.openEnabledDuringRun |= enabled;
            }
        });
        return watch;
    }
};

TEST_F(BuildRun, OneCleanFileOnTheCommandLineIsBuiltAndTheProgramQuitsWithZero)
{
    fs::path source = Write("tale.lml", kCleanSource);
    std::vector<uint8_t> expected = ToolBook(source);
    ASSERT_FALSE(expected.empty());

    Start("tale.lml");
    CRkHeadlessWindowImp* main = MainWindow();
    ASSERT_NE(main, nullptr) << "the main window opens at start-up";
    EXPECT_EQ(CRkTestDriver::GetTitle(main), "Vellumix");
    Watch watch = WatchRun();
    EXPECT_EQ(watch.progressWindows, 1u);
    EXPECT_EQ(watch.texts, (Strings{"Building ...", "Building tale.ldb..."}));
    EXPECT_EQ(watch.percents.back(), 100);
    EXPECT_TRUE(HasQuit());
    EXPECT_TRUE(driver->GetVisibleWindows().empty());
    EXPECT_EQ(ReadBytes(Dir() / "tale.ldb"), expected);
    EXPECT_EQ(Finish(), 0);
}

TEST_F(BuildRun, AWarningKeepsTheProgramOpenWithTheLogShowingIt)
{
    fs::path source = Write("tabbed.lml", kTabbedSource);
    std::vector<uint8_t> expected = ToolBook(source);
    Start("tabbed.lml");
    Run();
    EXPECT_FALSE(HasQuit());
    ASSERT_NE(LogWindow(), nullptr);
    EXPECT_EQ(LogTexts(10004), (Strings{"Tab characters are being mapped to four spaces."}));
    EXPECT_EQ(ReadBytes(Dir() / "tabbed.ldb"), expected);
    ASSERT_NE(MainWindow(), nullptr);
    EXPECT_EQ(ProgressWindow(), nullptr) << "the progress dialog goes at the end of the run";
    // A warning is not a failure: the exit code stays 0.
    ASSERT_TRUE(driver->Click(MainControl(kQuitButton)));
    Run();
    EXPECT_TRUE(HasQuit());
    EXPECT_EQ(Finish(), 0);
}

TEST_F(BuildRun, ThreeDroppedFilesAreBuiltInOrderUnderOneProgressDialog)
{
    for (const char* name : {"a.lml", "b.txt", "c.LML"})
        Write(name, std::string("TITLE=\"Book ") + name + "\"\n\nText of " + name + ".\n");
    Start("");
    Run();
    ASSERT_NE(MainWindow(), nullptr);
    EXPECT_TRUE(CRkTestDriver::IsEnabled(MainControl(kMakeBookButton)));
    ASSERT_TRUE(driver->DropFiles(MainControl(kSplash), Strings{(Dir() / "a.lml").string(), (Dir() / "b.txt").string(),
                                                                (Dir() / "c.LML").string()}));
    Watch watch = WatchRun();
    EXPECT_EQ(watch.progressWindows, 1u);
    EXPECT_EQ(watch.texts, (Strings{"Building ...", "Building a.ldb...", "Building b.ldb...", "Building c.ldb..."}));
    EXPECT_EQ(watch.percents, (std::vector<int32_t>{0, 33, 66, 100}));
    EXPECT_FALSE(watch.makeBookEnabledDuringRun);
    EXPECT_FALSE(watch.openEnabledDuringRun);
    for (const char* book : {"a.ldb", "b.ldb", "c.ldb"})
        EXPECT_TRUE(fs::exists(Dir() / book)) << book;
    // Started without files: the program stays open after a clean run, and
    // the commands are back.
    EXPECT_FALSE(HasQuit());
    EXPECT_EQ(ProgressWindow(), nullptr);
    EXPECT_TRUE(CRkTestDriver::IsEnabled(MainControl(kMakeBookButton)));
    EXPECT_EQ(LogWindow(), nullptr);
    EXPECT_EQ(Finish(), 0);
}

TEST_F(BuildRun, FilesDroppedDuringARunJoinItAndAreEachBuiltOnce)
{
    for (const char* name : {"a.lml", "b.lml", "c.lml", "d.lml"})
        Write(name, std::string("TITLE=\"") + name + "\"\n\nText.\n");
    Start("");
    Run();
    ASSERT_TRUE(
        driver->DropFiles(MainControl(kSplash), Strings{(Dir() / "a.lml").string(), (Dir() / "b.lml").string()}));
    Watch watch;
    bool droppedAgain = false;
    uint32_t progressWindows = 0;
    CRkHeadlessWindowImp* last = nullptr;
    std::vector<int32_t> percents;
    Step([&] {
        CRkHeadlessWindowImp* progress = ProgressWindow();
        if (progress && progress != last)
            ++progressWindows;
        last = progress ? progress : last;
        if (progress) {
            int32_t value =
                CRkTestDriver::GetProperty(CRkTestDriver::FindControl(progress, kProgressBarId), kPropValue);
            if (percents.empty() || percents.back() != value)
                percents.push_back(value);
        }
        if (!droppedAgain && fs::exists(Dir() / "a.ldb")) {
            droppedAgain = true;
            // The splash still takes drops while the run goes on.
            EXPECT_TRUE(driver->DropFiles(MainControl(kSplash),
                                          Strings{(Dir() / "c.lml").string(), (Dir() / "d.lml").string()}));
        }
    });
    EXPECT_TRUE(droppedAgain);
    EXPECT_EQ(progressWindows, 1u);
    EXPECT_TRUE(std::all_of(percents.begin(), percents.end(), [](int32_t p) { return p <= 100; }));
    EXPECT_EQ(percents.back(), 100);
    for (const char* book : {"a.ldb", "b.ldb", "c.ldb", "d.ldb"})
        EXPECT_TRUE(fs::exists(Dir() / book)) << book;
    // Built once each: no numbered second book.
    for (const char* book : {"a.1.ldb", "b.1.ldb", "c.1.ldb", "d.1.ldb"})
        EXPECT_FALSE(fs::exists(Dir() / book)) << book;
}

TEST_F(BuildRun, OutputNamesFollowTheSourceNames)
{
    Write("tale.txt", "TITLE=\"Txt\"\n\nText.\n");
    Write("plain", "TITLE=\"Plain\"\n\nText.\n");
    Write("my.tale.lml", "TITLE=\"Dotted\"\n\nText.\n");
    Write("my.tale.ldb", "kept");
    Start("\"tale.txt\" \"plain\" \"my.tale.lml\"");
    Run();
    EXPECT_TRUE(HasQuit());
    EXPECT_TRUE(fs::exists(Dir() / "tale.ldb"));
    EXPECT_TRUE(fs::exists(Dir() / "plain.ldb"));
    EXPECT_TRUE(fs::exists(Dir() / "my.tale.1.ldb"));
    EXPECT_EQ(Finish(), 0);
}

// The longest source a folder can hold whose book name needs the cut: 252
// letters and ".x" (254 bytes) give the first 251 letters and ".ldb".
TEST_F(BuildRun, ALongSourceNameIsCutTo251BeforeTheEnding)
{
    const std::string base(252, 'n');
    fs::path source = Write(base + ".x", kCleanSource);
    std::vector<uint8_t> expected = ToolBook(source);
    Start("\"" + base + ".x\"");
    Run();
    EXPECT_EQ(LogTexts(10003), Strings{});
    EXPECT_TRUE(HasQuit());
    EXPECT_EQ(ReadBytes(Dir() / (base.substr(0, 251) + ".ldb")), expected);
    EXPECT_EQ(Finish(), 0);
}

TEST_F(BuildRun, WithoutOverwriteTheFirstFreeNumberedNameIsTaken)
{
    fs::path source = Write("tale.lml", kCleanSource);
    Write("tale.ldb", "old book");
    Write("tale.1.ldb", "older book");
    std::vector<uint8_t> expected = ToolBook(source);
    Start("tale.lml");
    Run();
    EXPECT_TRUE(HasQuit());
    EXPECT_EQ(ReadBytes(Dir() / "tale.ldb"), (std::vector<uint8_t>{'o', 'l', 'd', ' ', 'b', 'o', 'o', 'k'}));
    EXPECT_EQ(ReadBytes(Dir() / "tale.2.ldb"), expected);
    EXPECT_TRUE(driver->GetMessageBoxes().empty());
    EXPECT_EQ(Finish(), 0);
}

// The options as the user sets them in the main window before the run.
void TickBoxes(CRkTestDriver& driver, CRkHeadlessWindowImp* main, std::initializer_list<uint32_t> boxes)
{
    for (uint32_t box : boxes)
        ASSERT_TRUE(driver.Toggle(CRkTestDriver::FindControl(main, box))) << box;
}

TEST_F(BuildRun, OverwriteWithPromptCancelledKeepsTheOldBookAndGoesOn)
{
    Write("tale.lml", kCleanSource);
    Write("next.lml", "TITLE=\"Next\"\n\nText.\n");
    const std::string old = "old book bytes";
    Write("tale.ldb", old);
    Start("");
    Run();
    TickBoxes(*driver, MainWindow(), {kOverwriteBox, kPromptBox});
    driver->AnswerNextMessageBox(kMessageBoxAnswerCancel);
    ASSERT_TRUE(
        driver->DropFiles(MainControl(kSplash), Strings{(Dir() / "tale.lml").string(), (Dir() / "next.lml").string()}));
    Run();
    ASSERT_EQ(driver->GetMessageBoxes().size(), 1u);
    const RkMessageBoxRecord& box = driver->GetMessageBoxes()[0];
    EXPECT_EQ(CRkTestDriver::ToUtf8(box.text), "The file \"tale.ldb\" exists. Do you want to overwrite it?");
    EXPECT_EQ(CRkTestDriver::ToUtf8(box.caption), "");
    EXPECT_EQ(box.buttons, kMessageBoxOKCancel);
    EXPECT_EQ(ReadBytes(Dir() / "tale.ldb"), std::vector<uint8_t>(old.begin(), old.end()));
    EXPECT_FALSE(fs::exists(Dir() / "tale.1.ldb"));
    EXPECT_TRUE(fs::exists(Dir() / "next.ldb")) << "the run goes on";
    EXPECT_EQ(LogWindow(), nullptr) << "nothing is logged";
    EXPECT_EQ(Finish(), 0);
}

TEST_F(BuildRun, OverwriteWithPromptAnsweredOKOrWithoutPromptReplacesTheBook)
{
    fs::path source = Write("tale.lml", kCleanSource);
    std::vector<uint8_t> expected = ToolBook(source);
    Write("tale.ldb", "old");
    Start("");
    Run();
    TickBoxes(*driver, MainWindow(), {kOverwriteBox, kPromptBox});
    driver->AnswerNextMessageBox(kMessageBoxAnswerOK);
    ASSERT_TRUE(driver->DropFiles(MainControl(kSplash), Strings{source.string()}));
    Run();
    EXPECT_EQ(driver->GetMessageBoxes().size(), 1u);
    EXPECT_EQ(ReadBytes(Dir() / "tale.ldb"), expected);

    // Prompt off: replaced without a question.
    Write("tale.ldb", "old again");
    TickBoxes(*driver, MainWindow(), {kPromptBox});
    ASSERT_TRUE(driver->DropFiles(MainControl(kSplash), Strings{source.string()}));
    Run();
    EXPECT_EQ(driver->GetMessageBoxes().size(), 1u);
    EXPECT_EQ(ReadBytes(Dir() / "tale.ldb"), expected);
    EXPECT_FALSE(fs::exists(Dir() / "tale.1.ldb"));

    // Prompt on again, but no book there yet: nothing to ask.
    fs::remove(Dir() / "tale.ldb");
    TickBoxes(*driver, MainWindow(), {kPromptBox});
    ASSERT_TRUE(driver->DropFiles(MainControl(kSplash), Strings{source.string()}));
    Run();
    EXPECT_EQ(driver->GetMessageBoxes().size(), 1u);
    EXPECT_EQ(ReadBytes(Dir() / "tale.ldb"), expected);
}

TEST_F(BuildRun, UnticksAndTicksPassTheBuildOptions)
{
    fs::path source = Write("tale.lml", kCleanSource);
    std::vector<uint8_t> noPages = ToolBook(source, {"--exclude-page-tables"});
    std::vector<uint8_t> dictionary = ToolBook(source, {"--dictionary"});
    std::vector<uint8_t> both = ToolBook(source, {"--dictionary", "--exclude-page-tables"});
    Start("");
    Run();
    TickBoxes(*driver, MainWindow(), {kPageTablesBox, kOverwriteBox});
    ASSERT_TRUE(driver->DropFiles(MainControl(kSplash), Strings{source.string()}));
    Run();
    EXPECT_EQ(ReadBytes(Dir() / "tale.ldb"), noPages);

    TickBoxes(*driver, MainWindow(), {kPageTablesBox, kDictionaryBox});
    ASSERT_TRUE(driver->DropFiles(MainControl(kSplash), Strings{source.string()}));
    Run();
    std::vector<uint8_t> built = ReadBytes(Dir() / "tale.ldb");
    EXPECT_EQ(built, dictionary);
    ASSERT_GE(built.size(), 68u);
    EXPECT_EQ(std::string(built.begin() + 60, built.begin() + 64), "VxDc");

    TickBoxes(*driver, MainWindow(), {kPageTablesBox});
    ASSERT_TRUE(driver->DropFiles(MainControl(kSplash), Strings{source.string()}));
    Run();
    EXPECT_EQ(ReadBytes(Dir() / "tale.ldb"), both);
}

TEST_F(BuildRun, BookFilesAndMissingFilesAreReportedAndSkipped)
{
    Write("old.LDB", "a book");
    Write("tale.lml", kCleanSource);
    fs::create_directories(Dir() / "folder.lml");
    Start("\"old.LDB\" \"missing.lml\" \"folder.lml\" \"tale.lml\"");
    Run();
    EXPECT_FALSE(HasQuit()) << "an error keeps the program open";
    EXPECT_TRUE(driver->FindWindow("Book Info") == nullptr) << "no title is asked for what cannot be built";
    EXPECT_EQ(LogTexts(10003), (Strings{"The file \"old.LDB\" is a book file, not a source.",
                                        "The input file \"missing.lml\" could not be opened.",
                                        "The input file \"folder.lml\" could not be opened."}));
    EXPECT_TRUE(fs::exists(Dir() / "tale.ldb"));
    EXPECT_FALSE(fs::exists(Dir() / "old.1.ldb"));
    EXPECT_EQ(ReadBytes(Dir() / "old.LDB"), (std::vector<uint8_t>{'a', ' ', 'b', 'o', 'o', 'k'}));
    EXPECT_EQ(Finish(), 1) << "an error makes the exit code 1";
}

TEST_F(BuildRun, ANewRunStartsWithAnEmptyLog)
{
    Write("tabbed.lml", kTabbedSource);
    Write("tale.lml", kCleanSource);
    Start("tabbed.lml");
    Run();
    ASSERT_FALSE(LogTexts(10004).empty());
    ASSERT_TRUE(driver->DropFiles(MainControl(kSplash), Strings{(Dir() / "tale.lml").string()}));
    Run();
    EXPECT_TRUE(LogTexts(10004).empty());
    EXPECT_TRUE(LogTexts(10003).empty());
}

TEST_F(BuildRun, TheOpenDialogAddsOneFileAndCancelAddsNothing)
{
    fs::path source = Write("tale.lml", kCleanSource);
    Start("");
    Run();
    driver->CancelNextFileDialog();
    ASSERT_TRUE(driver->Click(MainControl(kMakeBookButton)));
    Run();
    ASSERT_EQ(driver->GetFileDialogs().size(), 1u);
    const RkFileDialogRecord& dialog = driver->GetFileDialogs()[0];
    EXPECT_EQ(CRkTestDriver::ToUtf8(dialog.title), "Open");
    Strings filters;
    for (const RkFileFilter& filter : dialog.filters)
        filters.push_back(CRkTestDriver::ToUtf8(filter.text));
    EXPECT_EQ(filters, (Strings{"LML Files (*.lml)", "Text Files (*.txt)", "All Files (*.*)"}));
    EXPECT_EQ(dialog.preselected, 0u);
    EXPECT_FALSE(fs::exists(Dir() / "tale.ldb"));

    // Ctrl+O in the main window opens it too.
    driver->AnswerNextFileDialog(source.string().c_str());
    ASSERT_TRUE(driver->ActivateWindow(MainWindow()));
    ASSERT_TRUE(driver->PressKey(u'O', kKeyModifierCtrl));
    Run();
    EXPECT_EQ(driver->GetFileDialogs().size(), 2u);
    EXPECT_TRUE(fs::exists(Dir() / "tale.ldb"));
    EXPECT_FALSE(HasQuit());
}

TEST_F(BuildRun, QuittingDuringARunSkipsTheRestAndEnds)
{
    for (const char* name : {"a.lml", "b.lml", "c.lml"})
        Write(name, std::string("TITLE=\"") + name + "\"\n\nText.\n");
    Start("\"a.lml\" \"b.lml\" \"c.lml\"");
    bool quitPressed = false;
    Step([&] {
        if (!quitPressed && fs::exists(Dir() / "a.ldb")) {
            quitPressed = true;
            EXPECT_TRUE(driver->Click(MainControl(kQuitButton)));
        }
    });
    EXPECT_TRUE(quitPressed);
    EXPECT_TRUE(HasQuit());
    EXPECT_FALSE(fs::exists(Dir() / "c.ldb"));
    EXPECT_TRUE(driver->GetVisibleWindows().empty());
    EXPECT_EQ(Finish(), 0);
}

TEST_F(BuildRun, QuittingWhileTheBookInfoDialogIsOpenEnds)
{
    Write("untitled.lml", kUntitledSource);
    Start("untitled.lml");
    Run();
    ASSERT_NE(InfoDialog(), nullptr);
    ASSERT_TRUE(driver->ActivateWindow(MainWindow()));
    ASSERT_TRUE(driver->PressKey(u'Q', kKeyModifierCtrl));
    Run();
    EXPECT_TRUE(HasQuit());
    EXPECT_FALSE(fs::exists(Dir() / "untitled.ldb"));
    EXPECT_EQ(Finish(), 0);
}

} // namespace
} // namespace app_test
