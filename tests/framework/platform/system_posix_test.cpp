#include <gtest/gtest.h>

#include <map>
#include <string>

#include "framework/core/RkString.h"
#include "framework/platform/posix/SystemPosix.h"

namespace {

TEST(SystemPosix, LocaleNamesMapToTheLanguageTable)
{
    EXPECT_EQ(LanguageFromLocaleName("en_US.UTF-8"), kLanguageEnglish);
    EXPECT_EQ(LanguageFromLocaleName("fr_FR.UTF-8"), kLanguageFrench);
    EXPECT_EQ(LanguageFromLocaleName("fr_CA"), kLanguageFrench);
    EXPECT_EQ(LanguageFromLocaleName("de"), kLanguageGerman);
    EXPECT_EQ(LanguageFromLocaleName("de_DE@euro"), kLanguageGerman);
    EXPECT_EQ(LanguageFromLocaleName("it_IT"), kLanguageItalian);
    EXPECT_EQ(LanguageFromLocaleName("es_ES.ISO-8859-1"), kLanguageSpanish);
    EXPECT_EQ(LanguageFromLocaleName("pt_BR"), kLanguagePortuguese);
    EXPECT_EQ(LanguageFromLocaleName("ja_JP.eucJP"), kLanguageJapanese);
    EXPECT_EQ(LanguageFromLocaleName("zh_CN.GB2312"), kLanguageChineseSimplified);
    EXPECT_EQ(LanguageFromLocaleName("zh_TW.Big5"), kLanguageChineseTraditional);
    // Chinese of another territory, other languages and the C locale: en.
    EXPECT_EQ(LanguageFromLocaleName("zh_HK"), kLanguageEnglish);
    EXPECT_EQ(LanguageFromLocaleName("zh"), kLanguageEnglish);
    EXPECT_EQ(LanguageFromLocaleName("nl_NL"), kLanguageEnglish);
    EXPECT_EQ(LanguageFromLocaleName("C"), kLanguageEnglish);
    EXPECT_EQ(LanguageFromLocaleName("POSIX"), kLanguageEnglish);
    EXPECT_EQ(LanguageFromLocaleName(""), kLanguageEnglish);
    EXPECT_EQ(LanguageFromLocaleName("french"), kLanguageEnglish);
    EXPECT_EQ(LanguageFromLocaleName(nullptr), kLanguageEnglish);
}

std::map<std::string, std::string> gEnvironment;

const char* FakeLookup(const char* variable)
{
    auto found = gEnvironment.find(variable);
    return found == gEnvironment.end() ? nullptr : found->second.c_str();
}

TEST(SystemPosix, EnvironmentPrecedence)
{
    gEnvironment = {{"LANG", "de_DE.UTF-8"}};
    EXPECT_EQ(LanguageFromEnvironment(&FakeLookup), kLanguageGerman);
    gEnvironment["LC_MESSAGES"] = "ja_JP.UTF-8";
    EXPECT_EQ(LanguageFromEnvironment(&FakeLookup), kLanguageJapanese);
    gEnvironment["LC_ALL"] = "it_IT";
    EXPECT_EQ(LanguageFromEnvironment(&FakeLookup), kLanguageItalian);
    gEnvironment["LC_ALL"] = ""; // empty counts as unset
    EXPECT_EQ(LanguageFromEnvironment(&FakeLookup), kLanguageJapanese);
    gEnvironment.clear();
    EXPECT_EQ(LanguageFromEnvironment(&FakeLookup), kLanguageEnglish);
}

TEST(SystemPosix, ProgramPathAndClock)
{
    CRkPosixSystemImp system;
    CRkString path;
    ASSERT_TRUE(system.GetProgramPath(path));
    std::string narrow(path.GetNarrow());
    EXPECT_EQ(narrow.front(), '/');
    EXPECT_NE(narrow.find("vx_platform_tests"), std::string::npos) << narrow;

    EXPECT_GT(system.GetCurrentTime(), 1577836800u); // after 2020-01-01
    uint64_t first = system.GetTickCount();
    EXPECT_GE(system.GetTickCount(), first);
    EXPECT_FALSE(system.IsWindows());

    uint32_t language = system.GetPreferredLanguage();
    EXPECT_GE(language, kLanguageEnglish);
    EXPECT_LE(language, kLanguageChineseTraditional);
    EXPECT_EQ(system.GetPreferredLanguage(), language);
}

} // namespace
