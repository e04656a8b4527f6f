#include "framework/core/Prefs.h"

#include <string>
#include <vector>

#include "framework/core/MemBuffer.h"
#include "framework/core/RkString.h"

namespace {

IPrefsImp* g_prefs = nullptr;

// Whether a value of another type may be replaced is the store's own rule.
bool SetTyped(uint32_t section, const char* key, uint16_t type, const void* data, uint32_t size)
{
    if (!g_prefs || !key)
        return false;
    return g_prefs->Set(section, key, type, data, size);
}

bool Missing(uint32_t section, const char* key)
{
    return g_prefs && key && !g_prefs->Exists(section, key);
}

// The payload size of a stored value of `type`, or false.
bool PayloadSize(uint32_t section, const char* key, uint16_t type, uint32_t& size)
{
    if (!g_prefs || !key || g_prefs->GetType(section, key) != type)
        return false;
    uint32_t stored = g_prefs->GetSize(section, key);
    if (stored < 2)
        return false;
    size = stored - 2;
    return true;
}

std::vector<uint8_t> EncodeString(const CRkString& s)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(s.GetLength() * 2 + 2);
    const char16_t* units = s.GetChars();
    for (uint32_t i = 0; i < s.GetLength(); ++i) {
        bytes.push_back(static_cast<uint8_t>(units[i]));
        bytes.push_back(static_cast<uint8_t>(units[i] >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

} // namespace

bool InstallPrefs(IPrefsImp* imp)
{
    if (!imp || g_prefs)
        return false;
    g_prefs = imp;
    return true;
}

bool ClosePrefs()
{
    if (!g_prefs)
        return false;
    bool flushed = g_prefs->Flush();
    delete g_prefs;
    g_prefs = nullptr;
    return flushed;
}

IPrefsImp* GetPrefsImp()
{
    return g_prefs;
}

bool GetInt(uint32_t section, const char* key, int32_t& value)
{
    uint32_t size;
    uint8_t b[4];
    if (!PayloadSize(section, key, kPrefTypeInt, size) || size != 4 || !g_prefs->Get(section, key, kPrefTypeInt, b, 4))
        return false;
    value = static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t(b[3]) << 24));
    return true;
}

bool SetInt(uint32_t section, const char* key, int32_t value)
{
    uint32_t u = static_cast<uint32_t>(value);
    uint8_t b[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
    return SetTyped(section, key, kPrefTypeInt, b, 4);
}

bool GetBool(uint32_t section, const char* key, bool& value)
{
    uint32_t size;
    uint8_t b = 0;
    if (!PayloadSize(section, key, kPrefTypeBool, size) || size != 1 ||
        !g_prefs->Get(section, key, kPrefTypeBool, &b, 1))
        return false;
    value = b != 0;
    return true;
}

bool SetBool(uint32_t section, const char* key, bool value)
{
    uint8_t b = value ? 1 : 0;
    return SetTyped(section, key, kPrefTypeBool, &b, 1);
}

bool GetString(uint32_t section, const char* key, CRkString& value)
{
    uint32_t size;
    if (!PayloadSize(section, key, kPrefTypeString, size))
        return false;
    std::vector<uint8_t> bytes(size);
    if (!g_prefs->Get(section, key, kPrefTypeString, bytes.data(), size))
        return false;
    // The text runs to the first 0 unit (or the end of a payload without one).
    std::u16string text;
    for (uint32_t i = 0; i + 1 < size; i += 2) {
        char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0)
            break;
        text += unit;
    }
    value.Assign(text.data(), static_cast<uint32_t>(text.size()));
    return true;
}

bool SetString(uint32_t section, const char* key, const CRkString* value)
{
    if (!value)
        return false;
    std::vector<uint8_t> bytes = EncodeString(*value);
    return SetTyped(section, key, kPrefTypeString, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

bool GetBuffer(uint32_t section, const char* key, CMemBuffer& value)
{
    uint32_t size;
    if (!PayloadSize(section, key, kPrefTypeBuffer, size))
        return false;
    std::vector<uint8_t> bytes(size);
    if (!g_prefs->Get(section, key, kPrefTypeBuffer, bytes.data(), size))
        return false;
    value.SetSize(0);
    value.Append(bytes.data(), size);
    return true;
}

bool SetBuffer(uint32_t section, const char* key, const CMemBuffer* value)
{
    if (!value)
        return false;
    return SetTyped(section, key, kPrefTypeBuffer, value->GetData(), value->GetSize());
}

bool SetDefaultInt(uint32_t section, const char* key, int32_t value)
{
    return Missing(section, key) && SetInt(section, key, value);
}

bool SetDefaultBool(uint32_t section, const char* key, bool value)
{
    return Missing(section, key) && SetBool(section, key, value);
}

bool SetDefaultString(uint32_t section, const char* key, const CRkString* value)
{
    return value && Missing(section, key) && SetString(section, key, value);
}

bool SetDefaultBuffer(uint32_t section, const char* key, const CMemBuffer* value)
{
    return value && Missing(section, key) && SetBuffer(section, key, value);
}

bool PrefExists(uint32_t section, const char* key)
{
    return g_prefs && key && g_prefs->Exists(section, key);
}

bool DeletePref(uint32_t section, const char* key)
{
    return g_prefs && key && g_prefs->Delete(section, key);
}

bool FlushPrefs()
{
    return g_prefs && g_prefs->Flush();
}

// Section 0 forms.
bool GetInt(const char* key, int32_t& value)
{
    return GetInt(0, key, value);
}
bool SetInt(const char* key, int32_t value)
{
    return SetInt(0, key, value);
}
bool GetBool(const char* key, bool& value)
{
    return GetBool(0, key, value);
}
bool SetBool(const char* key, bool value)
{
    return SetBool(0, key, value);
}
bool GetString(const char* key, CRkString& value)
{
    return GetString(0, key, value);
}
bool SetString(const char* key, const CRkString* value)
{
    return SetString(0, key, value);
}
bool GetBuffer(const char* key, CMemBuffer& value)
{
    return GetBuffer(0, key, value);
}
bool SetBuffer(const char* key, const CMemBuffer* value)
{
    return SetBuffer(0, key, value);
}
bool SetDefaultInt(const char* key, int32_t value)
{
    return SetDefaultInt(0, key, value);
}
bool SetDefaultBool(const char* key, bool value)
{
    return SetDefaultBool(0, key, value);
}
bool SetDefaultString(const char* key, const CRkString* value)
{
    return SetDefaultString(0, key, value);
}
bool SetDefaultBuffer(const char* key, const CMemBuffer* value)
{
    return SetDefaultBuffer(0, key, value);
}
bool PrefExists(const char* key)
{
    return PrefExists(0, key);
}
bool DeletePref(const char* key)
{
    return DeletePref(0, key);
}
