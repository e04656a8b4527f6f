// The application's start and end with its real services: the POSIX
// preference file under a temporary configuration folder, the localized
// strings of the user's language, and the recent-files list kept between
// runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "framework/application/RecentFiles.h"
#include "framework/application/RkApplication.h"
#include "framework/application/RkServiceCreators.h"
#include "framework/core/Prefs.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkSystemImp.h"
#include "framework/text/LocalStrings.h"

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

std::u16string Text(const CRkString* s)
{
    return s ? std::u16string(s->GetChars(), s->GetLength()) : u"<null>";
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("vx_lifecycle_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "books");
        m_xdg.emplace("XDG_CONFIG_HOME", (m_dir / "config").c_str());
        m_lcAll.emplace("LC_ALL", "de_DE.UTF-8");
    }
    void TearDown() override
    {
        m_app.reset();
        fs::remove_all(m_dir);
    }
    CRkApplication& Start(const char16_t* name = u"VxLifecycle")
    {
        m_app.reset();
        m_app = std::make_unique<CRkApplication>(nullptr, CRkString(name), CRkString(u"1.6.0"), 0x56784170u, false);
        EXPECT_TRUE(m_app->Initialize());
        return *m_app;
    }
    void Stop() { m_app.reset(); }
    fs::path PrefsFile(const std::string& name = "VxLifecycle") const { return m_dir / "config" / "Lumo" / name; }
    CFile Book(const char* name, bool create = true)
    {
        fs::path p = m_dir / "books" / name;
        if (create)
            WriteAll(p, "text");
        return CFile(p.string().c_str());
    }

    fs::path m_dir;
    std::optional<ScopedEnv> m_xdg, m_lcAll;
    std::unique_ptr<CRkApplication> m_app;
};

TEST_F(Lifecycle, InitializeStartsEveryServiceAndTheEndTakesThemDown)
{
    CRkApplication& app = Start();
    CRkGlobalVars* globals = CRkGlobalVars::Get();
    ASSERT_NE(globals, nullptr);
    EXPECT_TRUE(app.IsInitialized());
    EXPECT_EQ(app.GetState(), kAppStarting);
    ASSERT_NE(globals->system, nullptr);
    ASSERT_NE(globals->preferences, nullptr);
    EXPECT_EQ(globals->preferences, GetPrefsImp());

    // The strings follow the system's language (German, shown in English
    // as there is no German list), and the first start records "**".
    ASSERT_NE(GetLocalStringManager(), nullptr);
    EXPECT_EQ(globals->localStrings.object, GetLocalStringManager());
    EXPECT_EQ(GetLanguage(), kLanguageGerman);
    EXPECT_EQ(Text(GetLocalString(121)), u"Quit");
    EXPECT_EQ(Text(FormatLocalString(167, &app.GetName())), u"About VxLifecycle");
    CRkString code;
    ASSERT_TRUE(GetString(kPreferredLanguageKey, code));
    EXPECT_EQ(Text(&code), u"**");
    CRkLocalStringManager* manager = GetLocalStringManager();
    EXPECT_TRUE(app.Initialize()); // a second call changes nothing
    EXPECT_EQ(GetLocalStringManager(), manager);

    Stop();
    EXPECT_EQ(CRkGlobalVars::Get(), nullptr);
    EXPECT_EQ(GetLocalStringManager(), nullptr);
    EXPECT_EQ(GetPrefsImp(), nullptr);
    EXPECT_EQ(GetLocalString(0), nullptr);
    std::string saved = ReadAll(PrefsFile());
    EXPECT_NE(saved.find("LocalStringManager.PreferredLanguage"), std::string::npos);
}

TEST_F(Lifecycle, AStoredLanguageWinsOverTheSystemOnesAndFallsBackToEnglish)
{
    Start();
    ASSERT_TRUE(SetLanguage(kLanguageFrench));
    EXPECT_EQ(GetLanguage(), kLanguageFrench);
    Stop();

    Start();
    EXPECT_EQ(GetLanguage(), kLanguageFrench);
    EXPECT_EQ(Text(GetLocalString(0)), u"OK"); // no French list: the English one
    CRkString other(u"xx");                    // an unknown code counts as automatic
    ASSERT_TRUE(SetString(kPreferredLanguageKey, &other));
    Stop();

    ScopedEnv japanese("LC_ALL", "ja_JP.UTF-8");
    Start();
    EXPECT_EQ(GetLanguage(), kLanguageJapanese);
}

