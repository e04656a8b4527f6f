// The POSIX file implementation. Paths are UTF-16 with "/" as separator and
// reach the system as UTF-8; see FilePathPosix.cpp for the byte mapping.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/RkString.h"
#include "framework/io/FileImp.h"

// Native bytes to UTF-16. Valid UTF-8 is decoded (supplementary characters
// become surrogate pairs); every byte of an invalid sequence becomes
// U+DC00 + byte (U+DC80..U+DCFF), so any byte path survives a round trip.
void NativePathToUnits(const char* bytes, size_t n, CRkString& out);
// UTF-16 to native bytes: the inverse of NativePathToUnits. Other lone
// surrogates are written in the three-byte form of their code point.
// False when the path holds a U+0000, which no system call can take.
bool UnitsToNativePath(const CRkString& path, std::string& out);

class CPosixFileImp : public IFileImp {
public:
    explicit CPosixFileImp(const CRkString& path);
    CPosixFileImp(const CPosixFileImp&) = delete;
    CPosixFileImp& operator=(const CPosixFileImp&) = delete;
    // Closes nothing: the descriptor of a file left open is closed here only
    // to avoid leaking it.
    ~CPosixFileImp() override;

    IFileImp* Clone() const override;
    IFileImp* Child(const CRkString& name) const override;
    IFileImp* Sibling(const CRkString& name) const override;
    void GetFolder(CRkString& out) const override { out.Assign(m_folder); }
    void GetName(CRkString& out) const override { out.Assign(m_name); }
    void GetPath(CRkString& out) const override { out.Assign(m_path); }

    bool Exists() const override;
    bool IsDirectory() const override;
    IFileImp* GetParent() const override;
    bool IsSameFile(const IFileImp& other) const override;
    uint32_t Delete() override;
    uint32_t CreateDirectory() override;
    uint32_t Create(uint32_t type, uint32_t creator, bool hidden) override;
    uint32_t CopyTo(const IFileImp& destination) override;
    uint32_t MoveTo(const IFileImp& destination) override;
    uint32_t Rename(const CRkString& newName) override;

    uint32_t Open(uint32_t mode) override;
    uint32_t Close() override;
    bool IsOpen() const override { return m_fd >= 0; }
    uint32_t Read(void* buffer, uint32_t count, uint32_t& countRead) override;
    uint32_t Write(const void* bytes, uint32_t count) override;
    uint64_t GetLength() const override;
    uint32_t SetLength(uint64_t n) override;
    uint64_t GetPosition() const override;
    uint32_t Seek(int64_t position, uint32_t origin) override;
    bool GetModificationDate(FileDate& out) const override;
    uint32_t GetTickCount() const override;

private:
    // The native form of the path; null when it has none (embedded U+0000).
    const char* Native() const { return m_nativeValid ? m_native.c_str() : nullptr; }

    int m_fd = -1;
    CRkString m_path;
    CRkString m_folder;
    CRkString m_name;
    std::string m_native;
    bool m_nativeValid = false;
};

// Creates the folder and any missing parents (mode for each new one); true
// when the path then names a directory.
bool MakeDirectories(const std::string& nativePath, unsigned mode);
