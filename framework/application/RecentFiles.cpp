#include "framework/application/RecentFiles.h"

#include <cstdio>

#include "framework/core/Prefs.h"

namespace {

struct EntryKeys {
    char display[24];
    char path[24];
    explicit EntryKeys(uint32_t n)
    {
        std::snprintf(display, sizeof display, "MRU.string%u", static_cast<unsigned>(n));
        std::snprintf(path, sizeof path, "MRU.fullpath%u", static_cast<unsigned>(n));
    }
};

// Our own keys may hold a value of the wrong type after a hand edit; that
// value is replaced rather than left to block the write.
bool WriteOwnString(const char* key, const CRkString& value)
{
    if (PrefExists(key) && GetPrefsImp()->GetType(0, key) != kPrefTypeString)
        DeletePref(key);
    return SetString(key, &value);
}

} // namespace

void CRkRecentFileList::Add(const CFile& file, const CRkString* display)
{
    Entry entry;
    if (display)
        entry.display.Assign(*display);
    else
        file.GetName(entry.display);
    int32_t listed = Find(file);
    if (listed >= 0)
        m_entries.erase(m_entries.begin() + listed);
    else if (m_entries.size() >= kMaxEntries)
        m_entries.pop_back();
    entry.file = std::make_unique<CFile>(file);
    m_entries.insert(m_entries.begin(), std::move(entry));
}

bool CRkRecentFileList::Remove(uint32_t index)
{
    if (index >= m_entries.size())
        return false;
    m_entries.erase(m_entries.begin() + index);
    return true;
}

void CRkRecentFileList::Clear()
{
    m_entries.clear();
}

const CFile* CRkRecentFileList::GetFile(uint32_t index) const
{
    return index < m_entries.size() ? m_entries[index].file.get() : nullptr;
}

const CRkString* CRkRecentFileList::GetDisplayString(uint32_t index) const
{
    return index < m_entries.size() ? &m_entries[index].display : nullptr;
}

int32_t CRkRecentFileList::Find(const CFile& file) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].file->IsSameFile(file))
            return static_cast<int32_t>(i);
    return -1;
}

void CRkRecentFileList::Load()
{
    for (uint32_t n = kMaxEntries; n >= 1; --n) {
        EntryKeys keys(n);
        CRkString display, path;
        if (!GetString(keys.display, display) || !GetString(keys.path, path) || path.IsEmpty())
            continue;
        CFile file(path);
        if (file.Exists())
            Add(file, &display);
    }
}

bool CRkRecentFileList::Save() const
{
    if (!GetPrefsImp())
        return false;
    bool ok = true;
    for (uint32_t n = kMaxEntries; n >= 1; --n) {
        EntryKeys keys(n);
        if (n > m_entries.size()) {
            DeletePref(keys.display);
            DeletePref(keys.path);
            continue;
        }
        const Entry& entry = m_entries[n - 1];
        CRkString path;
        entry.file->GetPath(path);
        ok = WriteOwnString(keys.display, entry.display) && ok;
        ok = WriteOwnString(keys.path, path) && ok;
    }
    return ok;
}
