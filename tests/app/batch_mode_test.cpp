// Batch mode from the command line: the warnings of the fixed list are not
// reported, everything else is, and the repairs they announce still happen.
#include <algorithm>

#include "AppTestSupport.h"

namespace app_test {
namespace {

// A tab, a title too long for a database name and holding a colon, a link
// to nowhere, an anchor defined twice, a bold run left open, and an image
// folder that is a file (a warning batch mode does not silence).
const char kNoisySource[] = "TITLE=\"A Rather Long Title That Ends: Here\"\n\n\tIndented text.\n"
                            "\\Q=\"twice\"a \\Q=\"twice\"b \\q=\"#nowhere\"c\\q \\bbold\n";

class BatchMode : public AppTest {
protected:
    void WriteNoisy()
    {
        Write("noisy.lml", kNoisySource);
        Write("noisy_img", "not a folder");
    }
};

TEST_F(BatchMode, WithoutBatchEveryWarningIsShown)
{
    WriteNoisy();
    std::vector<uint8_t> expected = ToolBook(Dir() / "noisy.lml");
    Start("noisy.lml");
    Run();
    Strings warnings = LogTexts(10004);
    std::sort(warnings.begin(), warnings.end());
    EXPECT_EQ(warnings,
              (Strings{"Book name is greater than 29 characters.  Truncating to \"A Rather Long...at Ends: Here\".",
                       "Colons are not currently permitted in the book title. Translating colons to hyphens.",
                       "Link \"nowhere\" has not been defined", "Link \"twice\" defined more than once",
                       "Tab characters are being mapped to four spaces.",
                       "The image directory \"" + (Dir() / "noisy_img").string() + "\" isn't a directory.",
                       // once in each font's pass
                       "This file does not end in the normal font!", "This file does not end in the normal font!"}));
    EXPECT_FALSE(HasQuit());
    EXPECT_EQ(ReadBytes(Dir() / "noisy.ldb"), expected);
}

TEST_F(BatchMode, BatchSilencesItsListAndStillRepairs)
{
    WriteNoisy();
    std::vector<uint8_t> expected = ToolBook(Dir() / "noisy.lml", {"--batch"});
    Start("noisy.lml -batch");
    Run();
    EXPECT_EQ(LogTexts(10004),
              Strings{"The image directory \"" + (Dir() / "noisy_img").string() + "\" isn't a directory."});
    // What is still reported keeps the program open.
    EXPECT_FALSE(HasQuit());
    std::vector<uint8_t> book = ReadBytes(Dir() / "noisy.ldb");
    EXPECT_EQ(book, expected);
    ASSERT_GE(book.size(), 32u);
    // Colons translated and the name cut, though nothing said so.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(book.data())), "A Rather Long...at Ends- Here");
    EXPECT_EQ(Finish(), 0);
}

} // namespace
} // namespace app_test
