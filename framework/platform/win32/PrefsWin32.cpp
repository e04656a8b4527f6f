#include "framework/platform/win32/PrefsWin32.h"

#include <cstring>

#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/Win32Text.h"

namespace {

constexpr uint32_t kTagSize = 2;

// An open registry key, closed when it goes.
class RegKey {
public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey()
    {
        if (m_key)
            ::RegCloseKey(m_key);
    }
    HKEY* Out() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Key names are ASCII; other bytes are taken as Latin-1.
std::wstring ValueName(const char* key)
{
    std::wstring name;
    for (const char* p = key; *p; ++p)
        name.push_back(wchar_t(static_cast<unsigned char>(*p)));
    return name;
}

bool OpenForReading(const std::wstring& path, RegKey& key)
{
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.Out()) == ERROR_SUCCESS;
}

uint16_t TagOf(const std::vector<uint8_t>& value)
{
    return value.size() < kTagSize ? 0 : uint16_t(value[0] | (value[1] << 8));
}

} // namespace

CWinPrefsImp::CWinPrefsImp(const CRkString& appName) : m_name(appName)
{
}

std::wstring CWinPrefsImp::GetKeyPath() const
{
    return L"Software\\Lumo\\" + ToWide(m_name);
}

bool CWinPrefsImp::ReadValue(uint32_t section, const char* key, std::vector<uint8_t>& out) const
{
    out.clear();
    RegKey reg;
    if (section != 0 || !key || !OpenForReading(GetKeyPath(), reg))
        return false;
    const std::wstring name = ValueName(key);
    // The value may change between asking its size and reading it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        if (::RegQueryValueExW(reg.Get(), name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
            return false;
        out.resize(size);
        LONG status = ::RegQueryValueExW(reg.Get(), name.c_str(), nullptr, nullptr, out.data(), &size);
        if (status == ERROR_SUCCESS) {
            out.resize(size);
            return true;
        }
        if (status != ERROR_MORE_DATA)
            return false;
    }
    return false;
}

uint32_t CWinPrefsImp::GetSize(uint32_t section, const char* key)
{
    RegKey reg;
    if (section != 0 || !key || !OpenForReading(GetKeyPath(), reg))
        return 0;
    DWORD size = 0;
    if (::RegQueryValueExW(reg.Get(), ValueName(key).c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return 0;
    return size;
}

uint16_t CWinPrefsImp::GetType(uint32_t section, const char* key)
{
    std::vector<uint8_t> value;
    return ReadValue(section, key, value) ? TagOf(value) : 0;
}

bool CWinPrefsImp::Exists(uint32_t section, const char* key)
{
    RegKey reg;
    if (section != 0 || !key || !OpenForReading(GetKeyPath(), reg))
        return false;
    return ::RegQueryValueExW(reg.Get(), ValueName(key).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool CWinPrefsImp::Delete(uint32_t section, const char* key)
{
    if (!Exists(section, key))
        return false;
    RegKey reg;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, GetKeyPath().c_str(), 0, KEY_SET_VALUE, reg.Out()) != ERROR_SUCCESS)
        return false;
    return ::RegDeleteValueW(reg.Get(), ValueName(key).c_str()) == ERROR_SUCCESS;
}

bool CWinPrefsImp::Get(uint32_t section, const char* key, uint16_t type, void* buffer, uint32_t size)
{
    std::vector<uint8_t> value;
    if (!ReadValue(section, key, value) || value.size() < kTagSize || TagOf(value) != type)
        return false;
    uint32_t payload = uint32_t(value.size()) - kTagSize;
    if (payload > size)
        payload = size;
    if (payload > 0) {
        if (!buffer)
            return false;
        std::memcpy(buffer, value.data() + kTagSize, payload);
    }
    return true;
}

bool CWinPrefsImp::Set(uint32_t section, const char* key, uint16_t type, const void* data, uint32_t size)
{
    if (section != 0 || !key || (!data && size > 0) || size > 0x7FFFFFFFu - kTagSize)
        return false;
    RegKey reg;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, GetKeyPath().c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          nullptr, reg.Out(), nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring name = ValueName(key);
    std::vector<uint8_t> value(kTagSize + size_t(size));
    // The stored value is compared only when it fits the new value's size:
    // a value of another type that fits stays; a longer one is replaced.
    DWORD stored = DWORD(value.size());
    if (::RegQueryValueExW(reg.Get(), name.c_str(), nullptr, nullptr, value.data(), &stored) == ERROR_SUCCESS &&
        stored >= kTagSize && uint16_t(value[0] | (value[1] << 8)) != type)
        return false;
    value[0] = uint8_t(type);
    value[1] = uint8_t(type >> 8);
    if (size > 0)
        std::memcpy(value.data() + kTagSize, data, size);
    return ::RegSetValueExW(reg.Get(), name.c_str(), 0, REG_BINARY, value.data(), DWORD(value.size())) == ERROR_SUCCESS;
}

IPrefsImp* CreatePrefsImp(const CRkString& appName)
{
    if (appName.IsEmpty())
        return nullptr;
    return new CWinPrefsImp(appName);
}
