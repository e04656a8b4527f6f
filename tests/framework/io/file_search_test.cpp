// The command line's path help on POSIX: full paths and wildcard patterns.
#include <filesystem>
#include <vector>

#include "tests/framework/io/FileTestSupport.h"

namespace {

class FileSearchTest : public ScratchFolderTest {};

TEST_F(FileSearchTest, PatternsMatchInNameOrder)
{
    WriteBytes("b.lml", "b");
    WriteBytes("a.lml", "a");
    WriteBytes("c.txt", "c");
    std::vector<CRkString> found;
    ASSERT_TRUE(CFile::FindMatching(Str(Wide(At("*.lml"))), found));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(Units(found[0]), Wide(At("a.lml")));
    EXPECT_EQ(Units(found[1]), Wide(At("b.lml")));
    EXPECT_FALSE(CFile::FindMatching(Str(Wide(At("*.none"))), found));
    EXPECT_TRUE(found.empty());
    EXPECT_FALSE(CFile::FindMatching(CRkString(), found));
}

TEST_F(FileSearchTest, RelativePathsAreTakenFromTheCurrentFolder)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(m_dir);
    CRkString full;
    const bool relative = CFile::GetFullPath(CRkString(u"book.lml"), full);
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(before);
    ASSERT_TRUE(relative);
    EXPECT_EQ(Units(full), Wide((here / "book.lml").string()));
    ASSERT_TRUE(CFile::GetFullPath(CRkString(u"/abs/x.lml"), full));
    EXPECT_EQ(Units(full), u"/abs/x.lml");
    EXPECT_FALSE(CFile::GetFullPath(CRkString(), full));
}

} // namespace
