// The registry store: every type through the preference functions, the
// stored layout, and the store's own rule for writing over another type.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "Win32TestSupport.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/Prefs.h"
#include "framework/platform/win32/PrefsWin32.h"
#include "framework/platform/win32/Win32Api.h"

namespace {

// The raw registry value, or false.
bool ReadRaw(const wchar_t* keyPath, const wchar_t* name, std::vector<uint8_t>& out, DWORD& type)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    bool ok = ::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    out.resize(size);
    ok = ok && ::RegQueryValueExW(key, name, nullptr, &type, out.data(), &size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

bool KeyExists(const wchar_t* keyPath)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

class WinPrefs : public ::testing::Test {
protected:
    static constexpr const wchar_t* kKey = L"Software\\Lumo\\VxPrefsTest";
    void SetUp() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
        imp = new CWinPrefsImp(CRkString(u"VxPrefsTest"));
        ASSERT_TRUE(InstallPrefs(imp));
    }
    void TearDown() override
    {
        ClosePrefs();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    }
    std::vector<uint8_t> Raw(const wchar_t* name)
    {
        std::vector<uint8_t> bytes;
        DWORD type = 0;
        EXPECT_TRUE(ReadRaw(kKey, name, bytes, type));
        EXPECT_EQ(type, DWORD(REG_BINARY));
        return bytes;
    }
    CWinPrefsImp* imp = nullptr;
};

TEST_F(WinPrefs, EveryTypeReadsBackTheSame)
{
    std::u16string longText(3000, u'x');
    longText[1234] = u'\u00e9';
    const uint8_t bytes[] = {0, 1, 2, 0xFF, 0x80};
    CMemBuffer buffer, empty;
    buffer.Append(bytes, sizeof(bytes));
    const CRkString text(longText.data(), uint32_t(longText.size()));
    const CRkString none;

    EXPECT_TRUE(SetInt("Int", -123456789));
    EXPECT_TRUE(SetBool("True", true));
    EXPECT_TRUE(SetBool("False", false));
    EXPECT_TRUE(SetString("Text", &text));
    EXPECT_TRUE(SetString("NoText", &none));
    EXPECT_TRUE(SetBuffer("Buffer", &buffer));
    EXPECT_TRUE(SetBuffer("NoBuffer", &empty));

    int32_t i = 0;
    bool t = false, f = true;
    CRkString s, n(u"left");
    CMemBuffer b, e;
    e.Append(bytes, 2);
    ASSERT_TRUE(GetInt("Int", i));
    ASSERT_TRUE(GetBool("True", t));
    ASSERT_TRUE(GetBool("False", f));
    ASSERT_TRUE(GetString("Text", s));
    ASSERT_TRUE(GetString("NoText", n));
    ASSERT_TRUE(GetBuffer("Buffer", b));
    ASSERT_TRUE(GetBuffer("NoBuffer", e));
    EXPECT_EQ(i, -123456789);
    EXPECT_TRUE(t);
    EXPECT_FALSE(f);
    EXPECT_EQ(Units(s), longText);
    EXPECT_TRUE(n.IsEmpty());
    ASSERT_EQ(b.GetSize(), sizeof(bytes));
    EXPECT_EQ(std::memcmp(b.GetData(), bytes, sizeof(bytes)), 0);
    EXPECT_EQ(e.GetSize(), 0u);

    // Written through: a second store over the same key sees everything.
    CWinPrefsImp again(CRkString(u"VxPrefsTest"));
    EXPECT_EQ(again.GetSize(0, "Int"), 6u);
    EXPECT_EQ(again.GetType(0, "Text"), kPrefTypeString);
    EXPECT_EQ(again.GetSize(0, "Text"), 2u + 3000u * 2u + 2u);
    EXPECT_EQ(again.GetSize(0, "NoBuffer"), 2u);
}

TEST_F(WinPrefs, ValuesAreTheTagThenThePayload)
{
    const CRkString name(u"Lumo");
    SetInt("Count", 42);
    SetBool("Flag", true);
    SetString("Name", &name);
    EXPECT_EQ(Raw(L"Count"), (std::vector<uint8_t>{1, 0, 42, 0, 0, 0}));
    EXPECT_EQ(Raw(L"Flag"), (std::vector<uint8_t>{4, 0, 1}));
    EXPECT_EQ(Raw(L"Name"), (std::vector<uint8_t>{5, 0, 'L', 0, 'u', 0, 'm', 0, 'o', 0, 0, 0}));
}

TEST_F(WinPrefs, ReadingNeverCreatesTheKey)
{
    int32_t i = 7;
    EXPECT_FALSE(GetInt("Missing", i));
    EXPECT_EQ(i, 7);
    EXPECT_FALSE(PrefExists("Missing"));
    EXPECT_FALSE(DeletePref("Missing"));
    EXPECT_EQ(imp->GetSize(0, "Missing"), 0u);
    EXPECT_EQ(imp->GetType(0, "Missing"), 0u);
    EXPECT_FALSE(KeyExists(kKey));
    // SetDefault writes once; the second default leaves the first in place.
    EXPECT_TRUE(SetDefaultBool("Overwrite", false));
    EXPECT_FALSE(SetDefaultBool("Overwrite", true));
    bool overwrite = true;
    ASSERT_TRUE(GetBool("Overwrite", overwrite));
    EXPECT_FALSE(overwrite);
    EXPECT_TRUE(KeyExists(kKey));
    EXPECT_TRUE(DeletePref("Overwrite"));
    EXPECT_FALSE(PrefExists("Overwrite"));
}

TEST_F(WinPrefs, OnlyTheApplicationsSectionIsServed)
{
    EXPECT_FALSE(imp->Set(1, "Other", kPrefTypeBool, "\x01", 1));
    EXPECT_FALSE(imp->Exists(1, "Other"));
    EXPECT_TRUE(imp->Set(0, "Other", kPrefTypeBool, "\x01", 1));
    EXPECT_FALSE(imp->Exists(1, "Other"));
    uint8_t b = 0;
    EXPECT_FALSE(imp->Get(1, "Other", kPrefTypeBool, &b, 1));
    EXPECT_FALSE(imp->Delete(1, "Other"));
    EXPECT_TRUE(imp->Get(0, "Other", kPrefTypeBool, &b, 1));
    EXPECT_EQ(b, 1);
}

// The store's rule, asked directly (the preference functions add their own
// check of the stored type): a stored value of another type is kept when it
// fits in the new value's size, and replaced when it is longer.
TEST_F(WinPrefs, AnotherTypeIsReplacedOnlyWhenItIsLongerThanTheNewValue)
{
    const uint8_t four[4] = {9, 0, 0, 0};
    const char16_t one[] = u"a";
    const char16_t two[] = u"ab";
    ASSERT_TRUE(imp->Set(0, "Short", kPrefTypeString, one, 4)); // 6 bytes stored
    ASSERT_TRUE(imp->Set(0, "Empty", kPrefTypeString, u"", 2)); // 4 bytes stored
    ASSERT_TRUE(imp->Set(0, "Long", kPrefTypeString, two, 6));  // 8 bytes stored
    EXPECT_FALSE(imp->Set(0, "Short", kPrefTypeInt, four, 4));
    EXPECT_FALSE(imp->Set(0, "Empty", kPrefTypeInt, four, 4));
    EXPECT_TRUE(imp->Set(0, "Long", kPrefTypeInt, four, 4));
    EXPECT_EQ(imp->GetType(0, "Short"), kPrefTypeString);
    EXPECT_EQ(Raw(L"Short"), (std::vector<uint8_t>{5, 0, 'a', 0, 0, 0}));
    EXPECT_EQ(Raw(L"Empty"), (std::vector<uint8_t>{5, 0, 0, 0}));
    EXPECT_EQ(Raw(L"Long"), (std::vector<uint8_t>{1, 0, 9, 0, 0, 0}));
    // The same type is written whatever the sizes.
    EXPECT_TRUE(imp->Set(0, "Short", kPrefTypeString, two, 6));
    EXPECT_TRUE(imp->Set(0, "Short", kPrefTypeString, u"", 2));
    EXPECT_EQ(Raw(L"Short"), (std::vector<uint8_t>{5, 0, 0, 0}));
    // A read asks for the type: an integer is no string.
    char16_t units[4] = {};
    EXPECT_FALSE(imp->Get(0, "Long", kPrefTypeString, units, sizeof(units)));
    EXPECT_TRUE(imp->Get(0, "Short", kPrefTypeString, units, 2));
}

// Leaves its values in the registry when VX_KEEP_REGISTRY_VALUES is set, for
// the check of scripts/windows-checks.sh with `wine reg query`.
TEST(WinPrefsLayout, WritesOneValueOfEveryType)
{
    const wchar_t* key = L"Software\\Lumo\\VxRegistryCheck";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key);
    ASSERT_TRUE(InstallPrefs(new CWinPrefsImp(CRkString(u"VxRegistryCheck"))));
    const uint8_t bytes[] = {0xDE, 0xAD, 0xBE, 0xEF};
    CMemBuffer buffer, empty;
    buffer.Append(bytes, sizeof(bytes));
    const CRkString name(u"Lumo");
    EXPECT_TRUE(SetBool("Flag", true));
    EXPECT_TRUE(SetInt("Count", 42));
    EXPECT_TRUE(SetInt("Negative", -2));
    EXPECT_TRUE(SetBuffer("Bytes", &buffer));
    EXPECT_TRUE(SetBuffer("Empty", &empty));
    EXPECT_TRUE(SetString("Name", &name));
    ClosePrefs();
    std::vector<uint8_t> raw;
    DWORD type = 0;
    ASSERT_TRUE(ReadRaw(key, L"Negative", raw, type));
    EXPECT_EQ(raw, (std::vector<uint8_t>{1, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
    if (!std::getenv("VX_KEEP_REGISTRY_VALUES"))
        ::RegDeleteTreeW(HKEY_CURRENT_USER, key);
}

} // namespace
