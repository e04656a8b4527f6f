// The preference store on Windows: one REG_BINARY value per key under
// HKEY_CURRENT_USER\Software\Lumo\<application name>. A value's data are the
// type tag (16-bit little-endian) followed by the payload.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/PrefsImp.h"
#include "framework/core/RkString.h"

class CWinPrefsImp : public IPrefsImp {
public:
    explicit CWinPrefsImp(const CRkString& appName);

    // The key below HKEY_CURRENT_USER: Software\Lumo\<name>.
    std::wstring GetKeyPath() const;

    bool Flush() override { return true; } // the registry keeps what is written
    uint32_t GetSize(uint32_t section, const char* key) override;
    uint16_t GetType(uint32_t section, const char* key) override;
    bool Exists(uint32_t section, const char* key) override;
    bool Delete(uint32_t section, const char* key) override;
    bool Get(uint32_t section, const char* key, uint16_t type, void* buffer, uint32_t size) override;
    // Writes unless a value of another type is stored there and fits in the
    // new value's size (tag included): a longer stored value is replaced
    // whatever its type.
    bool Set(uint32_t section, const char* key, uint16_t type, const void* data, uint32_t size) override;

private:
    // The whole stored value, read with read access only; false when absent.
    bool ReadValue(uint32_t section, const char* key, std::vector<uint8_t>& out) const;

    CRkString m_name;
};
