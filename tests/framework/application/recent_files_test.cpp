#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/application/RecentFiles.h"
#include "framework/core/Prefs.h"
#include "framework/core/PrefsTable.h"

namespace fs = std::filesystem;

namespace {

std::u16string Text(const CRkString* s)
{
    return s ? std::u16string(s->GetChars(), s->GetLength()) : u"<null>";
}

class RecentFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("vx_recent_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        ASSERT_TRUE(InstallPrefs(new CMemoryPrefsImp));
    }
    void TearDown() override
    {
        ClosePrefs();
        fs::remove_all(m_dir);
    }
    // Creates file `name` and returns its path.
    std::string Make(const std::string& name)
    {
        fs::path p = m_dir / name;
        std::ofstream(p) << "x";
        return p.string();
    }
    std::u16string Name(const CRkRecentFileList& list, uint32_t i) { return Text(list.GetDisplayString(i)); }

    fs::path m_dir;
};

TEST_F(RecentFilesTest, NewestFirstRelistedFilesMoveUpOldestDropsOut)
{
    CRkRecentFileList list;
    for (int i = 1; i <= 11; ++i)
        list.Add(CFile(Make("f" + std::to_string(i) + ".lml").c_str()));
    ASSERT_EQ(list.GetCount(), 10u);
    EXPECT_EQ(Name(list, 0), u"f11.lml");
    EXPECT_EQ(Name(list, 9), u"f2.lml"); // f1 was dropped

    CRkString shown(u"Again");
    list.Add(CFile((m_dir / "f5.lml").string().c_str()), &shown);
    EXPECT_EQ(list.GetCount(), 10u);
    EXPECT_EQ(Name(list, 0), u"Again");
    EXPECT_EQ(Name(list, 1), u"f11.lml");
    EXPECT_EQ(list.Find(CFile((m_dir / "f5.lml").string().c_str())), 0);
    EXPECT_EQ(list.Find(CFile((m_dir / "f1.lml").string().c_str())), -1);

    EXPECT_TRUE(list.Remove(1));
    EXPECT_FALSE(list.Remove(9));
    EXPECT_EQ(list.GetCount(), 9u);
    EXPECT_EQ(Name(list, 1), u"f10.lml");
    EXPECT_EQ(list.GetFile(9), nullptr);
    EXPECT_EQ(list.GetDisplayString(9), nullptr);
}

TEST_F(RecentFilesTest, SavedOrderComesBackAndVanishedFilesDropOut)
{
    {
        CRkRecentFileList list;
        list.Add(CFile(Make("old.txt").c_str()));
        list.Add(CFile(Make("middle.lml").c_str()));
        list.Add(CFile(Make("new.lml").c_str()));
        ASSERT_TRUE(list.Save());
    }
    CRkString s;
    ASSERT_TRUE(GetString("MRU.string1", s));
    EXPECT_EQ(Text(&s), u"new.lml");
    ASSERT_TRUE(GetString("MRU.fullpath3", s));
    EXPECT_EQ(Text(&s), std::u16string(fs::path(m_dir / "old.txt").u16string()));
    EXPECT_FALSE(PrefExists("MRU.string4"));

    fs::remove(m_dir / "middle.lml");
    CRkRecentFileList list;
    list.Load();
    ASSERT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(Name(list, 0), u"new.lml");
    EXPECT_EQ(Name(list, 1), u"old.txt");
    ASSERT_TRUE(list.Save());
    EXPECT_FALSE(PrefExists("MRU.string3"));
    EXPECT_FALSE(PrefExists("MRU.fullpath3"));
    ASSERT_TRUE(GetString("MRU.string2", s));
    EXPECT_EQ(Text(&s), u"old.txt");
}

TEST_F(RecentFilesTest, IncompleteOrMistypedEntriesAreSkippedAndRepaired)
{
    std::string a = Make("a.lml"), b = Make("b.lml");
    CRkString pathA(a.c_str(), kEncodingDeviceLatin), pathB(b.c_str(), kEncodingDeviceLatin);
    CRkString shownA(u"A"), shownB(u"B");
    SetString("MRU.string2", &shownA);
    SetString("MRU.fullpath2", &pathA);
    SetString("MRU.fullpath5", &pathB); // no display string
    SetInt("MRU.string1", 3);           // wrong type
    SetString("MRU.fullpath1", &pathB);
    CRkRecentFileList list;
    list.Load();
    ASSERT_EQ(list.GetCount(), 1u);
    EXPECT_EQ(Name(list, 0), u"A");

    list.Add(CFile(b.c_str()), &shownB);
    ASSERT_TRUE(list.Save());
    EXPECT_FALSE(PrefExists("MRU.fullpath5"));
    CRkString first;
    ASSERT_TRUE(GetString("MRU.string1", first));
    EXPECT_EQ(Text(&first), u"B");
    ClosePrefs();

    // Without a store nothing is saved and loading adds nothing.
    EXPECT_FALSE(list.Save());
    CRkRecentFileList empty;
    empty.Load();
    EXPECT_EQ(empty.GetCount(), 0u);
    ASSERT_TRUE(InstallPrefs(new CMemoryPrefsImp));
}

} // namespace
