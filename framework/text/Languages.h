// The languages the program can show, as stored in the preferences, and the
// string resource each one uses.
#pragma once

#include <cstdint>

class CRkString;

// Index 0 is the automatic choice, 1 English.
inline constexpr uint32_t kLanguageCount = 10;

// "**", "en", "fr", "de", "it", "es", "pt", "ja", "zh_CN", "zh_TW"; null past the end.
const char* GetLanguageCode(uint32_t index);
// The string resource of a language; 0 for the automatic entry or past the end.
uint32_t GetLanguageResource(uint32_t index);
// The index of a code, compared case-sensitively; a code not in the table
// counts as automatic (0).
uint32_t FindLanguage(const CRkString& code);

// The language of a Windows language identifier (0x0407 -> de); English for
// anything not in the table.
uint32_t LanguageFromWindowsId(uint16_t languageId);
