#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "framework/core/Prefs.h"
#include "framework/core/PrefsTable.h"
#include "framework/text/EnglishStrings.h"
#include "framework/text/Languages.h"
#include "framework/text/LocalStrings.h"
#include "framework/text/StringResource.h"

namespace {

std::u16string Text(const CRkString* s)
{
    return s ? std::u16string(s->GetChars(), s->GetLength()) : u"<null>";
}

// A resource in either byte order, with a byte-order mark.
std::vector<uint8_t> Encode(const std::u16string& text, bool bigEndian)
{
    std::vector<uint8_t> bytes;
    std::u16string all = u"\uFEFF" + text;
    for (char16_t u : all) {
        uint8_t hi = uint8_t(u >> 8), lo = uint8_t(u);
        bytes.push_back(bigEndian ? hi : lo);
        bytes.push_back(bigEndian ? lo : hi);
    }
    return bytes;
}

std::vector<std::u16string> Split(const std::vector<uint8_t>& bytes, char16_t newline = u'\n')
{
    std::vector<std::u16string> out;
    for (const CRkString& s : SplitStringResource(bytes.data(), uint32_t(bytes.size()), newline))
        out.push_back(Text(&s));
    return out;
}

TEST(StringResource, BothByteOrdersSplitAlike)
{
    std::u16string text = u"OK\r\nCancel\r\n\r\n\nOpen\u2028Save\nTwo\\nlines\nlost tail";
    std::vector<std::u16string> expected = {u"OK", u"Cancel", u"Open", u"Save", u"Two\rlines"};
    EXPECT_EQ(Split(Encode(text, false), u'\r'), expected);
    EXPECT_EQ(Split(Encode(text, true), u'\r'), expected);
    EXPECT_EQ(Split(Encode(u"a\\nb\n", false))[0], u"a\nb");

    // No byte-order mark: little-endian from the first unit; an odd last byte is ignored.
    std::vector<uint8_t> bare = {'h', 0, 'i', 0, '\n', 0, 'x'};
    EXPECT_EQ(Split(bare), std::vector<std::u16string>{u"hi"});
    EXPECT_TRUE(Split({}).empty());
    EXPECT_TRUE(Split({0xFE}).empty());
}

TEST(EnglishStrings, TheBuiltInListHoldsEveryEntryTheProgramUses)
{
    uint32_t size = 0;
    const uint8_t* data = GetEnglishStringResource(size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data[0], 0xFF);
    EXPECT_EQ(data[1], 0xFE);
    std::vector<CRkString> entries = SplitStringResource(data, size, u'\n');
    ASSERT_EQ(entries.size(), kEnglishStringCount);
    const std::map<uint32_t, std::u16string> used = {
        {0, u"OK"},
        {1, u"Cancel"},
        {2, u"Open"},
        {21, u"Title"},
        {22, u"Author"},
        {23, u"Publisher"},
        {24, u"Copyright"},
        {25, u"ISBN"},
        {67, u"File name"},
        {68, u"Files of type"},
        {107, u"File"},
        {109, u"Open..."},
        {112, u"Close"},
        {117, u"Make Book..."},
        {121, u"Quit"},
        {123, u"Edit"},
        {124, u"Undo"},
        {126, u"Cut"},
        {127, u"Copy"},
        {128, u"Paste"},
        {129, u"Delete"},
        {132, u"Preferences..."},
        {167, u"About ^1"},
        {291, u"Overwrite existing file"},
        {292, u"Prompt before overwriting"},
        {294, u"(Required)"},
        {295, u"Book Info"},
        {300, u"Vellumix"},
        {301, u"Building ^1..."},
        {341, u"^1 Library"},
    };
    for (const auto& [id, text] : used)
        EXPECT_EQ(Text(&entries[id]), text) << "entry " << id;
    std::u16string note = Text(&entries[293]);
    EXPECT_EQ(note.rfind(u"You must enter a title for this book. ", 0), 0u);
    EXPECT_NE(note.find(u"Open Book"), std::u16string::npos);
    EXPECT_EQ(note.substr(note.size() - 34), u"The remaining fields are optional.");
}

// Resources for the manager: the built-in English one, plus a big-endian
// French one when `withFrench` is set.
bool withFrench = false;
std::vector<uint8_t> frenchBytes;

const uint8_t* TestFinder(uint32_t id, uint32_t& size)
{
    if (id == 11001 && withFrench) {
        frenchBytes = Encode(u"D'accord\nAnnuler\n", true);
        size = uint32_t(frenchBytes.size());
        return frenchBytes.data();
    }
    return FindBuiltInStringResource(id, size);
}

const uint8_t* NoResources(uint32_t, uint32_t&)
{
    return nullptr;
}

class LocalStringsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(InstallPrefs(new CMemoryPrefsImp)); }
    void TearDown() override
    {
        DeleteLocalStringManager();
        ClosePrefs();
        withFrench = false;
    }
    void Prefer(const char16_t* code)
    {
        CRkString s(code);
        SetString(kPreferredLanguageKey, &s);
    }
};

