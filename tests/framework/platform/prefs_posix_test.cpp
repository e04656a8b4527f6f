#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/core/Prefs.h"
#include "framework/core/Report.h"
#include "framework/core/RkString.h"
#include "framework/platform/posix/PrefsPosix.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const fs::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

std::u16string Text(const CRkString& s)
{
    return std::u16string(s.GetChars(), s.GetLength());
}

class PosixPrefsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("vx_prefs_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        ClosePrefs();
        fs::remove_all(m_dir);
    }
    std::vector<std::string> Listing(const fs::path& folder)
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_dir;
};

TEST_F(PosixPrefsTest, ValuesPersistWithTheirTypesInAReadableFile)
{
    fs::path file = m_dir / "Lumo" / "App";
    {
        ASSERT_TRUE(InstallPrefs(new CPosixPrefsImp(file.string(), "App")));
        int32_t n;
        EXPECT_FALSE(GetInt("WindowPos.x", n));
        EXPECT_FALSE(fs::exists(m_dir / "Lumo")); // reading creates nothing
        EXPECT_TRUE(SetDefaultBool("Overwrite", true));
        EXPECT_TRUE(SetInt("WindowPos.x", -12));
        CRkString path(u"/books/\u00e9t\u00e9 \"one\".lml");
        EXPECT_TRUE(SetString("MRU.fullpath1", &path));
        EXPECT_FALSE(SetInt("MRU.fullpath1", 4));
        EXPECT_TRUE(SetInt("gone", 1));
        EXPECT_TRUE(DeletePref("gone"));
        EXPECT_TRUE(ClosePrefs());
    }
    std::string text = ReadAll(file);
    EXPECT_EQ(text.rfind("LumoPrefs 1\n", 0), 0u);
    EXPECT_NE(text.find("0\t4\tOverwrite\ttrue\n"), std::string::npos) << text;
    EXPECT_NE(text.find("0\t1\tWindowPos.x\t-12\n"), std::string::npos) << text;
    EXPECT_NE(text.find("0\t5\tMRU.fullpath1\t\"/books/\xC3\xA9t\xC3\xA9 \\\"one\\\".lml\"\n"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("gone"), std::string::npos);
    EXPECT_EQ(Listing(m_dir / "Lumo"), std::vector<std::string>{"App"}); // no temporary left behind

    ASSERT_TRUE(InstallPrefs(new CPosixPrefsImp(file.string(), "App")));
    bool overwrite = false;
    int32_t x = 0;
    CRkString path;
    ASSERT_TRUE(GetBool("Overwrite", overwrite));
    ASSERT_TRUE(GetInt("WindowPos.x", x));
    ASSERT_TRUE(GetString("MRU.fullpath1", path));
    EXPECT_TRUE(overwrite);
    EXPECT_EQ(x, -12);
    EXPECT_EQ(Text(path), u"/books/\u00e9t\u00e9 \"one\".lml");
    EXPECT_FALSE(SetDefaultBool("Overwrite", false));
}

TEST_F(PosixPrefsTest, AValueOfAnotherTypeIsNeverReplacedNorRead)
{
    fs::path file = m_dir / "App";
    auto* store = new CPosixPrefsImp(file.string(), "App");
    ASSERT_TRUE(InstallPrefs(store));
    const char16_t* texts[] = {u"", u"x", u"longer text"};
    for (const char16_t* t : texts) {
        CRkString s(t);
        ASSERT_TRUE(SetString("k", &s));
        EXPECT_FALSE(SetInt("k", 5));
        EXPECT_FALSE(SetBool("k", true));
        int32_t n = 9;
        EXPECT_FALSE(GetInt("k", n));
        EXPECT_EQ(n, 9);
        CRkString back;
        ASSERT_TRUE(GetString("k", back));
        EXPECT_EQ(Text(back), t);
        ASSERT_TRUE(DeletePref("k"));
    }
    EXPECT_FALSE(DeletePref("k"));
    // Also when the store is used directly, and the file keeps the first value.
    uint8_t one = 1;
    ASSERT_TRUE(SetInt("n", 3));
    EXPECT_FALSE(store->Set(0, "n", kPrefTypeBool, &one, 1));
    EXPECT_EQ(store->GetType(0, "n"), kPrefTypeInt);
    EXPECT_TRUE(ClosePrefs());
    EXPECT_NE(ReadAll(file).find("0\t1\tn\t3\n"), std::string::npos);
}

TEST_F(PosixPrefsTest, ADamagedFileIsKeptAsideAndTheStoreStartsEmpty)
{
    fs::path file = m_dir / "App";
    const std::string damaged = "LumoPrefs 1\n0\t4\tOverwrite\tmaybe\n";
    for (const char* aside : {"App.damaged", "App.damaged-2"}) {
        WriteAll(file, damaged);
        auto* store = new CPosixPrefsImp(file.string(), "App");
        ASSERT_TRUE(InstallPrefs(store));
        EXPECT_EQ(store->GetSetAsidePath(), (m_dir / aside).string());
        EXPECT_FALSE(store->IsReadOnly());
        EXPECT_FALSE(PrefExists("Overwrite"));
        EXPECT_EQ(ReadAll(m_dir / aside), damaged);
        EXPECT_TRUE(SetBool("Overwrite", true));
        EXPECT_TRUE(ClosePrefs());
        EXPECT_EQ(ReadAll(m_dir / aside), damaged);
        EXPECT_NE(ReadAll(file).find("Overwrite\ttrue"), std::string::npos);
        fs::remove(file);
    }
}

TEST_F(PosixPrefsTest, AFileThatCannotBeReplacedKeepsItsSettings)
{
    // The temporary name is longer than a file name may be, so every save
    // fails; the previous file must stay as it was.
    fs::path file = m_dir / std::string(250, 'p');
    const std::string saved = "LumoPrefs 1\n0\t1\tWindowPos.x\t7\n";
    WriteAll(file, saved);
    auto* store = new CPosixPrefsImp(file.string(), "App");
    ASSERT_TRUE(InstallPrefs(store));
    EXPECT_FALSE(SetInt("WindowPos.x", 8));
    int32_t x = 0;
    ASSERT_TRUE(GetInt("WindowPos.x", x));
    EXPECT_EQ(x, 8); // the change lives on in memory
    EXPECT_FALSE(FlushPrefs());
    EXPECT_FALSE(ClosePrefs());
    EXPECT_EQ(ReadAll(file), saved);
    EXPECT_EQ(Listing(m_dir).size(), 1u);

    // Damaged and impossible to move aside: never overwritten.
    const std::string damaged = "not a preferences file";
    WriteAll(file, damaged);
    store = new CPosixPrefsImp(file.string(), "App");
    EXPECT_TRUE(store->IsReadOnly());
    EXPECT_FALSE(store->Set(0, "k", kPrefTypeBuffer, "x", 1));
    EXPECT_TRUE(store->Exists(0, "k"));
    delete store;
    EXPECT_EQ(ReadAll(file), damaged);
}

TEST_F(PosixPrefsTest, AnUncreatableFolderFailsQuietly)
{
    WriteAll(m_dir / "blocker", "a file where a folder should be");
    auto* store = new CPosixPrefsImp((m_dir / "blocker" / "Lumo" / "App").string(), "App");
    ASSERT_TRUE(InstallPrefs(store));
    EXPECT_FALSE(store->IsReadOnly());
    EXPECT_FALSE(SetBool("Prompt", true));
    bool prompt = false;
    EXPECT_TRUE(GetBool("Prompt", prompt));
    EXPECT_TRUE(prompt);
    EXPECT_FALSE(ClosePrefs());
}

TEST_F(PosixPrefsTest, FileLivesUnderTheConfigurationFolder)
{
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    std::string savedXdg = oldXdg ? oldXdg : "";
    const char* oldHome = std::getenv("HOME");
    std::string savedHome = oldHome ? oldHome : "";

    setenv("XDG_CONFIG_HOME", (m_dir / "cfg/").c_str(), 1);
    EXPECT_EQ(PosixPrefsPath(CRkString(u"Vellumix")), (m_dir / "cfg" / "Lumo" / "Vellumix").string());
    EXPECT_EQ(PosixPrefsPath(CRkString(u"")), "");
    EXPECT_EQ(PosixPrefsPath(CRkString(u"a/b")), "");
    EXPECT_EQ(PosixPrefsPath(CRkString(u"..")), "");
    IPrefsImp* imp = CreatePrefsImp(CRkString(u"Vellumix"));
    ASSERT_NE(imp, nullptr);
    ASSERT_TRUE(InstallPrefs(imp));
    EXPECT_TRUE(SetInt("n", 1));
    EXPECT_TRUE(ClosePrefs());
    EXPECT_TRUE(fs::is_regular_file(m_dir / "cfg" / "Lumo" / "Vellumix"));

    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    setenv("HOME", m_dir.c_str(), 1);
    EXPECT_EQ(PosixPrefsPath(CRkString(u"Vellumix")), (m_dir / ".config" / "Lumo" / "Vellumix").string());

    if (oldXdg)
        setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
}

} // namespace

