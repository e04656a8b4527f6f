#include <gtest/gtest.h>

#include <string>

#include "framework/core/MemBuffer.h"
#include "framework/core/Prefs.h"
#include "framework/core/PrefsTable.h"
#include "framework/core/PrefsText.h"
#include "framework/core/RkString.h"

using namespace std::string_literals;

namespace {

std::u16string Text(const CRkString& s)
{
    return std::u16string(s.GetChars(), s.GetLength());
}

// Installs a fresh memory store for each test and closes it afterwards.
class PrefsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_store = new CMemoryPrefsImp;
        ASSERT_TRUE(InstallPrefs(m_store));
    }
    void TearDown() override { ClosePrefs(); }

    CMemoryPrefsImp* m_store = nullptr;
};

// Counts the calls a closing store receives.
struct CountingPrefs : CMemoryPrefsImp {
    int* flushes;
    bool* deleted;
    CountingPrefs(int* f, bool* d) : flushes(f), deleted(d) {}
    ~CountingPrefs() override { *deleted = true; }
    bool Flush() override
    {
        ++*flushes;
        return true;
    }
};

TEST(PrefsNoStore, EveryFunctionFailsAndLeavesValuesAlone)
{
    ASSERT_EQ(GetPrefsImp(), nullptr);
    int32_t n = 7;
    bool b = true;
    CRkString s(u"keep");
    EXPECT_FALSE(SetInt("a", 1));
    EXPECT_FALSE(GetInt("a", n));
    EXPECT_FALSE(SetDefaultBool("b", false));
    EXPECT_FALSE(GetBool("b", b));
    EXPECT_FALSE(GetString("c", s));
    EXPECT_FALSE(PrefExists("a"));
    EXPECT_FALSE(FlushPrefs());
    EXPECT_FALSE(ClosePrefs());
    EXPECT_EQ(n, 7);
    EXPECT_TRUE(b);
    EXPECT_EQ(Text(s), u"keep");
}

TEST(PrefsInstall, SecondStoreIsRefusedAndCloseFlushesThenDeletes)
{
    int flushes = 0;
    bool deleted = false;
    auto* first = new CountingPrefs(&flushes, &deleted);
    CMemoryPrefsImp second;
    ASSERT_TRUE(InstallPrefs(first));
    EXPECT_FALSE(InstallPrefs(&second));
    EXPECT_FALSE(InstallPrefs(nullptr));
    EXPECT_EQ(GetPrefsImp(), first);
    EXPECT_TRUE(ClosePrefs());
    EXPECT_EQ(flushes, 1);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(GetPrefsImp(), nullptr);
}

TEST_F(PrefsTest, DefaultsAreWrittenOnlyOnce)
{
    EXPECT_TRUE(SetDefaultBool("Overwrite", false));
    EXPECT_FALSE(SetDefaultBool("Overwrite", true));
    bool value = true;
    ASSERT_TRUE(GetBool("Overwrite", value));
    EXPECT_FALSE(value);

    CRkString lang(u"**"), other(u"en");
    EXPECT_TRUE(SetDefaultString("Lang", &lang));
    EXPECT_FALSE(SetDefaultString("Lang", &other));
    EXPECT_FALSE(SetDefaultString("Missing", nullptr));
    EXPECT_FALSE(PrefExists("Missing"));
    CRkString read;
    ASSERT_TRUE(GetString("Lang", read));
    EXPECT_EQ(Text(read), u"**");

    EXPECT_TRUE(SetDefaultInt("WindowPos.x", 40));
    EXPECT_FALSE(SetDefaultInt("WindowPos.x", 80));
    int32_t x = 0;
    ASSERT_TRUE(GetInt("WindowPos.x", x));
    EXPECT_EQ(x, 40);
}

