// Copying, moving, renaming, deleting, identity and the per-user folders.
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "tests/framework/io/FileTestSupport.h"

namespace {

class FileManageTest : public ScratchFolderTest {};

TEST_F(FileManageTest, CopyToCopiesEveryByteAndNeverOverwrites)
{
    std::string big(200000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = char(i * 7 + i / 251);
    WriteBytes("src.bin", big);
    WriteBytes("taken.bin", "old");
    CFile source(At("src.bin").c_str());

    EXPECT_EQ(source.CopyTo(CFile(At("copy.bin").c_str())), 0u);
    EXPECT_EQ(ReadBytes("copy.bin"), big);

    EXPECT_EQ(source.CopyTo(CFile(At("taken.bin").c_str())), 1u);
    EXPECT_EQ(ReadBytes("taken.bin"), "old");
    EXPECT_EQ(source.CopyTo(source), 1u);
    EXPECT_EQ(ReadBytes("src.bin"), big);

    EXPECT_EQ(CFile(At("missing").c_str()).CopyTo(CFile(At("x").c_str())), 1u);
    EXPECT_FALSE(std::filesystem::exists(At("x")));
    EXPECT_EQ(source.CopyTo(CFile(At("no/such/folder").c_str())), 1u);
    EXPECT_EQ(CFile(m_dir.c_str()).CopyTo(CFile(At("dircopy").c_str())), 1u);
    EXPECT_FALSE(std::filesystem::exists(At("dircopy")));
}

TEST_F(FileManageTest, MoveToReplacesAndRenameDoesNot)
{
    WriteBytes("new.ldb", "new");
    WriteBytes("book.ldb", "old");
    CFile temp(At("new.ldb").c_str());
    EXPECT_EQ(temp.MoveTo(CFile(At("book.ldb").c_str())), 0u);
    EXPECT_EQ(ReadBytes("book.ldb"), "new");
    EXPECT_FALSE(temp.Exists());
    EXPECT_EQ(PathOf(temp), Wide(At("new.ldb"))); // still names its old path
    EXPECT_EQ(temp.MoveTo(CFile(At("other").c_str())), 1u);

    WriteBytes("a.txt", "a");
    WriteBytes("b.txt", "b");
    CFile a(At("a.txt").c_str());
    EXPECT_EQ(a.Rename(CRkString(u"b.txt")), 1u);
    EXPECT_EQ(ReadBytes("b.txt"), "b");
    EXPECT_EQ(a.Rename(CRkString(u"../escape.txt")), 1u);
    EXPECT_EQ(a.Rename(CRkString(u"..")), 1u);
    EXPECT_EQ(a.Rename(CRkString(u"")), 1u);
    EXPECT_EQ(a.Rename(CRkString(u"c.txt")), 0u);
    EXPECT_EQ(ReadBytes("c.txt"), "a");
    EXPECT_FALSE(a.Exists());
}

TEST_F(FileManageTest, DeleteAndCreateDirectory)
{
    CFile folder(At("sub").c_str());
    EXPECT_EQ(folder.CreateDirectory(), 0u);
    EXPECT_TRUE(folder.IsDirectory());
    EXPECT_EQ(folder.CreateDirectory(), 1u);

    CFile inside(folder, CRkString(u"f"));
    ASSERT_EQ(inside.Create(), 0u);
    EXPECT_EQ(inside.Delete(), 0u);
    EXPECT_FALSE(inside.Exists());
    EXPECT_EQ(inside.Delete(), 1u);
}

TEST_F(FileManageTest, SameFileByPathOrByIdentity)
{
    WriteBytes("a", "a");
    WriteBytes("b", "b");
    std::filesystem::create_hard_link(At("a"), At("link"));
    CFile a(At("a").c_str());
    EXPECT_TRUE(a.IsSameFile(CFile(At("a").c_str())));
    EXPECT_TRUE(a.IsSameFile(CFile(At("./a").c_str())));
    EXPECT_TRUE(a.IsSameFile(CFile(At("link").c_str())));
    EXPECT_FALSE(a.IsSameFile(CFile(At("b").c_str())));
    EXPECT_FALSE(CFile(At("x").c_str()).IsSameFile(CFile(At("y").c_str())));
    EXPECT_TRUE(CFile(At("x").c_str()).IsSameFile(CFile(At("x").c_str())));
}

// Sets environment variables for one test and restores them afterwards.
class EnvironmentTest : public ScratchFolderTest {
protected:
    void TearDown() override
    {
        for (auto& [name, value] : m_saved)
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        ScratchFolderTest::TearDown();
    }
    void Set(const std::string& name, const char* value)
    {
        if (!m_saved.count(name)) {
            const char* old = std::getenv(name.c_str());
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            setenv(name.c_str(), value, 1);
        else
            unsetenv(name.c_str());
    }

    std::map<std::string, std::optional<std::string>> m_saved;
};

TEST_F(EnvironmentTest, PerUserFoldersFollowXdgVariables)
{
    Set("HOME", At("home").c_str());
    Set("XDG_DATA_HOME", At("data").c_str());
    Set("XDG_DOCUMENTS_DIR", At("docs/deep").c_str());

    std::unique_ptr<CFile> settings(CFile::GetSettingsFolder());
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(PathOf(*settings), Wide(At("data/Zev")));
    EXPECT_TRUE(std::filesystem::is_directory(At("data/Zev")));

    std::unique_ptr<CFile> documents(CFile::GetDocumentsFolder());
    ASSERT_NE(documents, nullptr);
    EXPECT_EQ(PathOf(*documents), Wide(At("docs/deep/Zev")));
    EXPECT_TRUE(documents->IsDirectory());
}

TEST_F(EnvironmentTest, PerUserFoldersDefaultUnderHome)
{
    Set("HOME", At("home").c_str());
    Set("XDG_DATA_HOME", nullptr);
    Set("XDG_DOCUMENTS_DIR", "relative/is/ignored");

    std::unique_ptr<CFile> settings(CFile::GetSettingsFolder());
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(PathOf(*settings), Wide(At("home/.local/share/Zev")));
    EXPECT_TRUE(settings->IsDirectory());
    // Asking again finds the folder that is already there.
    std::unique_ptr<CFile> again(CFile::GetSettingsFolder());
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->IsSameFile(*settings));

    std::unique_ptr<CFile> documents(CFile::GetDocumentsFolder());
    ASSERT_NE(documents, nullptr);
    EXPECT_EQ(PathOf(*documents), Wide(At("home/Documents/Zev")));
    EXPECT_FALSE(std::filesystem::exists("relative"));
}

TEST_F(EnvironmentTest, PerUserFolderThatCannotBeMadeIsNull)
{
    WriteBytes("plain", "not a folder");
    Set("XDG_DATA_HOME", At("plain").c_str());
    Set("XDG_DOCUMENTS_DIR", At("plain/below").c_str());
    EXPECT_EQ(CFile::GetSettingsFolder(), nullptr);
    EXPECT_EQ(CFile::GetDocumentsFolder(), nullptr);
}

} // namespace
