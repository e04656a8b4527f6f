// The POSIX file implementation. Paths are UTF-16 with "/" as separator and
// reach the system as UTF-8; see FilePathPosix.cpp for the byte mapping.
#pragma once

#include <cstdint>
#include <string>

#include <signal.h>

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
    uint32_t CreateExclusive() override;
    uint32_t Flush() override;
    bool PathNamesOpenFile() const override;
    uint32_t GetKind() const override;
    IFileImp* ResolveLinks() const override;
    void RemoveOnInterrupt(bool on) override;
    bool IsNameTooLong() const override;

private:
    // The native form of the path; null when it has none (embedded U+0000).
    const char* Native() const { return m_nativeValid ? m_native.c_str() : nullptr; }

    int m_fd = -1;
    CRkString m_path;
    CRkString m_folder;
    CRkString m_name;
    std::string m_native;
    bool m_nativeValid = false;
    int m_interruptSlot = -1; // its entry in the removal table, -1 when none
};

// The table of files removed when the process is interrupted
// (FileInterruptPosix.cpp). Add returns the entry, or -1 when the table is
// full or the path too long; an entry not armed is kept but not acted on
// until Arm. Remove takes an entry out.
int AddInterruptRemoval(const char* nativePath, bool armed);
void ArmInterruptRemoval(int slot);
void RemoveInterruptRemoval(int slot);

// Holds SIGINT, SIGTERM and SIGHUP back on this thread while it lives.
class InterruptsHeld {
public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

private:
    sigset_t m_saved;
};

// Creates the folder and any missing parents (mode for each new one); true
// when the path then names a directory.
bool MakeDirectories(const std::string& nativePath, unsigned mode);
