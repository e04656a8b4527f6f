// A file or folder named by its path. Cheap to create; nothing is opened
// until asked. Every request goes to the platform's IFileImp.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RkString.h"
#include "framework/io/FileImp.h"

class CMemBuffer;

// Four-character codes as big-endian numbers ("TEXT" -> 0x54455854).
constexpr uint32_t FourCC(const char (&code)[5])
{
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) | (uint32_t(uint8_t(code[2])) << 8) |
           uint32_t(uint8_t(code[3]));
}

class CFile {
public:
    CFile();
    explicit CFile(const char* path);
    explicit CFile(const char16_t* path);
    explicit CFile(const CRkString& path);
    CFile(const CFile& other);
    CFile(const CFile& folder, const CRkString& name);
    CFile& operator=(const CFile&) = delete;
    // Deletes the implementation without closing an open file.
    ~CFile();

    bool HasImp() const { return m_imp != nullptr; }

    bool Exists() const;
    bool IsDirectory() const;
    CFile* GetParent() const; // owned by the caller
    void GetName(CRkString& out) const;
    void GetPath(CRkString& out) const;
    void GetFolder(CRkString& out) const;
    bool IsSameFile(const CFile& other) const;
    uint32_t Delete();
    uint32_t CreateDirectory();
    uint32_t Create(uint32_t type = FourCC("TEXT"), uint32_t creator = FourCC("CWIE"), bool hidden = false);
    uint32_t CopyTo(const CFile& destination);
    uint32_t MoveTo(const CFile& destination);
    uint32_t Rename(const CRkString& newName);

    uint32_t Open(uint32_t mode);
    uint32_t Close();
    bool IsOpen() const;
    uint32_t Read(void* buffer, uint32_t count, uint32_t& countRead);
    uint32_t Write(const void* bytes, uint32_t count);
    uint32_t WriteText(const char* text);
    uint32_t ReadU32BE(uint32_t& out);
    uint32_t ReadU16BE(uint16_t& out);
    uint32_t WriteU32BE(uint32_t value);
    uint32_t WriteU16BE(uint16_t value);
    uint32_t ReadRest(CMemBuffer& buffer);
    uint32_t ReadInto(CMemBuffer& buffer, uint32_t count);
    uint64_t GetLength() const;
    uint64_t GetSize();
    uint32_t SetLength(uint64_t n);
    uint64_t GetPosition() const;
    uint32_t Seek(int64_t position, uint32_t origin = kSeekFromStart);
    bool GetModificationDate(FileDate& out) const;

    uint32_t CreateExclusive();
    uint32_t Flush();
    bool PathNamesOpenFile() const;
    uint32_t GetKind() const;
    CFile* ResolveLinks() const; // owned by the caller, null on failure
    void RemoveOnInterrupt(bool on);
    // True when the system refuses the path, or a part of it, as too long.
    bool IsNameTooLong() const;

    CFile* MakeUniqueSibling(const CRkString& baseName) const; // owned by the caller
    // The file `name` in the folder that holds this one (owned by the caller).
    CFile* GetSibling(const CRkString& name) const;
    // A new file beside this one with a short unpredictable name, created
    // exclusively (never through a link), open for writing, and removed if
    // the process is interrupted. Null when none could be created.
    CFile* CreateTemporarySibling() const; // owned by the caller
    static CFile* GetSettingsFolder();     // owned by the caller, null on failure
    static CFile* GetDocumentsFolder();    // owned by the caller, null on failure
    // The full form of a path, and the paths a wildcard pattern matches
    // (see ExpandFullPath and FindMatchingPaths).
    static bool GetFullPath(const CRkString& path, CRkString& out);
    static bool FindMatching(const CRkString& pattern, std::vector<CRkString>& out);

private:
    explicit CFile(IFileImp* imp) : m_imp(imp) {}

    IFileImp* m_imp = nullptr;
};
