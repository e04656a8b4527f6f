// The platform side of CFile: one implementation per platform.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RkString.h"

class CMemBuffer;

// The position of a closed file.
inline constexpr uint64_t kFilePositionNone = 0xFFFFFFFFFFFFFFFFull;

enum : uint32_t {
    kFileModeQuery = 1,
    kFileModeRead = 2,
    kFileModeWrite = 3,
    kFileModeReadWrite = 4,
};

enum : uint32_t {
    kSeekFromStart = 0,
    kSeekFromEnd = 1,
    kSeekFromCurrent = 2,
};

struct FileDate {
    uint16_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
};

// Result codes: 0 success, 1 failure.
class IFileImp {
public:
    virtual ~IFileImp() = default;

    virtual IFileImp* Clone() const = 0;
    // A new implementation for the path folder + separator + name.
    virtual IFileImp* Child(const CRkString& name) const = 0;
    // A new implementation for name in the folder that holds this path (just
    // name when the path has no separator).
    virtual IFileImp* Sibling(const CRkString& name) const = 0;
    virtual void GetFolder(CRkString& out) const = 0;
    virtual void GetName(CRkString& out) const = 0;
    virtual void GetPath(CRkString& out) const = 0;

    virtual bool Exists() const = 0;
    virtual bool IsDirectory() const = 0;
    virtual IFileImp* GetParent() const = 0;
    virtual bool IsSameFile(const IFileImp& other) const = 0;
    virtual uint32_t Delete() = 0;
    virtual uint32_t CreateDirectory() = 0;
    virtual uint32_t Create(uint32_t type, uint32_t creator, bool hidden) = 0;
    // Fails when the destination exists.
    virtual uint32_t CopyTo(const IFileImp& destination) = 0;
    // Moves to the destination path. On POSIX an existing destination is
    // replaced atomically (rename); the build relies on that to swap its
    // finished output in. The object keeps naming its old path.
    virtual uint32_t MoveTo(const IFileImp& destination) = 0;
    // Moves to newName in the same folder; fails when newName holds a
    // separator or names an existing file. The object keeps its old path.
    virtual uint32_t Rename(const CRkString& newName) = 0;

    virtual uint32_t Open(uint32_t mode) = 0;
    virtual uint32_t Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual uint32_t Read(void* buffer, uint32_t count, uint32_t& countRead) = 0;
    virtual uint32_t Write(const void* bytes, uint32_t count) = 0;
    virtual uint64_t GetLength() const = 0;
    virtual uint32_t SetLength(uint64_t n) = 0;
    virtual uint64_t GetPosition() const = 0;
    virtual uint32_t Seek(int64_t position, uint32_t origin) = 0;
    virtual bool GetModificationDate(FileDate& out) const = 0;
    // Milliseconds of a monotonic tick, for unique names.
    virtual uint32_t GetTickCount() const = 0;
};

// Defined by the platform library chosen in the build.
IFileImp* CreateFileImp(const CRkString& path);
// A path in the system's own 8-bit form: UTF-8 on POSIX (bytes that are not
// valid UTF-8 are kept losslessly), encoding 0 on Windows.
IFileImp* CreateFileImpFromNative(const char* path);
// The per-user folders, created if missing; null when they cannot be found
// or created.
IFileImp* CreateSettingsFolderImp();
IFileImp* CreateDocumentsFolderImp();

// The command line's help from the system: the full form of a path (taken
// from the current folder when it is relative), and the paths matching a
// pattern with wildcards ("*", "?") in its last part, in name order ("."
// and ".." left out). False when there is no full form, or no match.
bool ExpandFullPath(const CRkString& path, CRkString& out);
bool FindMatchingPaths(const CRkString& pattern, std::vector<CRkString>& out);