TEST_F(PrefsTest, StoredFormsCarryTagAndLittleEndianPayload)
{
    SetInt("i", -2);
    SetBool("b", true);
    CRkString s(u"Ab");
    SetString("s", &s);
    EXPECT_EQ(m_store->GetSize(0, "i"), 6u);
    EXPECT_EQ(m_store->GetSize(0, "b"), 3u);
    EXPECT_EQ(m_store->GetSize(0, "s"), 8u); // tag + 2 units + 0 unit
    EXPECT_EQ(m_store->GetType(0, "s"), kPrefTypeString);
    const PrefValue* i = m_store->GetTable().Find(0, "i");
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->payload, (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(m_store->GetTable().Find(0, "s")->payload, (std::vector<uint8_t>{'A', 0, 'b', 0, 0, 0}));
    EXPECT_EQ(m_store->GetSize(0, "absent"), 0u);
}

// The functions leave the type rule to the store: this one replaces.
TEST_F(PrefsTest, TheStoreDecidesWhetherAnotherTypeIsReplaced)
{
    CRkString s(u"longer text");
    ASSERT_TRUE(SetString("k", &s));
    EXPECT_TRUE(SetInt("k", 5));
    int32_t n = 0;
    ASSERT_TRUE(GetInt("k", n));
    EXPECT_EQ(n, 5);
    // A value of another type is still never read.
    CRkString back(u"keep");
    EXPECT_FALSE(GetString("k", back));
    EXPECT_EQ(Text(back), u"keep");
    bool b = false;
    EXPECT_FALSE(GetBool("k", b));

    // A store that refuses gets every write and has the last word.
    struct Refusing : CMemoryPrefsImp {
        int sets = 0;
        bool Set(uint32_t, const char*, uint16_t, const void*, uint32_t) override
        {
            ++sets;
            return false;
        }
    };
    ClosePrefs();
    auto* refusing = new Refusing;
    ASSERT_TRUE(InstallPrefs(refusing));
    EXPECT_FALSE(SetBool("b", true));
    EXPECT_FALSE(SetDefaultInt("i", 1));
    EXPECT_EQ(refusing->sets, 2);
    EXPECT_FALSE(PrefExists("b"));
}

TEST_F(PrefsTest, ValuesRoundTripAndSectionsAreSeparate)
{
    std::u16string longText(5000, u'w');
    longText[4999] = u'\u00e9';
    CRkString s(longText.c_str());
    ASSERT_TRUE(SetString("long", &s));
    CRkString back;
    ASSERT_TRUE(GetString("long", back));
    EXPECT_EQ(Text(back), longText);

    CMemBuffer buffer;
    buffer.Append("\x00\x01\xFF", 3);
    ASSERT_TRUE(SetBuffer("buf", &buffer));
    EXPECT_FALSE(SetBuffer("nobuf", nullptr));
    CMemBuffer read;
    read.Append("old", 3);
    ASSERT_TRUE(GetBuffer("buf", read));
    ASSERT_EQ(read.GetSize(), 3u);
    EXPECT_EQ(read.GetData()[2], 0xFF);

    ASSERT_TRUE(SetInt(3, "x", 30));
    ASSERT_TRUE(SetInt("x", 0));
    int32_t a = -1, b = -1;
    ASSERT_TRUE(GetInt(3, "x", a));
    ASSERT_TRUE(GetInt("x", b));
    EXPECT_EQ(a, 30);
    EXPECT_EQ(b, 0);
    EXPECT_FALSE(PrefExists(4, "x"));
}

TEST_F(PrefsTest, MalformedStoredValuesAreNotRead)
{
    uint8_t three[3] = {1, 2, 3};
    m_store->Set(0, "short", kPrefTypeInt, three, 3);
    int32_t n = 11;
    EXPECT_FALSE(GetInt("short", n));
    EXPECT_EQ(n, 11);
    // A string payload without its 0 unit still reads up to its end.
    uint8_t units[4] = {'h', 0, 'i', 0};
    m_store->Set(0, "bare", kPrefTypeString, units, 4);
    CRkString s;
    ASSERT_TRUE(GetString("bare", s));
    EXPECT_EQ(Text(s), u"hi");
}

TEST(PrefsText, EveryKindOfValueSurvivesTheFileForm)
{
    CMemoryPrefsImp store;
    CPrefsTable& table = store.GetTable();
    auto putString = [&](const char* key, std::u16string text) {
        std::vector<uint8_t> p;
        for (char16_t u : text) {
            p.push_back(uint8_t(u));
            p.push_back(uint8_t(u >> 8));
        }
        p.push_back(0);
        p.push_back(0);
        table.Put(0, key, PrefValue{kPrefTypeString, p});
    };
    putString("plain", u"Hello");
    putString("tricky", u"q\"b\\t\tn\nr\r\u2028 \U0001F600 \u00e9\u4e2d");
    putString("lone", std::u16string(1, char16_t(0xD800)) + u"x" + std::u16string(1, char16_t(0xDC01)));
    putString("nul", std::u16string(u"a") + char16_t(0) + u"b");
    putString("", u"empty key");
    table.Put(0, "key\twith\\odd\x01", PrefValue{kPrefTypeInt, {1, 0, 0, 0x80}});
    table.Put(7, "b", PrefValue{kPrefTypeBool, {1}});
    table.Put(0, "b2", PrefValue{kPrefTypeBool, {0}});
    table.Put(0, "bool3", PrefValue{kPrefTypeBool, {3}});
    table.Put(0, "int3", PrefValue{kPrefTypeInt, {1, 2, 3}});
    table.Put(0, "buf", PrefValue{kPrefTypeBuffer, {}});
    table.Put(0, "odd", PrefValue{kPrefTypeString, {'a'}});
    table.Put(0, "tag9", PrefValue{9, {0xAB}});

    std::string text = FormatPrefsText(table, "Test");
    EXPECT_NE(text.find("0\t1\tkey\\twith\\\\odd\\x01\t-2147483647\n"), std::string::npos) << text;
    EXPECT_NE(text.find("0\t5\tplain\t\"Hello\"\n"), std::string::npos);
    EXPECT_NE(text.find("7\t4\tb\ttrue\n"), std::string::npos);
    CPrefsTable back;
    std::string error;
    ASSERT_TRUE(ParsePrefsText(text.data(), text.size(), back, error)) << error << "\n" << text;
    EXPECT_EQ(back.GetValues(), table.GetValues());
}

TEST(PrefsText, DamagedTextIsRejectedWithItsLine)
{
    struct Case {
        std::string text;
        const char* where;
    } cases[] = {
        {"Settings\n", "line 1:"},
        {"LumoPrefs 1\n0\t1\tx\n", "line 2:"},
        {"LumoPrefs 1\n# ok\n\n0\t1\tx\ttrue\n", "line 4:"},
        {"LumoPrefs 1\n0\t4\tx\t1\n", "line 2:"},
        {"LumoPrefs 1\n0\t5\tx\t\"open\n", "line 2:"},
        {"LumoPrefs 1\n0\t5\tx\t\"bad\\q\"\n", "line 2:"},
        {"LumoPrefs 1\n0\t5\tx\t\"\xC3\"\n", "line 2:"},
        {"LumoPrefs 1\n0\t2\tx\thex:abc\n", "line 2:"},
        {"LumoPrefs 1\n0\t1\tx\t99999999999\n", "line 2:"},
        {"LumoPrefs 1\n-1\t1\tx\t1\n", "line 2:"},
        {"LumoPrefs 1\n0\t0\tx\thex:\n", "line 2:"},
        {"LumoPrefs 1\n0\t1\tx\t1\0\n"s, "line 2:"},
    };
    for (const Case& c : cases) {
        CPrefsTable table;
        table.Put(0, "stale", PrefValue{kPrefTypeBool, {1}});
        std::string error;
        EXPECT_FALSE(ParsePrefsText(c.text.data(), c.text.size(), table, error)) << c.text;
        EXPECT_EQ(error.rfind(c.where, 0), 0u) << c.text << " -> " << error;
        EXPECT_EQ(table.GetCount(), 0u);
    }
    CPrefsTable table;
    std::string error;
    std::string crlf = "LumoPrefs 1\r\n0\t1\tx\t5\r\n0\t1\tx\t6\n";
    ASSERT_TRUE(ParsePrefsText(crlf.data(), crlf.size(), table, error)) << error;
    EXPECT_EQ(table.Find(0, "x")->payload[0], 6); // the last of two lines wins
    EXPECT_TRUE(ParsePrefsText("", 0, table, error));
    EXPECT_EQ(table.GetCount(), 0u);
}

} // namespace
