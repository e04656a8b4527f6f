// The book information dialog, opened by a run for a source without a
// title: what it shows, when OK can be used, and what each way of closing
// it does to the run.
#include "AppTestSupport.h"

namespace app_test {
namespace {

class BookInfoDialog : public AppTest {
protected:
    // Starts a run of the untitled source (and a clean one after it) and
    // waits for the dialog.
    CRkHeadlessWindowImp* OpenDialog()
    {
        Write("untitled.lml", kUntitledSource);
        Write("tale.lml", kCleanSource);
        Start("\"untitled.lml\" \"tale.lml\"");
        Run();
        return InfoDialog();
    }
    CRkHeadlessNode* Field(uint32_t id) { return CRkTestDriver::FindControl(InfoDialog(), id); }
    CRkHeadlessNode* OK() { return CRkTestDriver::FindControl(InfoDialog(), 1); }
    CRkHeadlessNode* Cancel() { return CRkTestDriver::FindControl(InfoDialog(), 2); }

    // The file was skipped silently and the run went on to the next one.
    void ExpectSkipped()
    {
        EXPECT_EQ(InfoDialog(), nullptr);
        EXPECT_FALSE(fs::exists(Dir() / "untitled.ldb"));
        EXPECT_TRUE(fs::exists(Dir() / "tale.ldb"));
        EXPECT_TRUE(LogTexts(10003).empty());
        // Nothing was reported, so the command-line run ends by itself.
        EXPECT_TRUE(HasQuit());
        EXPECT_EQ(Finish(), 0);
    }
};

TEST_F(BookInfoDialog, ShowsItsControlsWithTheSourcesInformation)
{
    CRkHeadlessWindowImp* dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CRkTestDriver::GetTitle(dialog), "Book Info");
    Strings shown;
    for (CRkHeadlessNode* node : CRkTestDriver::GetControls(dialog))
        shown.push_back(std::to_string(node->GetId()) + " " + CRkTestDriver::GetText(node));
    EXPECT_EQ(shown, (Strings{"1 OK", "2 Cancel", "337 Title:", "344 ", "338 Author:", "345 Known Author",
                              "339 Publisher:", "346 ", "340 Copyright:", "347 ", "341 ISBN:", "348 ", "342 (Required)",
                              "343 You must enter a title for this book. This will be the title of the book as "
                              "the reading application's Open Book dialog shows it. The remaining fields are "
                              "optional."}));
    EXPECT_EQ(CRkTestDriver::GetProperty(OK(), kPropDefaultButton), 1);
    EXPECT_EQ(CRkTestDriver::GetProperty(Cancel(), kPropCancelButton), 1);
    // Nothing goes on while it is open.
    EXPECT_FALSE(fs::exists(Dir() / "tale.ldb"));
    EXPECT_EQ(CRkTestDriver::GetFocusedControl(dialog), Field(344));
}

TEST_F(BookInfoDialog, LayoutKeepsTheNoteClearOfTheRowsBelow)
{
    CRkHeadlessWindowImp* dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    auto bounds = [&](uint32_t id) { return CRkTestDriver::GetBounds(CRkTestDriver::FindControl(dialog, id)); };
    EXPECT_EQ(bounds(344), (RkRect{81, 15, 240, 21}));
    EXPECT_EQ(bounds(337), (RkRect{39, 19, 36, 13})); // right-aligned at 75, centred in the row
    EXPECT_EQ(bounds(342), (RkRect{261, 36, 60, 13}));
    EXPECT_EQ(bounds(345), (RkRect{81, 58, 240, 21}));
    EXPECT_EQ(bounds(348), (RkRect{81, 148, 240, 21}));
    EXPECT_EQ(bounds(343), (RkRect{15, 184, 306, 92}));
    EXPECT_EQ(bounds(1), (RkRect{194, 291, 56, 23}));
    EXPECT_EQ(bounds(2), (RkRect{265, 291, 56, 23}));
    EXPECT_EQ(dialog->GetClientSize(), (RkSize{336, 329}));
}

TEST_F(BookInfoDialog, OKIsEnabledExactlyWhileATitleIsTyped)
{
    ASSERT_NE(OpenDialog(), nullptr);
    EXPECT_FALSE(CRkTestDriver::IsEnabled(OK()));
    EXPECT_FALSE(driver->Click(OK()));
    // Enter with an empty title does nothing either.
    ASSERT_TRUE(driver->PressKey(InfoDialog(), kKeyEnter));
    Run();
    ASSERT_NE(InfoDialog(), nullptr);
    ASSERT_TRUE(driver->TypeText(Field(344), "A"));
    EXPECT_TRUE(CRkTestDriver::IsEnabled(OK()));
    ASSERT_TRUE(driver->Backspace(Field(344)));
    EXPECT_FALSE(CRkTestDriver::IsEnabled(OK()));
    EXPECT_TRUE(CRkTestDriver::IsEnabled(Cancel()));
}

TEST_F(BookInfoDialog, OKBuildsTheBookWithTheTypedTitle)
{
    ASSERT_NE(OpenDialog(), nullptr);
    ASSERT_TRUE(driver->TypeText(Field(344), "My Title"));
    ASSERT_TRUE(driver->Click(OK()));
    Run();
    EXPECT_EQ(InfoDialog(), nullptr);
    std::vector<uint8_t> book = ReadBytes(Dir() / "untitled.ldb");
    ASSERT_GE(book.size(), 32u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(book.data())), "My Title");
    // The same book as the tool makes with that title (and the author the
    // dialog kept).
    EXPECT_EQ(book, ToolBook(Dir() / "untitled.lml", {"--title", "My Title"}));
    EXPECT_TRUE(HasQuit());
    EXPECT_EQ(Finish(), 0);
}

TEST_F(BookInfoDialog, EnterPressesOKOnceATitleIsThere)
{
    ASSERT_NE(OpenDialog(), nullptr);
    ASSERT_TRUE(driver->TypeText(Field(344), "Entered"));
    ASSERT_TRUE(driver->PressKey(InfoDialog(), kKeyEnter));
    Run();
    std::vector<uint8_t> book = ReadBytes(Dir() / "untitled.ldb");
    ASSERT_GE(book.size(), 32u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(book.data())), "Entered");
}

TEST_F(BookInfoDialog, CancelSkipsTheFile)
{
    ASSERT_NE(OpenDialog(), nullptr);
    ASSERT_TRUE(driver->TypeText(Field(344), "Not used"));
    ASSERT_TRUE(driver->Click(Cancel()));
    Run();
    ExpectSkipped();
}

TEST_F(BookInfoDialog, EscapeSkipsTheFile)
{
    ASSERT_NE(OpenDialog(), nullptr);
    ASSERT_TRUE(driver->PressKey(InfoDialog(), kKeyEscape));
    Run();
    ExpectSkipped();
}

TEST_F(BookInfoDialog, TheCloseBoxSkipsTheFile)
{
    ASSERT_NE(OpenDialog(), nullptr);
    ASSERT_TRUE(driver->PressCloseBox(InfoDialog()));
    Run();
    ExpectSkipped();
}

} // namespace
} // namespace app_test
