// The main window: its controls and layout, where it opens, the option
// boxes and the preferences they write, the splash as a drop target and
// what it paints, and the menu bar every window of the program shows.
#include "AppTestSupport.h"
#include "framework/core/Prefs.h"
#include "framework/ui/RkMenuBar.h"

namespace app_test {
namespace {

class MainWindowTest : public AppTest {
protected:
    void StartIdle()
    {
        Start("");
        Run();
        ASSERT_NE(Main(), nullptr);
    }
    CRkHeadlessWindowImp* Main() const { return AppTest::MainWindow(); }
    CRkHeadlessNode* Box(uint32_t id) const { return MainControl(id); }
    // The options as the boxes show them: overwrite, prompt (with its
    // enabled state), dictionary, page tables.
    std::string Boxes() const
    {
        std::string shown;
        for (uint32_t id : {kOverwriteBox, kPromptBox, kDictionaryBox, kPageTablesBox}) {
            shown += CRkTestDriver::IsChecked(Box(id)) ? "x" : "-";
            if (id == kPromptBox && !CRkTestDriver::IsEnabled(Box(id)))
                shown += "(off)";
        }
        return shown;
    }
    // The four preferences as stored now: "1" true, "0" false, "?" missing.
    std::string Stored() const
    {
        std::string stored;
        for (const char* key : {"Overwrite", "Prompt", "Dictionary", "ExcludePageTables"}) {
            bool value = false;
            stored += !PrefExists(key) ? "?" : (GetBool(key, value) && value ? "1" : "0");
        }
        return stored;
    }
};

TEST_F(MainWindowTest, ControlsInCreationOrderAndTheirLayout)
{
    StartIdle();
    EXPECT_EQ(CRkTestDriver::GetTitle(Main()), "Vellumix");
    Strings shown;
    for (CRkHeadlessNode* node : CRkTestDriver::GetControls(Main())) {
        RkRect r = CRkTestDriver::GetBounds(node);
        shown.push_back(std::to_string(node->GetId()) + " " + CRkTestDriver::GetText(node) + " @" +
                        std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
                        std::to_string(r.height));
    }
    EXPECT_EQ(shown,
              (Strings{"30 Quit @155,395 92x23", "12 Make Book... @48,395 92x23", "325  @15,15 266x246",
                       "326 Overwrite existing file @15,276 158x17", "327 Prompt before overwriting @39,299 170x17",
                       "328 Build dictionary @15,363 116x17", "334 Include page tables @15,331 134x17"}));
    EXPECT_EQ(Main()->GetClientSize(), (RkSize{296, 433}));
    EXPECT_FALSE(driver->ResizeWindow(Main(), 400, 500)) << "the main window is not resizable";
}

TEST_F(MainWindowTest, FirstStartCentresItAThirdDownAndTheNextStartOpensWhereItWasClosed)
{
    StartIdle();
    EXPECT_EQ(Main()->GetOuterBounds(), (RkRect{364, 111, 296, 433}));
    ASSERT_TRUE(driver->MoveWindow(Main(), 100, 80));
    ASSERT_TRUE(driver->PressCloseBox(Main()));
    Run();
    EXPECT_TRUE(HasQuit()) << "closing the only window ends the program";
    EXPECT_EQ(Finish(), 0);

    StartIdle();
    EXPECT_EQ(Main()->GetOuterBounds(), (RkRect{100, 80, 296, 433}));
    // A stored point off the screen is not used.
    ASSERT_TRUE(driver->MoveWindow(Main(), 5000, 4000));
    ASSERT_TRUE(driver->ActivateWindow(Main()));
    ASSERT_TRUE(driver->PressKey(u'W', kKeyModifierCtrl));
    Run();
    EXPECT_EQ(Finish(), 0);
    StartIdle();
    EXPECT_EQ(Main()->GetOuterBounds(), (RkRect{364, 111, 296, 433}));
}

TEST_F(MainWindowTest, EachToggleWritesTheFourOptionsAtOnce)
{
    StartIdle();
    EXPECT_EQ(Boxes(), "--(off)-x");
    EXPECT_EQ(Stored(), "????");

    // Prompt cannot be clicked while Overwrite is off.
    EXPECT_FALSE(driver->Toggle(Box(kPromptBox)));
    EXPECT_EQ(Stored(), "????");

    ASSERT_TRUE(driver->Toggle(Box(kOverwriteBox)));
    EXPECT_EQ(Boxes(), "x--x");
    EXPECT_EQ(Stored(), "1000");
    ASSERT_TRUE(driver->Toggle(Box(kPromptBox)));
    EXPECT_EQ(Boxes(), "xx-x");
    EXPECT_EQ(Stored(), "1100");
    ASSERT_TRUE(driver->Toggle(Box(kPageTablesBox)));
    EXPECT_EQ(Boxes(), "xx--");
    EXPECT_EQ(Stored(), "1101");
    ASSERT_TRUE(driver->Toggle(Box(kDictionaryBox)));
    EXPECT_EQ(Stored(), "1111");
    ASSERT_TRUE(driver->Toggle(Box(kOverwriteBox)));
    EXPECT_EQ(Boxes(), "-x(off)x-");
    EXPECT_EQ(Stored(), "0111");
    EXPECT_EQ(Finish(), 0);

    // The next start shows what was stored.
    StartIdle();
    EXPECT_EQ(Boxes(), "-x(off)x-");
}

TEST_F(MainWindowTest, ARunStoresTheDefaultsOfOptionsNeverSet)
{
    Write("tale.lml", kCleanSource);
    StartIdle();
    EXPECT_EQ(Stored(), "????");
    ASSERT_TRUE(driver->DropFiles(Box(kSplash), Strings{(Dir() / "tale.lml").string()}));
    Run();
    EXPECT_EQ(Stored(), "0000");
}

TEST_F(MainWindowTest, TheSplashPaintsThePictureVersionAndDate)
{
    StartIdle();
    CRkHeadlessNode* splash = Box(kSplash);
    EXPECT_EQ(DescribeDisplayList(driver->Paint(splash)),
              (Strings{"Erase 0,0 266x246 rgb(255,255,255)", "Image 0,0 266x246 #1 (266x246)",
                       "Text 8,212 78x13 rgb(7,51,104) \"Version 1.6.0\"",
                       "Text 8,225 66x13 rgb(7,51,104) \"Jul  3 2008\""}));
}

TEST_F(MainWindowTest, DraggingSourcesLightsTheSplashUpAndOtherFilesDoNot)
{
    Write("b.lml", kCleanSource);
    StartIdle();
    CRkHeadlessNode* splash = Box(kSplash);
    auto picture = [&] {
        for (const RkDrawOp& op : driver->Paint(splash))
            if (op.op == RkDrawOpKind::Image)
                return op.imageId;
        return 0u;
    };
    EXPECT_TRUE(driver->DragFilesOver(splash, Strings{(Dir() / "TALE.LML").string()}));
    EXPECT_EQ(picture(), 2u);
    EXPECT_TRUE(driver->DragFilesOff(splash));
    EXPECT_EQ(picture(), 1u);

    EXPECT_FALSE(driver->DragFilesOver(splash, Strings{(Dir() / "a.doc").string()}));
    EXPECT_EQ(picture(), 1u);
    driver->DragFilesOff(splash);
    EXPECT_FALSE(driver->DropFiles(splash, Strings{(Dir() / "a.doc").string()}));
    Run();
    EXPECT_EQ(LogWindow(), nullptr);
    EXPECT_FALSE(fs::exists(Dir() / "a.ldb"));

    // With a source among them only the source is queued, as a batch of one.
    std::vector<int32_t> percents;
    ASSERT_TRUE(driver->DropFiles(splash, Strings{(Dir() / "a.doc").string(), (Dir() / "b.lml").string()}));
    Step([&] {
        if (CRkHeadlessWindowImp* progress = ProgressWindow()) {
            int32_t value =
                CRkTestDriver::GetProperty(CRkTestDriver::FindControl(progress, kProgressBarId), kPropValue);
            if (percents.empty() || percents.back() != value)
                percents.push_back(value);
        }
    });
    EXPECT_EQ(percents, (std::vector<int32_t>{0, 100}));
    EXPECT_TRUE(fs::exists(Dir() / "b.ldb"));
    EXPECT_EQ(picture(), 1u);
}

TEST_F(MainWindowTest, TheMenuBarItsStatesAndShortcuts)
{
    StartIdle();
    Strings menus;
    const CRkMenuBar* bar = dynamic_cast<const CRkMenuBar*>(App()->GetMenuBar());
    ASSERT_NE(bar, nullptr);
    for (const RkMenu& menu : bar->GetMenus()) {
        menus.push_back(std::to_string(menu.command) + " " + CRkTestDriver::ToUtf8(menu.title));
        for (const RkMenuItem& item : menu.items) {
            if (item.IsSeparator()) {
                menus.push_back("  -");
                continue;
            }
            std::string line = "  " + std::to_string(item.command) + " " + CRkTestDriver::ToUtf8(item.text);
            CRkString shortcut = CRkMenuBar::ShortcutText(item.shortcutKey, item.shortcutModifiers);
            if (!shortcut.IsEmpty())
                line += "\t" + CRkTestDriver::ToUtf8(shortcut);
            menus.push_back(line);
        }
    }
    EXPECT_EQ(menus, (Strings{"5 File", "  12 Open...\tCtrl+O", "  13 Close\tCtrl+W", "  -", "  30 Quit\tCtrl+Q",
                              "6 Edit", "  258 Undo\tCtrl+Z", "  -", "  260 Cut\tCtrl+X", "  261 Copy\tCtrl+C",
                              "  262 Paste\tCtrl+V", "  263 Delete\tDelete", "  -", "  265 Preferences...\tCtrl+;"}));
    ASSERT_TRUE(driver->OpenMenu(Main()));
    std::string states;
    for (uint32_t command : {5u, 12u, 13u, 30u, 6u, 258u, 260u, 261u, 262u, 263u, 265u}) {
        bool enabled = false, checked = false;
        ASSERT_TRUE(driver->GetMenuItemState(Main(), command, enabled, checked)) << command;
        states += enabled ? "1" : "0";
    }
    EXPECT_EQ(states, "11111000001");
}

TEST_F(MainWindowTest, PreferencesFromTheLogWindowReopensTheClosedMainWindow)
{
    Write("tabbed.lml", kTabbedSource);
    Start("tabbed.lml");
    Run();
    ASSERT_NE(LogWindow(), nullptr);
    ASSERT_TRUE(driver->PressCloseBox(Main()));
    Run();
    EXPECT_FALSE(HasQuit()) << "the log window is still open";
    EXPECT_EQ(Main(), nullptr);
    ASSERT_TRUE(driver->ChooseMenuItem(LogWindow(), kCmdPreferences));
    Run();
    ASSERT_NE(Main(), nullptr);
    EXPECT_EQ(Main()->GetOuterBounds(), (RkRect{364, 111, 296, 433}));
    // With the window open, Preferences only brings it to the front.
    ASSERT_TRUE(driver->ChooseMenuItem(LogWindow(), kCmdPreferences));
    Run();
    EXPECT_EQ(driver->GetDesktop().GetZIndex(Main()), 0);
    uint32_t mains = 0;
    for (CRkHeadlessWindowImp* window : driver->GetVisibleWindows())
        mains += CRkTestDriver::FindControl(window, kSplash) ? 1 : 0;
    EXPECT_EQ(mains, 1u);
}

// A clean run leaves only a hidden log window behind: closing the main
// window still ends the program, and the log window that was never shown
// stores no placement.
TEST_F(MainWindowTest, ClosingTheMainWindowAfterACleanRunEndsTheProgram)
{
    Write("tale.lml", kCleanSource);
    StartIdle();
    ASSERT_TRUE(driver->DropFiles(Box(kSplash), Strings{(Dir() / "tale.lml").string()}));
    Run();
    ASSERT_TRUE(fs::exists(Dir() / "tale.ldb"));
    EXPECT_EQ(LogWindow(), nullptr);
    ASSERT_TRUE(driver->PressCloseBox(Main()));
    Run();
    EXPECT_TRUE(HasQuit());
    EXPECT_TRUE(driver->GetVisibleWindows().empty());
    EXPECT_EQ(Finish(), 0);
    StartIdle();
    for (const char* key : {"LogManager.WindowPos.x", "LogManager.WindowPos.y"})
        EXPECT_FALSE(PrefExists(key)) << key;
    EXPECT_EQ(Finish(), 0);

    // A log window that was on the screen stores where it was.
    Write("tabbed.lml", kTabbedSource);
    Start("tabbed.lml");
    Run();
    ASSERT_NE(LogWindow(), nullptr);
    ASSERT_TRUE(driver->ActivateWindow(Main()));
    ASSERT_TRUE(driver->PressKey(u'Q', kKeyModifierCtrl));
    Run();
    EXPECT_TRUE(HasQuit());
    EXPECT_EQ(Finish(), 0);
    StartIdle();
    for (const char* key : {"LogManager.WindowPos.x", "LogManager.WindowPos.y"})
        EXPECT_TRUE(PrefExists(key)) << key;
}

} // namespace
} // namespace app_test
