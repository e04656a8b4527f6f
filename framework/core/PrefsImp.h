// The storage behind the preference functions: one typed key-value store per
// application name. Every operation takes a section number first; 0 is the
// application's own section.
#pragma once

#include <cstdint>

class CRkString;

// Type tags of stored values.
enum : uint16_t {
    kPrefTypeInt = 1,    // 4 bytes, little-endian
    kPrefTypeBuffer = 2, // the bytes as given
    kPrefTypeBool = 4,   // 1 byte, 0 or 1
    kPrefTypeString = 5, // UTF-16 code units, little-endian, then a 0 unit
};

// Keys are NUL-terminated ASCII names chosen by the program.
class IPrefsImp {
public:
    virtual ~IPrefsImp() = default;

    // Makes written values durable; false when they could not be saved.
    virtual bool Flush() = 0;
    // The stored size including the 2-byte tag, or 0 when absent.
    virtual uint32_t GetSize(uint32_t section, const char* key) = 0;
    // The stored type tag, or 0 when absent.
    virtual uint16_t GetType(uint32_t section, const char* key) = 0;
    virtual bool Exists(uint32_t section, const char* key) = 0;
    // True when the value existed and was removed.
    virtual bool Delete(uint32_t section, const char* key) = 0;
    // Copies at most `size` payload bytes into `buffer`; true when a value of
    // that name and type exists.
    virtual bool Get(uint32_t section, const char* key, uint16_t type, void* buffer, uint32_t size) = 0;
    // Stores the payload under `key`; true when the value is now held (and
    // saved, for a durable store). Whether a value of another type stored
    // under that key is replaced is up to each store.
    virtual bool Set(uint32_t section, const char* key, uint16_t type, const void* data, uint32_t size) = 0;
};

// The platform's store for an application name (defined by the platform
// library chosen in the build); null when no store can be made for the name.
IPrefsImp* CreatePrefsImp(const CRkString& appName);
