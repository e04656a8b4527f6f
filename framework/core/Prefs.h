// The program's preferences: typed values by key, in the store installed for
// the application. Every function does nothing and returns false when no
// store is installed, and leaves the caller's value untouched on failure.
// The forms without a section use section 0, the application's own.
#pragma once

#include <cstdint>

#include "framework/core/PrefsImp.h"

class CMemBuffer;
class CRkString;

// Makes `imp` the open store and takes ownership of it. Refused (false,
// `imp` stays the caller's) when a store is already open or `imp` is null.
bool InstallPrefs(IPrefsImp* imp);
// Flushes, deletes and forgets the open store; false when the flush failed.
bool ClosePrefs();
// The open store, or null.
IPrefsImp* GetPrefsImp();

bool GetInt(const char* key, int32_t& value);
bool GetInt(uint32_t section, const char* key, int32_t& value);
bool SetInt(const char* key, int32_t value);
bool SetInt(uint32_t section, const char* key, int32_t value);

bool GetBool(const char* key, bool& value);
bool GetBool(uint32_t section, const char* key, bool& value);
bool SetBool(const char* key, bool value);
bool SetBool(uint32_t section, const char* key, bool value);

// The whole stored text, however long.
bool GetString(const char* key, CRkString& value);
bool GetString(uint32_t section, const char* key, CRkString& value);
// Do nothing for a null string.
bool SetString(const char* key, const CRkString* value);
bool SetString(uint32_t section, const char* key, const CRkString* value);

// Replaces the buffer's bytes with the stored ones.
bool GetBuffer(const char* key, CMemBuffer& value);
bool GetBuffer(uint32_t section, const char* key, CMemBuffer& value);
// Do nothing for a null buffer.
bool SetBuffer(const char* key, const CMemBuffer* value);
bool SetBuffer(uint32_t section, const char* key, const CMemBuffer* value);

// Write the value only when no value of that name exists; true when written.
bool SetDefaultInt(const char* key, int32_t value);
bool SetDefaultInt(uint32_t section, const char* key, int32_t value);
bool SetDefaultBool(const char* key, bool value);
bool SetDefaultBool(uint32_t section, const char* key, bool value);
bool SetDefaultString(const char* key, const CRkString* value);
bool SetDefaultString(uint32_t section, const char* key, const CRkString* value);
bool SetDefaultBuffer(const char* key, const CMemBuffer* value);
bool SetDefaultBuffer(uint32_t section, const char* key, const CMemBuffer* value);

bool PrefExists(const char* key);
bool PrefExists(uint32_t section, const char* key);
// True when the value existed and was removed.
bool DeletePref(const char* key);
bool DeletePref(uint32_t section, const char* key);
bool FlushPrefs();
