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
    // Reading a stream from its start to its end: like kFileModeRead, but a
    // FIFO waits for its writer instead of reading as empty.
    kFileModeReadStream = 5,
};

// What a path names, links followed (GetKind).
enum : uint32_t {
    kFileKindMissing = 0,   // nothing at the path
    kFileKindRegular = 1,   // a regular file
    kFileKindDirectory = 2, // a folder
    kFileKindOther = 3,     // a device, FIFO, socket, or a link to nothing
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

    // Creates the file and leaves it open for writing. Fails (1) when
    // anything exists at the path, a link included, which is never
    // followed; the caller tells that case by Exists().
    virtual uint32_t CreateExclusive() = 0;
    // Commits what was written to the open file to the storage device.
    virtual uint32_t Flush() = 0;
    // True while the file is open and its path (a final link not followed)
    // still names that same open file.
    virtual bool PathNamesOpenFile() const = 0;
    // One of kFileKind..., links followed.
    virtual uint32_t GetKind() const = 0;
    // A new implementation for the absolute path of what this path names,
    // every link resolved; null when the path or a link's target is missing.
    virtual IFileImp* ResolveLinks() const = 0;
    // While on, the file at this path is removed if the process is ended by
    // an interruption (SIGINT, SIGTERM, SIGHUP on POSIX) before it is
    // turned off again. Off when the object is destroyed. Only a file this
    // object holds open is removed: turned on before that, it takes effect
    // with a successful CreateExclusive, at the same moment as the creation.
    virtual void RemoveOnInterrupt(bool on) = 0;
    // True when the system refuses the path, or a part of it, as too long
    // (so that a failure can name its real cause).
    virtual bool IsNameTooLong() const { return false; }
};

// Fills out with count bytes from the system's unpredictable random source;
// false when it has none.
bool GetUnpredictableBytes(void* out, uint32_t count);

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
