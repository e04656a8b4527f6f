#include "framework/text/LocalStrings.h"

#include "framework/core/Prefs.h"
#include "framework/text/EnglishStrings.h"
#include "framework/text/Languages.h"
#include "framework/text/StringResource.h"

namespace {

CRkLocalStringManager* g_manager = nullptr;

constexpr uint32_t kAutomatic = 0;
constexpr uint32_t kEnglish = 1;

CRkString CodeString(const char* code)
{
    return CRkString(code, kEncodingDeviceLatin);
}

} // namespace

const uint8_t* FindBuiltInStringResource(uint32_t resourceId, uint32_t& size)
{
    if (resourceId != kEnglishStringResource)
        return nullptr;
    return GetEnglishStringResource(size);
}

CRkLocalStringManager::CRkLocalStringManager(uint32_t systemLanguage, char16_t newline, StringResourceFinder finder)
{
    CRkString code = CodeString(GetLanguageCode(m_language));
    SetDefaultString(kPreferredLanguageKey, &code);
    GetString(kPreferredLanguageKey, code);
    m_language = FindLanguage(code);
    if (m_language == kAutomatic)
        m_language = systemLanguage > kAutomatic && systemLanguage < kLanguageCount ? systemLanguage : kEnglish;
    if (!finder)
        return;
    uint32_t size = 0;
    const uint8_t* data = finder(GetLanguageResource(m_language), size);
    if (!data)
        data = finder(kEnglishStringResource, size);
    if (!data)
        return;
    m_entries = SplitStringResource(data, size, newline);
    m_loaded = true;
}

const CRkString* CRkLocalStringManager::SetResult(uint32_t id, const char16_t* suffix)
{
    if (!m_loaded)
        return nullptr;
    if (id < m_entries.size())
        m_result.Assign(m_entries[id]);
    else
        m_result.Empty();
    if (suffix)
        m_result.Append(suffix);
    return &m_result;
}

const CRkString* CRkLocalStringManager::GetLocalString(uint32_t id)
{
    return SetResult(id, nullptr);
}

const CRkString* CRkLocalStringManager::GetLocalStringEllipsis(uint32_t id)
{
    return SetResult(id, u"...");
}

const CRkString* CRkLocalStringManager::GetLocalLabel(uint32_t id)
{
    return SetResult(id, u":");
}

const CRkString* CRkLocalStringManager::FormatLocalString(uint32_t id, const CRkString* a1, const CRkString* a2,
                                                          const CRkString* a3, const CRkString* a4)
{
    if (!m_loaded)
        return nullptr;
    const CRkString* args[4] = {a1, a2, a3, a4};
    uint32_t count = 0;
    while (count < 4 && args[count])
        ++count;
    m_result.Empty();
    if (id >= m_entries.size())
        return &m_result;
    const CRkString& entry = m_entries[id];
    uint32_t length = entry.GetLength();
    for (uint32_t i = 0; i < length; ++i) {
        char16_t unit = entry.GetAt(i);
        if (unit != u'^') {
            m_result.Append(unit);
            continue;
        }
        if (++i == length)
            break;
        uint32_t d = static_cast<uint32_t>(entry.GetAt(i) - u'0');
        if (d >= 1 && d <= count)
            m_result.Append(*args[d - 1]);
    }
    return &m_result;
}

bool CRkLocalStringManager::SetLanguage(uint32_t index)
{
    if (index >= kLanguageCount)
        return false;
    m_language = index;
    CRkString code = CodeString(GetLanguageCode(index));
    SetString(kPreferredLanguageKey, &code);
    return true;
}

bool CreateLocalStringManager(uint32_t systemLanguage, char16_t newline, StringResourceFinder finder)
{
    if (g_manager)
        return false;
    g_manager = new CRkLocalStringManager(systemLanguage, newline, finder);
    return true;
}

void DeleteLocalStringManager()
{
    delete g_manager;
    g_manager = nullptr;
}

CRkLocalStringManager* GetLocalStringManager()
{
    return g_manager;
}

const CRkString* GetLocalString(uint32_t id)
{
    return g_manager ? g_manager->GetLocalString(id) : nullptr;
}

const CRkString* GetLocalStringEllipsis(uint32_t id)
{
    return g_manager ? g_manager->GetLocalStringEllipsis(id) : nullptr;
}

const CRkString* GetLocalLabel(uint32_t id)
{
    return g_manager ? g_manager->GetLocalLabel(id) : nullptr;
}

const CRkString* FormatLocalString(uint32_t id, const CRkString* a1, const CRkString* a2, const CRkString* a3,
                                   const CRkString* a4)
{
    return g_manager ? g_manager->FormatLocalString(id, a1, a2, a3, a4) : nullptr;
}

uint32_t GetLanguage()
{
    return g_manager ? g_manager->GetLanguage() : 0;
}

bool SetLanguage(uint32_t index)
{
    return g_manager && g_manager->SetLanguage(index);
}