TEST_F(Lifecycle, RecentFilesComeBackInOrderAndVanishedOnesArePruned)
{
    CRkApplication& app = Start();
    CRkRecentFileList* recent = app.GetRecentFiles();
    ASSERT_NE(recent, nullptr);
    recent->Add(Book("one.lml"));
    recent->Add(Book("two.lml"));
    recent->Add(Book("three.lml"));
    Stop();
    EXPECT_NE(ReadAll(PrefsFile()).find("MRU.fullpath3"), std::string::npos);

    fs::remove(m_dir / "books" / "two.lml");
    recent = Start().GetRecentFiles();
    ASSERT_EQ(recent->GetCount(), 2u);
    CRkString name;
    recent->GetFile(0)->GetName(name);
    EXPECT_EQ(Text(&name), u"three.lml");
    recent->GetFile(1)->GetName(name);
    EXPECT_EQ(Text(&name), u"one.lml");
    Stop();
    // The place the vanished file held is gone from the file at this exit.
    std::string saved = ReadAll(PrefsFile());
    EXPECT_NE(saved.find("MRU.fullpath2"), std::string::npos);
    EXPECT_EQ(saved.find("MRU.fullpath3"), std::string::npos);
    EXPECT_EQ(saved.find("two.lml"), std::string::npos);
}

TEST_F(Lifecycle, ADamagedPreferencesFileIsKeptAsideAndTheProgramRuns)
{
    fs::create_directories(PrefsFile().parent_path());
    const std::string damaged = "\x01\x02 this is no preferences file\n\xff";
    WriteAll(PrefsFile(), damaged);

    CRkApplication& app = Start();
    EXPECT_EQ(Text(GetLocalString(0)), u"OK");
    app.GetRecentFiles()->Add(Book("kept.lml"));
    Stop();

    EXPECT_EQ(ReadAll(PrefsFile().string() + ".damaged"), damaged);
    Start();
    EXPECT_EQ(m_app->GetRecentFiles()->GetCount(), 1u);
}

TEST_F(Lifecycle, APreferencesFileThatCannotBeReplacedKeepsThePreviousSettings)
{
    // A name so long that no temporary file can be made beside it: every
    // save fails, and the saved settings must stay as they were.
    std::string name(250, 'v');
    fs::create_directories(PrefsFile(name).parent_path());
    Start(u"VxLifecycle");
    Stop();
    fs::copy_file(PrefsFile(), PrefsFile(name));
    const std::string before = ReadAll(PrefsFile(name));
    ASSERT_FALSE(before.empty());

    std::u16string wide(name.begin(), name.end());
    CRkApplication& app = Start(wide.c_str());
    EXPECT_EQ(Text(GetLocalString(1)), u"Cancel");
    app.GetRecentFiles()->Add(Book("new.lml"));
    EXPECT_FALSE(SetBool("Overwrite", true));
    bool overwrite = false;
    EXPECT_TRUE(GetBool("Overwrite", overwrite)); // the session still sees its change
    EXPECT_TRUE(overwrite);
    Stop();
    EXPECT_EQ(ReadAll(PrefsFile(name)), before);
}

// Services made by creators note what was already there when they were
// made and what was still there when they went.
std::string gOrder;

void Note(const char* what)
{
    CRkGlobalVars* globals = CRkGlobalVars::Get();
    gOrder += what;
    gOrder += GetPrefsImp() ? "+prefs" : "-prefs";
    gOrder += GetLocalStringManager() ? "+strings" : "-strings";
    gOrder += globals && globals->system ? "+system " : "-system ";
}

void MakeFileNames(CRkGlobalService& slot)
{
    Note("make-files");
    slot.object = &gOrder;
    slot.destroy = [](void*) { Note("drop-files"); };
}

void MakeClipboard(CRkGlobalService& slot)
{
    Note("make-clip");
    slot.object = &gOrder;
    slot.destroy = [](void*) { Note("drop-clip"); };
}

TEST_F(Lifecycle, ServicesStartAndEndInTheirOrder)
{
    gOrder.clear();
    SetServiceCreator(CRkServiceKind::FileNames, &MakeFileNames);
    SetServiceCreator(CRkServiceKind::Clipboard, &MakeClipboard);
    Start();
    EXPECT_EQ(CRkGlobalVars::Get()->fileNames.object, &gOrder);
    EXPECT_EQ(CRkGlobalVars::Get()->clipboard.object, &gOrder);
    Stop();
    SetServiceCreator(CRkServiceKind::FileNames, nullptr);
    SetServiceCreator(CRkServiceKind::Clipboard, nullptr);
    // Made after the preferences and the strings; the clipboard goes first,
    // the file names after the preferences and the system services.
    EXPECT_EQ(gOrder, "make-files+prefs+strings+system make-clip+prefs+strings+system "
                      "drop-clip+prefs+strings+system drop-files-prefs-strings-system ");
}

} // namespace
