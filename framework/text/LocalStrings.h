// Localized strings: the string list of the user's language, loaded once at
// start-up, handed out by number with "^1" to "^4" placeholders filled in.
//
// Every getter returns the manager's one shared result string; the next
// request replaces its content, so callers copy what they keep.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RkString.h"

// Finds a string resource by number: its bytes and size, or null.
using StringResourceFinder = const uint8_t* (*)(uint32_t resourceId, uint32_t& size);

// The resources built into the program (11000, English, only).
const uint8_t* FindBuiltInStringResource(uint32_t resourceId, uint32_t& size);

inline constexpr char kPreferredLanguageKey[] = "LocalStringManager.PreferredLanguage";

class CRkLocalStringManager {
public:
    // Reads the preferred language from the preferences ("**", automatic,
    // at the first start), resolves automatic to `systemLanguage` (the
    // platform's choice, a language index) and loads that language's
    // resource through `finder`, or the English one when it is missing.
    // `newline` replaces backslash-n in the entries.
    explicit CRkLocalStringManager(uint32_t systemLanguage, char16_t newline = u'\n',
                                   StringResourceFinder finder = FindBuiltInStringResource);
    CRkLocalStringManager(const CRkLocalStringManager&) = delete;
    CRkLocalStringManager& operator=(const CRkLocalStringManager&) = delete;

    bool HasTable() const { return m_loaded; }
    uint32_t GetEntryCount() const { return static_cast<uint32_t>(m_entries.size()); }

    // Null when no table is loaded; an id outside the table gives "".
    const CRkString* GetLocalString(uint32_t id);
    // The entry followed by "...".
    const CRkString* GetLocalStringEllipsis(uint32_t id);
    // The entry followed by ":".
    const CRkString* GetLocalLabel(uint32_t id);
    // The entry with ^d replaced by argument d (1 to 4) for the leading
    // non-null arguments; any other ^d, and a final ^, are dropped.
    const CRkString* FormatLocalString(uint32_t id, const CRkString* a1 = nullptr, const CRkString* a2 = nullptr,
                                       const CRkString* a3 = nullptr, const CRkString* a4 = nullptr);

    uint32_t GetLanguage() const { return m_language; }
    // Records the language for the next start (the loaded strings stay);
    // false for an index outside the language table.
    bool SetLanguage(uint32_t index);

private:
    const CRkString* SetResult(uint32_t id, const char16_t* suffix);

    std::vector<CRkString> m_entries;
    uint32_t m_language = 0;
    bool m_loaded = false;
    CRkString m_result;
};

// The application's manager, made once while it starts and deleted when it
// ends. Creating a second time does nothing (false).
bool CreateLocalStringManager(uint32_t systemLanguage, char16_t newline = u'\n',
                              StringResourceFinder finder = FindBuiltInStringResource);
void DeleteLocalStringManager();
CRkLocalStringManager* GetLocalStringManager();

// The application manager's operations; null (or 0, false) without a manager.
const CRkString* GetLocalString(uint32_t id);
const CRkString* GetLocalStringEllipsis(uint32_t id);
const CRkString* GetLocalLabel(uint32_t id);
const CRkString* FormatLocalString(uint32_t id, const CRkString* a1 = nullptr, const CRkString* a2 = nullptr,
                                   const CRkString* a3 = nullptr, const CRkString* a4 = nullptr);
uint32_t GetLanguage();
bool SetLanguage(uint32_t index);
