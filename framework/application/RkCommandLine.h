// The program's command line, split into options and file names.
//
// An option is a hyphen at the start of the line or right after a space,
// outside any quotes; its text (without the hyphen) runs to the next space
// or the end of the line. A stretch between double quotes is one file name
// taken verbatim (a missing closing quote ends it at the end of the line).
// The other pieces between spaces are file names looked up in the file
// system: a pattern gives the first file it matches, with the letter case
// the file system stores; a plain name gives its full path. Entries keep the
// order they were found in, options first.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RkMessage.h"
#include "framework/core/RkString.h"

// What the splitter asks of the file system.
class IRkCommandLineFiles {
public:
    virtual ~IRkCommandLineFiles() = default;
    // The paths `pattern` matches, in name order; false when none.
    virtual bool FindMatching(const CRkString& pattern, std::vector<CRkString>& out) = 0;
    // The full form of a path; false when it has none (too long, say).
    virtual bool GetFullPath(const CRkString& path, CRkString& out) = 0;
    virtual bool IsSeparator(char16_t unit) const = 0;
};

// The platform's file system (CFile).
class CRkSystemCommandLineFiles : public IRkCommandLineFiles {
public:
    bool FindMatching(const CRkString& pattern, std::vector<CRkString>& out) override;
    bool GetFullPath(const CRkString& path, CRkString& out) override;
    // "/" everywhere, "\" as well on Windows.
    bool IsSeparator(char16_t unit) const override;
};

struct RkCommandLineEntry {
    uint32_t isBatch = 0; // 1 for the option "batch" in any letter case
    bool isOption = false;
    CRkString text; // the option's text, or the file name
};

class CRkCommandLine {
public:
    // Splits `line` with the platform's file system. An option other than
    // batch is shown in a message box ("Found an option!") as it is found.
    explicit CRkCommandLine(const CRkString& line);
    CRkCommandLine(const CRkString& line, IRkCommandLineFiles& files);
    CRkCommandLine(const CRkCommandLine&) = delete;
    CRkCommandLine& operator=(const CRkCommandLine&) = delete;
    virtual ~CRkCommandLine() = default;

    // Acts on the entries.
    virtual void Process() = 0;

    uint32_t GetEntryCount() const { return uint32_t(m_entries.size()); }
    const RkCommandLineEntry& GetEntry(uint32_t index) const { return m_entries[index]; }
    const std::vector<RkCommandLineEntry>& GetEntries() const { return m_entries; }

private:
    void Split(const CRkString& line, IRkCommandLineFiles& files);
    void AddOption(const CRkString& text);
    void AddLookedUp(const CRkString& piece, IRkCommandLineFiles& files, std::vector<RkCommandLineEntry>& names);

    std::vector<RkCommandLineEntry> m_entries;
};

// Message 17: carries the command line (owned) to the application.
class CRkCommandLineMessage : public CRkMessage {
public:
    explicit CRkCommandLineMessage(CRkCommandLine* commandLine) : m_commandLine(commandLine) {}
    ~CRkCommandLineMessage() override { delete m_commandLine; }
    CRkCommandLine* GetCommandLine() const { return m_commandLine; }

private:
    CRkCommandLine* m_commandLine;
};
