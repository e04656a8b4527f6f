// The recent-files list: up to ten files, most recent first, each with the
// text shown for it, kept in the preferences between runs.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/core/RkString.h"
#include "framework/io/File.h"

class CRkRecentFileList {
public:
    static constexpr uint32_t kMaxEntries = 10;

    CRkRecentFileList() = default;
    CRkRecentFileList(const CRkRecentFileList&) = delete;
    CRkRecentFileList& operator=(const CRkRecentFileList&) = delete;

    // Puts the file first; a listed file moves to the first place (taking
    // the new display text). The display text defaults to the file's name.
    // When the list is full the last entry is dropped.
    void Add(const CFile& file, const CRkString* display = nullptr);
    // Removes entry `index` and closes the gap; false when there is none.
    bool Remove(uint32_t index);
    void Clear();

    uint32_t GetCount() const { return static_cast<uint32_t>(m_entries.size()); }
    // Null when `index` is past the end.
    const CFile* GetFile(uint32_t index) const;
    const CRkString* GetDisplayString(uint32_t index) const;
    // The index of the entry naming the same file, or -1.
    int32_t Find(const CFile& file) const;

    // Adds the saved entries, oldest first, leaving out files that no longer
    // exist. Keys "MRU.string<n>" and "MRU.fullpath<n>", n = 1 (newest) to 10.
    void Load();
    // Writes every entry and deletes the keys of the unused places.
    // False when some value could not be written.
    bool Save() const;

private:
    struct Entry {
        CRkString display;
        std::unique_ptr<CFile> file;
    };
    std::vector<Entry> m_entries;
};
