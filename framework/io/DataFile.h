// A file of keyed blobs: an index of (key, offset, length) entries and one
// blob holding all values back to back. Optionally embedded as the single
// record of a device database.
#pragma once

#include <cstdint>

#include "framework/core/MemBuffer.h"
#include "framework/core/RkString.h"
#include "framework/io/File.h"

enum : uint32_t {
    kDataFileWriteBack = 1, // save when destroyed (if anything changed)
    kDataFileHidden = 2,    // passed to file creation
    kDataFileEmbedded = 4,  // the data may sit inside a device database
};

inline constexpr uint32_t kDataFileNoEntry = 0xFFFFFFFFu;

class CRkDataFile {
public:
    // Loads the file at once; a file that is missing or fails to load
    // behaves as an empty one.
    CRkDataFile(const CRkString& path, uint32_t creator, uint32_t flags, uint32_t type);
    CRkDataFile(const CFile& file, uint32_t creator, uint32_t flags, uint32_t type);
    // Saves when the write-back flag is set and something changed.
    ~CRkDataFile();
    CRkDataFile(const CRkDataFile&) = delete;
    CRkDataFile& operator=(const CRkDataFile&) = delete;

    // Reloads from disk, dropping unsaved changes: 0, or 1 when the file is
    // missing, unreadable or malformed (the data file is then empty).
    uint32_t Load();
    // Writes the whole file (to a sibling first, then renamed over the
    // original, so the file is either complete or untouched): 0 or 1.
    uint32_t Save();

    bool IsLoaded() const { return m_loaded; }
    bool IsDirty() const { return m_dirty; }
    uint32_t GetCount() const { return m_index.GetCount(); }

    // The entry index of a key, or kDataFileNoEntry.
    uint32_t Lookup(uint32_t key) const;
    // Copies the key's value into out: 0, or 1 when the key is absent.
    uint32_t Get(uint32_t key, CMemBuffer& out) const;
    // Stores n bytes under key: appended for a new key, replaced in place
    // for an existing one. 1 for null bytes with n above 0.
    uint32_t Set(uint32_t key, const void* bytes, uint32_t n);

    // Offset of the data file inside an embedded database we write.
    static constexpr uint32_t kEmbeddedStart = 88;

private:
    struct Entry {
        uint32_t key;
        uint32_t offset;
        uint32_t length;
    };
    Entry GetEntry(uint32_t i) const;
    uint32_t ReadFrom(CFile& file);
    void Serialize(CMemBuffer& out) const;

    CFile m_file;
    uint32_t m_type;
    uint32_t m_creator;
    uint32_t m_flags;
    CMemBuffer m_index;
    CMemBuffer m_blob;
    bool m_loaded = false;
    bool m_dirty = false;
};
