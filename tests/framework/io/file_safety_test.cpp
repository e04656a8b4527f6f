// The operations a build writes its output through: exclusive creation that
// never follows a link, temporary siblings, kinds and resolved links.
#include <filesystem>
#include <memory>
#include <set>

#include <sys/stat.h>

#include "tests/framework/io/FileTestSupport.h"

namespace {

namespace fs = std::filesystem;

class FileSafetyTest : public ScratchFolderTest {};

TEST_F(FileSafetyTest, ExclusiveCreationNeverFollowsALinkNorTakesAName)
{
    WriteBytes("taken", "keep me");
    fs::create_symlink(At("victim"), At("link"));
    CFile taken(At("taken").c_str());
    CFile link(At("link").c_str());
    EXPECT_EQ(taken.CreateExclusive(), 1u);
    EXPECT_EQ(link.CreateExclusive(), 1u);
    EXPECT_FALSE(fs::exists(At("victim")));
    EXPECT_EQ(ReadBytes("taken"), "keep me");

    // A new name is created and stays open for writing through the handle.
    CFile fresh(At("fresh").c_str());
    ASSERT_EQ(fresh.CreateExclusive(), 0u);
    EXPECT_TRUE(fresh.IsOpen());
    EXPECT_EQ(fresh.WriteText("written"), 0u);
    EXPECT_EQ(fresh.Flush(), 0u);
    EXPECT_TRUE(fresh.PathNamesOpenFile());
    fs::rename(At("fresh"), At("moved"));
    EXPECT_FALSE(fresh.PathNamesOpenFile());
    EXPECT_EQ(fresh.Close(), 0u);
    EXPECT_EQ(ReadBytes("moved"), "written");
}

TEST_F(FileSafetyTest, TemporarySiblingsHaveShortUnguessableNames)
{
    CFile output(At(std::string(255, 'x')).c_str());
    std::set<std::u16string> names;
    for (int i = 0; i < 50; ++i) {
        std::unique_ptr<CFile> temporary(output.CreateTemporarySibling());
        ASSERT_NE(temporary, nullptr);
        EXPECT_TRUE(temporary->IsOpen());
        EXPECT_EQ(FolderOf(*temporary), FolderOf(output));
        const std::u16string name = NameOf(*temporary);
        EXPECT_EQ(name.size(), 13u);
        EXPECT_EQ(name.substr(0, 3), u".vx");
        names.insert(name);
        temporary->Close();
    }
    EXPECT_EQ(names.size(), 50u);

    CFile nowhere(At("missing/out.ldb").c_str());
    EXPECT_EQ(nowhere.CreateTemporarySibling(), nullptr);
}

TEST_F(FileSafetyTest, KindsFollowLinks)
{
    WriteBytes("file", "x");
    fs::create_directory(At("folder"));
    ASSERT_EQ(::mkfifo(At("fifo").c_str(), 0600), 0);
    fs::create_symlink(At("file"), At("to-file"));
    fs::create_symlink(At("folder"), At("to-folder"));
    fs::create_symlink(At("nothing"), At("to-nothing"));
    EXPECT_EQ(CFile(At("file").c_str()).GetKind(), kFileKindRegular);
    EXPECT_EQ(CFile(At("to-file").c_str()).GetKind(), kFileKindRegular);
    EXPECT_EQ(CFile(At("folder").c_str()).GetKind(), kFileKindDirectory);
    EXPECT_EQ(CFile(At("to-folder").c_str()).GetKind(), kFileKindDirectory);
    EXPECT_EQ(CFile(At("fifo").c_str()).GetKind(), kFileKindOther);
    EXPECT_EQ(CFile("/dev/null").GetKind(), kFileKindOther);
    EXPECT_EQ(CFile(At("to-nothing").c_str()).GetKind(), kFileKindOther);
    EXPECT_EQ(CFile(At("missing").c_str()).GetKind(), kFileKindMissing);

    std::unique_ptr<CFile> resolved(CFile(At("to-file").c_str()).ResolveLinks());
    ASSERT_NE(resolved, nullptr);
    EXPECT_EQ(PathOf(*resolved), Wide(fs::canonical(At("file")).string()));
    EXPECT_EQ(CFile(At("to-nothing").c_str()).ResolveLinks(), nullptr);
}

} // namespace
