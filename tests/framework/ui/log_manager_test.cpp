// The log manager seen from the reporting side: which messages open the log
// window, what it shows, where it opens and what it remembers, and what
// closing it does.
#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "framework/ui/RkControls.h"

using log_test::LogFixture;
using log_test::Rect;
using Strings = std::vector<std::string>;

namespace {

TEST_F(LogFixture, StatusAloneMakesAHiddenLogAndAWarningShowsItWithBothRows)
{
    ReportStatus("Reading %s", "tale.lml");
    ASSERT_NE(LogImp(), nullptr);
    EXPECT_FALSE(LogImp()->IsVisible());
    EXPECT_EQ(driver->FindWindow("Vellumix Errors"), nullptr);

    ReportWarning("Line %d: unknown tag", 12);
    ASSERT_NE(driver->FindWindow("Vellumix Errors"), nullptr);
    EXPECT_EQ(driver->GetVisibleWindows().size(), 1u);
    EXPECT_EQ(ShownTexts(), (Strings{"Reading tale.lml", "Line 12: unknown tag"}));
    EXPECT_EQ(ShownIcons(), (std::vector<uint32_t>{10005, 10004}));

    ReportError("Stopped.");
    EXPECT_EQ(ShownIcons(), (std::vector<uint32_t>{10005, 10004, 10003}));
    EXPECT_EQ(Rows().size(), 3u);
}

TEST_F(LogFixture, FirstShowWithoutSavedPlacementIs512x384CentredAThirdDown)
{
    ReportError("Broken.");
    ASSERT_NE(LogImp(), nullptr);
    // (1024 - 512) / 2 and (768 - 384) / 3 on the headless screen.
    EXPECT_EQ(Rect(LogImp()->GetOuterBounds()), "256,128 512x384");
}

TEST_F(LogFixture, NewEntriesRaiseAVisibleLogWithoutTakingTheFocus)
{
    CRkWindow* main = new CRkWindow(CRkString(u"Main"), kWindowCloseBox);
    main->SetBounds(10, 10, 200, 100);
    main->SetVisible(true);
    CRkHeadlessWindowImp* mainImp = driver->FindWindow("Main");
    ASSERT_NE(mainImp, nullptr);
    ASSERT_EQ(driver->GetActiveWindow(), mainImp);
    // Even the first show leaves the focus where the user is working.
    ReportWarning("First.");
    EXPECT_EQ(driver->GetActiveWindow(), mainImp);
    EXPECT_TRUE(LogImp()->IsVisible());
    ASSERT_TRUE(driver->ActivateWindow(mainImp));
    ASSERT_EQ(driver->GetDesktop().GetZIndex(LogImp()), 1);

    ReportStatus("Second.");
    EXPECT_EQ(driver->GetDesktop().GetZIndex(LogImp()), 0);
    EXPECT_EQ(driver->GetActiveWindow(), mainImp);
    main->Destroy();
}

// The status hook called as a report function would call it.
int32_t CallStatusHook(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int32_t result = LogManagerStatusHook(format, args);
    va_end(args);
    return result;
}

TEST_F(LogFixture, MessagesAreFormattedWholeHoweverLong)
{
    const std::string long600(600, 'x');
    ReportError("%s", long600.c_str());
    ReportWarning("%d%% done, %s", 50, "half");
    EXPECT_EQ(CallStatusHook(nullptr), 0); // no text: an empty row
    EXPECT_EQ(Rows(), (Strings{"0,0 3622x22 2:" + long600, "0,22 106x22 1:50% done, half", "0,44 22x22 0:"}));
    EXPECT_EQ(List().GetContentSize(), (RkSize{3622, 66}));
}

TEST_F(LogFixture, TextBytesAreDeviceLatin)
{
    ReportStatus("Caf\xE9 \x8D");
    ASSERT_EQ(Rows().size(), 1u);
    RkLogRow row{};
    ASSERT_TRUE(List().GetRow(0, row));
    const CRkString& text = row.entry->GetText();
    EXPECT_EQ(text.GetLength(), 6u);
    EXPECT_EQ(text.GetAt(3), u'\u00E9');
}

// A hook put in front (as the application does) sees the message first and
// passes it on; the row is the same as without it.
int gFrontCalls = 0;
int32_t FrontErrorHook(const char* format, va_list args)
{
    ++gFrontCalls;
    return LogManagerErrorHook(format, args);
}

TEST_F(LogFixture, AHookInFrontPassesMessagesOnUnchanged)
{
    gFrontCalls = 0;
    SetErrorHook(FrontErrorHook);
    EXPECT_EQ(ReportError("The file \"%s\" is missing.", "a.png"), 0);
    EXPECT_EQ(gFrontCalls, 1);
    EXPECT_EQ(Rows(), (Strings{"0,0 190x22 2:The file \"a.png\" is missing."}));
    ASSERT_NE(driver->FindWindow("Vellumix Errors"), nullptr);
}

TEST_F(LogFixture, ClosingByHandThenReportingOpensANewEmptyLog)
{
    ReportStatus("Old status.");
    ReportWarning("Old warning.");
    ASSERT_TRUE(driver->PressCloseBox(LogImp()));
    EXPECT_EQ(GetLogWindow(), nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(LogImp(), nullptr);
    EXPECT_EQ(app->GetWindowCount(), 0u);

    ReportError("New error.");
    ASSERT_NE(driver->FindWindow("Vellumix Errors"), nullptr);
    EXPECT_EQ(ShownTexts(), (Strings{"New error."}));
    EXPECT_EQ(app->GetWindowCount(), 1u);
}

TEST_F(LogFixture, CloseLogClosesTheWindowAndForgetsIt)
{
    ReportWarning("Shown.");
    CloseLog();
    EXPECT_EQ(GetLogWindow(), nullptr);
    EXPECT_EQ(driver->FindWindow("Vellumix Errors"), nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(LogImp(), nullptr);
    CloseLog(); // nothing left to close
    ClearLog();
    EXPECT_EQ(GetLogWindow(), nullptr);
}

TEST_F(LogFixture, HiddenLogThatWasNeverShownSavesNothing)
{
    SavePlacementKeys(40, 50, 300, 200);
    ReportStatus("Only status.");
    CloseLog();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(SavedPlacement(), (Strings{"40", "50", "300", "200"}));

    DeletePref("LogManager.WindowPos.x");
    DeletePref("LogManager.WindowPos.y");
    DeletePref("LogManager.WindowPos.width");
    DeletePref("LogManager.WindowPos.height");
    ReportStatus("Only status again.");
    CloseLog();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(SavedPlacement(), (Strings{"-", "-", "-", "-"}));
}

TEST_F(LogFixture, HidingSavesThePlacementAndShowingRestoresIt)
{
    ReportWarning("One.");
    ASSERT_TRUE(driver->MoveWindow(LogImp(), 100, 60));
    ASSERT_TRUE(driver->ResizeWindow(LogImp(), 400, 300));
    GetLogWindow()->SetVisible(false);
    EXPECT_EQ(SavedPlacement(), (Strings{"100", "60", "400", "300"}));

    // Moved while hidden (as another program might): the saved place wins.
    GetLogWindow()->SetBounds(0, 0, 10, 10);
    ReportError("Two.");
    EXPECT_EQ(Rect(LogImp()->GetOuterBounds()), "100,60 400x300");
    EXPECT_EQ(ShownTexts(), (Strings{"One.", "Two."})); // entries outlive hiding

    // Closing by hand saves too, and the next log opens there.
    ASSERT_TRUE(driver->MoveWindow(LogImp(), 30, 20));
    ASSERT_TRUE(driver->PressCloseBox(LogImp()));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(SavedPlacement(), (Strings{"30", "20", "400", "300"}));
    ReportWarning("Three.");
    EXPECT_EQ(Rect(LogImp()->GetOuterBounds()), "30,20 400x300");
}

TEST_F(LogFixture, SavedPlacementIsTakenOnlyWhenItIsUsable)
{
    struct Case {
        const char* what;
        void (*save)();
        const char* expected;
    };
    const Case cases[] = {
        {"position alone",
         [] {
             SetInt("LogManager.WindowPos.x", 70);
             SetInt("LogManager.WindowPos.y", 80);
         },
         "70,80 512x384"},
        {"size alone",
         [] {
             SetInt("LogManager.WindowPos.width", 600);
             SetInt("LogManager.WindowPos.height", 300);
         },
         "212,156 600x300"},
        {"partly on the screen", [] { SavePlacementKeys(-500, 700, 512, 384); }, "-500,700 512x384"},
        {"off the screen", [] { SavePlacementKeys(1024, 100, 512, 384); }, "256,128 512x384"},
        {"gone monitor, minimized", [] { SavePlacementKeys(-32000, -32000, 160, 24); }, "256,128 512x384"},
        {"x of another type",
         [] {
             SetBool("LogManager.WindowPos.x", true);
             SetInt("LogManager.WindowPos.y", 10);
         },
         "256,128 512x384"},
        {"too narrow", [] { SavePlacementKeys(10, 10, 99, 300); }, "10,10 512x384"},
        {"too low", [] { SavePlacementKeys(10, 10, 300, 49); }, "10,10 512x384"},
        {"least size", [] { SavePlacementKeys(10, 10, 100, 50); }, "10,10 100x50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* key : {"LogManager.WindowPos.x", "LogManager.WindowPos.y", "LogManager.WindowPos.width",
                                "LogManager.WindowPos.height"})
            DeletePref(key);
        c.save();
        ReportWarning("Open.");
        ASSERT_NE(LogImp(), nullptr);
        EXPECT_EQ(Rect(LogImp()->GetOuterBounds()), c.expected);
        GetLogWindow()->Destroy();
        ASSERT_TRUE(Settle());
        ASSERT_EQ(LogImp(), nullptr);
    }
}

TEST_F(LogFixture, ClosingTheApplicationWithTheLogOpenLeavesNothingBehind)
{
    ReportWarning("Still open.");
    ReportStatus("And this.");
    ResetReportHooks();
    driver.reset();
    app.reset(); // deletes the log window directly
    EXPECT_EQ(GetLogWindow(), nullptr);
    EXPECT_TRUE(CRkHeadlessDesktop::Get().GetWindows().empty());
}

} // namespace