namespace {

int g_reports = 0;
int32_t CountReport(const char*, va_list)
{
    ++g_reports;
    return 0;
}

size_t CountLines(const std::string& text)
{
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Problems of the store never reach the report functions (whose hooks feed
// the log window and the build's outcome): each is one line on stderr.
TEST_F(PosixPrefsTest, ProblemsGoToStandardErrorNotToTheReportFunctions)
{
    SetErrorHook(CountReport);
    SetWarningHook(CountReport);
    SetStatusHook(CountReport);
    g_reports = 0;

    // A damaged file, moved aside.
    fs::path file = m_dir / "App";
    WriteAll(file, "garbage\n");
    ::testing::internal::CaptureStderr();
    auto* store = new CPosixPrefsImp(file.string(), "App");
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountLines(err), 1u) << err;
    EXPECT_NE(err.find(file.string()), std::string::npos) << err;
    EXPECT_NE(err.find("App.damaged"), std::string::npos) << err;
    delete store;

    // A folder that cannot be created: one line for the first failed save,
    // and the value lives on in memory.
    WriteAll(m_dir / "blocker", "x");
    fs::path blocked = m_dir / "blocker" / "Lumo\nApp";
    ::testing::internal::CaptureStderr();
    store = new CPosixPrefsImp(blocked.string(), "App");
    ASSERT_TRUE(InstallPrefs(store));
    EXPECT_FALSE(SetInt("WindowPos.x", 3));
    EXPECT_FALSE(SetInt("WindowPos.y", 4));
    int32_t y = 0;
    EXPECT_TRUE(GetInt("WindowPos.y", y));
    EXPECT_EQ(y, 4);
    EXPECT_FALSE(ClosePrefs());
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountLines(err), 1u) << err;
    EXPECT_NE(err.find("Cannot save the preferences"), std::string::npos) << err;

    EXPECT_EQ(g_reports, 0);
    ResetReportHooks();
}

} // namespace