TEST_F(LocalStringsTest, FirstStartRecordsAutomaticAndFollowsTheSystem)
{
    ASSERT_TRUE(CreateLocalStringManager(LanguageFromWindowsId(0x0407), u'\r', TestFinder));
    EXPECT_FALSE(CreateLocalStringManager(1));
    EXPECT_EQ(GetLanguage(), 3u); // de, shown in English
    EXPECT_EQ(Text(GetLocalString(0)), u"OK");
    CRkString code;
    ASSERT_TRUE(GetString(kPreferredLanguageKey, code));
    EXPECT_EQ(Text(&code), u"**");

    EXPECT_TRUE(SetLanguage(2));
    EXPECT_FALSE(SetLanguage(kLanguageCount));
    EXPECT_EQ(GetLanguage(), 2u);
    EXPECT_EQ(Text(GetLocalString(0)), u"OK"); // not reloaded
    ASSERT_TRUE(GetString(kPreferredLanguageKey, code));
    EXPECT_EQ(Text(&code), u"fr");
}

TEST_F(LocalStringsTest, APreferredLanguageUsesItsResourceWhenThereIsOne)
{
    Prefer(u"fr");
    withFrench = true;
    ASSERT_TRUE(CreateLocalStringManager(1, u'\n', TestFinder));
    EXPECT_EQ(GetLanguage(), 2u);
    EXPECT_EQ(Text(GetLocalString(1)), u"Annuler");
    EXPECT_EQ(Text(GetLocalString(2)), u""); // past the end of a short table
    DeleteLocalStringManager();

    withFrench = false;
    ASSERT_TRUE(CreateLocalStringManager(1, u'\n', TestFinder));
    EXPECT_EQ(Text(GetLocalString(1)), u"Cancel");
    DeleteLocalStringManager();

    Prefer(u"FR"); // codes are case-sensitive: automatic
    ASSERT_TRUE(CreateLocalStringManager(5, u'\n', TestFinder));
    EXPECT_EQ(GetLanguage(), 5u);
}

TEST_F(LocalStringsTest, GettersDecorateAndFormat)
{
    ASSERT_TRUE(CreateLocalStringManager(1));
    EXPECT_EQ(Text(GetLocalLabel(21)), u"Title:");
    EXPECT_EQ(Text(GetLocalStringEllipsis(21)), u"Title...");
    CRkString book(u"My Book"), app(u"Vellumix");
    EXPECT_EQ(Text(FormatLocalString(301, &book)), u"Building My Book...");
    EXPECT_EQ(Text(FormatLocalString(167)), u"About ");
    EXPECT_EQ(Text(FormatLocalString(341, &app)), u"Vellumix Library");
    EXPECT_EQ(Text(GetLocalString(kEnglishStringCount)), u"");
    EXPECT_EQ(Text(FormatLocalString(100000, &book)), u"");
    // The result is one shared string.
    EXPECT_EQ(GetLocalString(0), GetLocalLabel(1));
}

TEST_F(LocalStringsTest, PlaceholdersBeyondTheArgumentsDisappear)
{
    static std::vector<uint8_t> bytes;
    bytes = Encode(u"^1-^2-^5|^\n^3 and ^2 then ^\n", false);
    auto finder = [](uint32_t, uint32_t& size) -> const uint8_t* {
        size = uint32_t(bytes.size());
        return bytes.data();
    };
    ASSERT_TRUE(CreateLocalStringManager(1, u'\n', finder));
    CRkString a(u"A"), b(u"B"), c(u"C");
    EXPECT_EQ(Text(FormatLocalString(0, &a)), u"A--|");
    EXPECT_EQ(Text(FormatLocalString(0, &a, &b)), u"A-B-|");
    EXPECT_EQ(Text(FormatLocalString(1, &a, nullptr, &c)), u" and  then "); // only leading arguments count
    EXPECT_EQ(Text(FormatLocalString(1, &a, &b, &c)), u"C and B then ");
}

TEST_F(LocalStringsTest, WithoutAnyResourceEveryGetterGivesNull)
{
    ASSERT_TRUE(CreateLocalStringManager(1, u'\n', NoResources));
    EXPECT_FALSE(GetLocalStringManager()->HasTable());
    EXPECT_EQ(GetLocalString(0), nullptr);
    EXPECT_EQ(GetLocalLabel(0), nullptr);
    EXPECT_EQ(FormatLocalString(0), nullptr);
    DeleteLocalStringManager();
    EXPECT_EQ(GetLocalString(0), nullptr);
}

TEST(Languages, TableAndWindowsIdentifiers)
{
    EXPECT_EQ(FindLanguage(CRkString(u"zh_CN")), 8u);
    EXPECT_EQ(FindLanguage(CRkString(u"xx")), 0u);
    EXPECT_EQ(GetLanguageResource(3), 11003u);
    EXPECT_EQ(GetLanguageResource(6), 11000u);
    EXPECT_EQ(GetLanguageCode(10), nullptr);
    EXPECT_EQ(LanguageFromWindowsId(0x040C), 2u);
    EXPECT_EQ(LanguageFromWindowsId(0x0804), 8u);
    EXPECT_EQ(LanguageFromWindowsId(0x0104), 9u);
    EXPECT_EQ(LanguageFromWindowsId(0x0419), 1u);
    // Windows' own Chinese identifiers: simplified for the PRC and
    // Singapore, traditional for Taiwan, Hong Kong and Macao.
    EXPECT_EQ(LanguageFromWindowsId(0x1004), 8u);
    EXPECT_EQ(LanguageFromWindowsId(0x0404), 9u);
    EXPECT_EQ(LanguageFromWindowsId(0x0C04), 9u);
    EXPECT_EQ(LanguageFromWindowsId(0x1404), 9u);
    EXPECT_EQ(LanguageFromWindowsId(0x0004), 1u);
}

} // namespace
