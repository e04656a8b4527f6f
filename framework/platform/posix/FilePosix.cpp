// File operations of the POSIX file implementation. Every call reports
// failure as 1 (or false, 0, all ones) and leaves the file as it was.
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <memory>

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/platform/posix/FileImpPosix.h"

namespace {

constexpr uint32_t kOk = 0;
constexpr uint32_t kFailed = 1;

bool SameUnits(const CRkString& a, const CRkString& b)
{
    if (a.GetLength() != b.GetLength())
        return false;
    for (uint32_t i = 0; i < a.GetLength(); ++i)
        if (a.GetAt(i) != b.GetAt(i))
            return false;
    return true;
}

// A name that stays inside its folder: not empty, no separator, not "." or "..".
bool IsPlainName(const CRkString& name)
{
    const uint32_t n = name.GetLength();
    for (uint32_t i = 0; i < n; ++i)
        if (name.GetAt(i) == u'/')
            return false;
    if (n == 0 || (n == 1 && name.GetAt(0) == u'.'))
        return false;
    return !(n == 2 && name.GetAt(0) == u'.' && name.GetAt(1) == u'.');
}

bool NativeOf(const IFileImp& file, std::string& out)
{
    CRkString path;
    file.GetPath(path);
    return UnitsToNativePath(path, out);
}

// Writes all n bytes, going on after partial writes and interruptions.
bool WriteAll(int fd, const void* bytes, size_t n)
{
    const auto* p = static_cast<const uint8_t*>(bytes);
    while (n > 0) {
        const ssize_t written = ::write(fd, p, n);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        p += written;
        n -= size_t(written);
    }
    return true;
}

// Reads until n bytes or the end of the file; false on an error.
bool ReadFully(int fd, void* buffer, size_t n, size_t& got)
{
    auto* p = static_cast<uint8_t*>(buffer);
    got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, p + got, n - got);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return false;
        if (r == 0)
            break;
        got += size_t(r);
    }
    return true;
}

bool CloseChecked(int fd)
{
    // On Linux the descriptor is gone even when close reports EINTR, so
    // it is never retried.
    return ::close(fd) == 0;
}

} // namespace

