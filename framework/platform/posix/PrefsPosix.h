// The preference store of POSIX systems: one readable text file per
// application, kept whole in memory and rewritten atomically (temporary
// file, fsync, rename) after every change. A typed Set never replaces a
// value of another type.
#pragma once

#include <string>

#include "framework/core/PrefsTable.h"

class CRkString;

class CPosixPrefsImp : public IPrefsImp {
public:
    // `path` is the preferences file, `title` the application name written
    // into its heading. Reads the file at once; a missing file is an empty
    // store, a damaged one is moved aside and the store starts empty.
    CPosixPrefsImp(std::string path, std::string title);
    // Saves pending changes. Problems are written to the standard error, one
    // line each, and never reach the report functions.
    ~CPosixPrefsImp() override;

    bool Flush() override;
    uint32_t GetSize(uint32_t section, const char* key) override;
    uint16_t GetType(uint32_t section, const char* key) override;
    bool Exists(uint32_t section, const char* key) override;
    bool Delete(uint32_t section, const char* key) override;
    bool Get(uint32_t section, const char* key, uint16_t type, void* buffer, uint32_t size) override;
    bool Set(uint32_t section, const char* key, uint16_t type, const void* data, uint32_t size) override;

    const std::string& GetPath() const { return m_path; }
    // Where a damaged file was moved when the store opened, or "".
    const std::string& GetSetAsidePath() const { return m_setAsidePath; }
    // True when the file on disk must not be replaced (it exists but could
    // neither be read nor moved aside); changes then live in memory only.
    bool IsReadOnly() const { return m_readOnly; }

private:
    void Load();
    bool SetAside(const std::string& reason);
    bool Save();
    void ReportSaveFailure(const char* step, int error);

    std::string m_path;
    std::string m_title;
    std::string m_setAsidePath;
    CPrefsTable m_table;
    bool m_dirty = false;
    bool m_readOnly = false;
    bool m_reportedSaveFailure = false;
};

// The preferences file of an application: $XDG_CONFIG_HOME (when absolute),
// else ~/.config, then Lumo/<name>. "" when the name cannot name a file or no
// home folder is known.
std::string PosixPrefsPath(const CRkString& appName);