CPosixFileImp::~CPosixFileImp()
{
    RemoveOnInterrupt(false);
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CPosixFileImp::Exists() const
{
    struct stat st;
    return Native() && ::lstat(Native(), &st) == 0;
}

bool CPosixFileImp::IsDirectory() const
{
    struct stat st;
    return Native() && ::stat(Native(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CPosixFileImp::IsSameFile(const IFileImp& other) const
{
    CRkString otherPath;
    other.GetPath(otherPath);
    if (SameUnits(otherPath, m_path))
        return true;
    std::string otherNative;
    struct stat mine, theirs;
    return Native() && NativeOf(other, otherNative) && ::stat(Native(), &mine) == 0 &&
           ::stat(otherNative.c_str(), &theirs) == 0 && mine.st_dev == theirs.st_dev && mine.st_ino == theirs.st_ino;
}

uint32_t CPosixFileImp::Delete()
{
    return Native() && ::unlink(Native()) == 0 ? kOk : kFailed;
}

uint32_t CPosixFileImp::CreateDirectory()
{
    return Native() && ::mkdir(Native(), 0777) == 0 ? kOk : kFailed;
}

uint32_t CPosixFileImp::Create(uint32_t, uint32_t, bool)
{
    // Type and creator codes and the hidden attribute have no counterpart here.
    if (!Native())
        return kFailed;
    const int fd = ::open(Native(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return kFailed;
    return CloseChecked(fd) ? kOk : kFailed;
}

uint32_t CPosixFileImp::CopyTo(const IFileImp& destination)
{
    std::string target;
    if (!Native() || !NativeOf(destination, target))
        return kFailed;
    // Only regular files are copied; O_NONBLOCK keeps a FIFO from blocking
    // the open and means nothing for a regular file.
    const int in = ::open(Native(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0)
        return kFailed;
    struct stat st;
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return kFailed;
    }
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777);
    if (out < 0) {
        ::close(in);
        return kFailed;
    }
    bool ok = true;
    static constexpr size_t kChunk = 64 * 1024;
    auto chunk = std::make_unique<uint8_t[]>(kChunk);
    for (;;) {
        size_t got = 0;
        if (!ReadFully(in, chunk.get(), kChunk, got)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (!WriteAll(out, chunk.get(), got)) {
            ok = false;
            break;
        }
    }
    ::close(in);
    if (!CloseChecked(out))
        ok = false;
    if (!ok)
        ::unlink(target.c_str()); // we created it; leave no partial copy
    return ok ? kOk : kFailed;
}

uint32_t CPosixFileImp::MoveTo(const IFileImp& destination)
{
    std::string target;
    if (!Native() || !NativeOf(destination, target))
        return kFailed;
    return ::rename(Native(), target.c_str()) == 0 ? kOk : kFailed;
}

uint32_t CPosixFileImp::Rename(const CRkString& newName)
{
    if (!Native() || !IsPlainName(newName))
        return kFailed;
    std::unique_ptr<IFileImp> target(Sibling(newName));
    if (target->Exists())
        return kFailed;
    return MoveTo(*target);
}

uint32_t CPosixFileImp::Open(uint32_t mode)
{
    if (m_fd >= 0)
        Close();
    if (!Native())
        return kFailed;
    int flags = O_CLOEXEC | O_NONBLOCK; // no blocking on a FIFO without a writer
    switch (mode) {
    case kFileModeRead:
        flags |= O_RDONLY;
        break;
    case kFileModeReadStream:
        flags = O_CLOEXEC | O_RDONLY; // a FIFO's open waits for its writer
        break;
    case kFileModeWrite:
        flags |= O_WRONLY;
        break;
    case kFileModeReadWrite:
        flags |= O_RDWR;
        break;
    default:
#ifdef O_PATH
        flags |= O_PATH; // query only: no reading, no writing
#else
        flags |= O_RDONLY;
#endif
        break;
    }
    const int fd = ::open(Native(), flags);
    if (fd < 0)
        return kFailed;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return kFailed;
    }
#ifdef O_PATH
    const bool pathOnly = (flags & O_PATH) != 0;
#else
    const bool pathOnly = false;
#endif
    if (!pathOnly) {
        const int current = ::fcntl(fd, F_GETFL);
        if (current < 0 || ::fcntl(fd, F_SETFL, current & ~O_NONBLOCK) != 0) {
            ::close(fd);
            return kFailed;
        }
    }
    m_fd = fd;
    return kOk;
}

uint32_t CPosixFileImp::Close()
{
    if (m_fd < 0)
        return kFailed;
    const int fd = m_fd;
    m_fd = -1;
    return CloseChecked(fd) ? kOk : kFailed;
}

uint32_t CPosixFileImp::Read(void* buffer, uint32_t count, uint32_t& countRead)
{
    countRead = 0;
    if (m_fd < 0 || (!buffer && count > 0))
        return kFailed;
    size_t got = 0;
    const bool ok = ReadFully(m_fd, buffer, count, got);
    countRead = uint32_t(got);
    return ok ? kOk : kFailed;
}

uint32_t CPosixFileImp::Write(const void* bytes, uint32_t count)
{
    if (m_fd < 0 || (!bytes && count > 0))
        return kFailed;
    return WriteAll(m_fd, bytes, count) ? kOk : kFailed;
}

uint64_t CPosixFileImp::GetLength() const
{
    struct stat st;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || st.st_size < 0)
        return 0;
    return uint64_t(st.st_size);
}

uint32_t CPosixFileImp::SetLength(uint64_t n)
{
    if (m_fd < 0 || n > uint64_t(INT64_MAX) || Seek(int64_t(n), kSeekFromStart) != kOk)
        return kFailed;
    return ::ftruncate(m_fd, off_t(n)) == 0 ? kOk : kFailed;
}

uint64_t CPosixFileImp::GetPosition() const
{
    if (m_fd < 0)
        return kFilePositionNone;
    const off_t at = ::lseek(m_fd, 0, SEEK_CUR);
    return at < 0 ? kFilePositionNone : uint64_t(at);
}

uint32_t CPosixFileImp::Seek(int64_t position, uint32_t origin)
{
    if (m_fd < 0)
        return kFailed;
    int whence;
    switch (origin) {
    case kSeekFromStart:
        whence = SEEK_SET;
        break;
    case kSeekFromEnd:
        whence = SEEK_END;
        break;
    case kSeekFromCurrent:
        whence = SEEK_CUR;
        break;
    default:
        return kFailed;
    }
    return ::lseek(m_fd, off_t(position), whence) < 0 ? kFailed : kOk;
}

bool CPosixFileImp::GetModificationDate(FileDate& out) const
{
    struct stat st;
    if (m_fd >= 0) {
        if (::fstat(m_fd, &st) != 0)
            return false;
    } else if (!Native() || ::stat(Native(), &st) != 0) {
        return false;
    }
    const time_t when = st.st_mtime;
    struct tm local;
    if (!::localtime_r(&when, &local))
        return false;
    out.year = uint16_t(local.tm_year + 1900);
    out.month = uint8_t(local.tm_mon + 1);
    out.day = uint8_t(local.tm_mday);
    return true;
}

uint32_t CPosixFileImp::GetTickCount() const
{
    struct timespec now;
    if (::clock_gettime(CLOCK_MONOTONIC, &now) != 0)
        return 0;
    return uint32_t(uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u);
}

uint32_t CPosixFileImp::CreateExclusive()
{
    if (m_fd >= 0 || !Native())
        return kFailed;
    // O_EXCL with O_CREAT fails on any existing name, a link included;
    // O_NOFOLLOW says so again for systems that are lax about it. A removal
    // asked for beforehand is armed together with the creation, so that no
    // interruption falls between them.
    InterruptsHeld held;
    const int fd = ::open(Native(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return kFailed;
    m_fd = fd;
    ArmInterruptRemoval(m_interruptSlot);
    return kOk;
}

uint32_t CPosixFileImp::Flush()
{
    if (m_fd < 0)
        return kFailed;
    while (::fsync(m_fd) != 0) {
        // Devices and pipes cannot be synchronised; nothing is lost there.
        if (errno == EINVAL || errno == EROFS)
            return kOk;
        if (errno != EINTR)
            return kFailed;
    }
    return kOk;
}

bool CPosixFileImp::PathNamesOpenFile() const
{
    struct stat open, named;
    return m_fd >= 0 && Native() && ::fstat(m_fd, &open) == 0 && ::lstat(Native(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool CPosixFileImp::IsNameTooLong() const
{
    struct stat st;
    return Native() && ::lstat(Native(), &st) != 0 && errno == ENAMETOOLONG;
}

uint32_t CPosixFileImp::GetKind() const
{
    struct stat st;
    if (!Native() || ::lstat(Native(), &st) != 0)
        return kFileKindMissing;
    if (S_ISLNK(st.st_mode) && ::stat(Native(), &st) != 0)
        return kFileKindOther; // a link to nothing
    if (S_ISREG(st.st_mode))
        return kFileKindRegular;
    return S_ISDIR(st.st_mode) ? kFileKindDirectory : kFileKindOther;
}

IFileImp* CPosixFileImp::ResolveLinks() const
{
    if (!Native())
        return nullptr;
    char* resolved = ::realpath(Native(), nullptr);
    if (!resolved)
        return nullptr;
    IFileImp* imp = CreateFileImpFromNative(resolved);
    std::free(resolved);
    return imp;
}

void CPosixFileImp::RemoveOnInterrupt(bool on)
{
    if (m_interruptSlot >= 0) {
        RemoveInterruptRemoval(m_interruptSlot);
        m_interruptSlot = -1;
    }
    // Before the file is created, the removal waits for CreateExclusive.
    if (on && Native())
        m_interruptSlot = AddInterruptRemoval(Native(), m_fd >= 0);
}

bool GetUnpredictableBytes(void* out, uint32_t count)
{
    auto* p = static_cast<uint8_t*>(out);
    while (count > 0) {
        const ssize_t got = ::getrandom(p, count, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        p += got;
        count -= uint32_t(got);
    }
    return true;
}
