// File operations of the Windows file implementation. Every call reports
// failure as 1 (or false, 0, all ones) and leaves the file as it was.
#include <memory>

#include "framework/platform/win32/FileWin32.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/Win32Text.h"

namespace {

constexpr uint32_t kOk = 0;
constexpr uint32_t kFailed = 1;

HANDLE AsHandle(void* handle)
{
    return static_cast<HANDLE>(handle);
}

// A name that stays inside its folder: not empty, no separator, not "." or "..".
bool IsPlainName(const CRkString& name)
{
    const uint32_t n = name.GetLength();
    for (uint32_t i = 0; i < n; ++i)
        if (name.GetAt(i) == u'\\' || name.GetAt(i) == u'/')
            return false;
    if (n == 0 || (n == 1 && name.GetAt(0) == u'.'))
        return false;
    return !(n == 2 && name.GetAt(0) == u'.' && name.GetAt(1) == u'.');
}

bool FullPath(const wchar_t* path, std::wstring& out)
{
    wchar_t full[MAX_PATH];
    const DWORD n = ::GetFullPathNameW(path, MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH)
        return false;
    out.assign(full, n);
    return true;
}

} // namespace

WindowsFileImp::~WindowsFileImp()
{
    RemoveOnInterrupt(false);
    if (m_handle)
        ::CloseHandle(AsHandle(m_handle));
}

bool WindowsFileImp::Exists() const
{
    return Wide() && ::GetFileAttributesW(Wide()) != INVALID_FILE_ATTRIBUTES;
}

bool WindowsFileImp::IsDirectory() const
{
    if (!Wide())
        return false;
    const DWORD attributes = ::GetFileAttributesW(Wide());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WindowsFileImp::IsSameFile(const IFileImp& other) const
{
    std::wstring otherWide, mine, theirs;
    if (!Wide() || !WidePathOf(other, otherWide) || !FullPath(Wide(), mine) || !FullPath(otherWide.c_str(), theirs))
        return false;
    return ::CompareStringOrdinal(mine.c_str(), int(mine.size()), theirs.c_str(), int(theirs.size()), TRUE) ==
           CSTR_EQUAL;
}

uint32_t WindowsFileImp::Delete()
{
    return Wide() && ::DeleteFileW(Wide()) ? kOk : kFailed;
}

uint32_t WindowsFileImp::CreateDirectory()
{
    return Wide() && ::CreateDirectoryW(Wide(), nullptr) ? kOk : kFailed;
}

uint32_t WindowsFileImp::Create(uint32_t, uint32_t, bool hidden)
{
    // Type and creator codes have no counterpart on this platform.
    if (!Wide())
        return kFailed;
    const DWORD attributes = FILE_ATTRIBUTE_NORMAL | (hidden ? FILE_ATTRIBUTE_HIDDEN : 0);
    HANDLE file = ::CreateFileW(Wide(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return kFailed;
    return ::CloseHandle(file) ? kOk : kFailed;
}

uint32_t WindowsFileImp::CopyTo(const IFileImp& destination)
{
    std::wstring target;
    if (!Wide() || !WidePathOf(destination, target))
        return kFailed;
    return ::CopyFileW(Wide(), target.c_str(), TRUE) ? kOk : kFailed;
}

uint32_t WindowsFileImp::MoveTo(const IFileImp& destination)
{
    std::wstring target;
    if (!Wide() || !WidePathOf(destination, target))
        return kFailed;
    return ::MoveFileExW(Wide(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? kOk : kFailed;
}

uint32_t WindowsFileImp::Rename(const CRkString& newName)
{
    if (!Wide() || !IsPlainName(newName))
        return kFailed;
    std::unique_ptr<IFileImp> target(Sibling(newName));
    std::wstring wide;
    if (!WidePathOf(*target, wide))
        return kFailed;
    // Without the replace flag an existing destination makes the move fail.
    return ::MoveFileExW(Wide(), wide.c_str(), MOVEFILE_WRITE_THROUGH) ? kOk : kFailed;
}

uint32_t WindowsFileImp::Open(uint32_t mode)
{
    if (m_handle)
        Close();
    if (!Wide())
        return kFailed;
    DWORD access = 0;
    switch (mode) {
    case kFileModeRead:
    case kFileModeReadStream:
        access = GENERIC_READ;
        break;
    case kFileModeWrite:
        access = GENERIC_WRITE;
        break;
    case kFileModeReadWrite:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        break; // query only
    }
    HANDLE file =
        ::CreateFileW(Wide(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return kFailed;
    m_handle = file;
    return kOk;
}

uint32_t WindowsFileImp::Close()
{
    if (!m_handle)
        return kFailed;
    HANDLE file = AsHandle(m_handle);
    m_handle = nullptr;
    m_created = false;
    UpdateInterruptEntry();
    return ::CloseHandle(file) ? kOk : kFailed;
}

uint32_t WindowsFileImp::Read(void* buffer, uint32_t count, uint32_t& countRead)
{
    countRead = 0;
    if (!m_handle || (!buffer && count > 0))
        return kFailed;
    auto* p = static_cast<uint8_t*>(buffer);
    while (countRead < count) {
        DWORD got = 0;
        if (!::ReadFile(AsHandle(m_handle), p + countRead, count - countRead, &got, nullptr))
            return kFailed;
        if (got == 0)
            break; // the end of the file
        countRead += got;
    }
    return kOk;
}

uint32_t WindowsFileImp::Write(const void* bytes, uint32_t count)
{
    if (!m_handle || (!bytes && count > 0))
        return kFailed;
    const auto* p = static_cast<const uint8_t*>(bytes);
    uint32_t done = 0;
    while (done < count) {
        DWORD written = 0;
        if (!::WriteFile(AsHandle(m_handle), p + done, count - done, &written, nullptr) || written == 0)
            return kFailed;
        done += written;
    }
    return kOk;
}

uint64_t WindowsFileImp::GetLength() const
{
    LARGE_INTEGER size;
    if (!m_handle || !::GetFileSizeEx(AsHandle(m_handle), &size) || size.QuadPart < 0)
        return 0;
    return uint64_t(size.QuadPart);
}

uint32_t WindowsFileImp::SetLength(uint64_t n)
{
    if (!m_handle || n > uint64_t(INT64_MAX) || Seek(int64_t(n), kSeekFromStart) != kOk)
        return kFailed;
    return ::SetEndOfFile(AsHandle(m_handle)) ? kOk : kFailed;
}

uint64_t WindowsFileImp::GetPosition() const
{
    LARGE_INTEGER zero{}, at{};
    if (!m_handle || !::SetFilePointerEx(AsHandle(m_handle), zero, &at, FILE_CURRENT) || at.QuadPart < 0)
        return kFilePositionNone;
    return uint64_t(at.QuadPart);
}

uint32_t WindowsFileImp::Seek(int64_t position, uint32_t origin)
{
    if (!m_handle)
        return kFailed;
    DWORD method;
    switch (origin) {
    case kSeekFromStart:
        method = FILE_BEGIN;
        break;
    case kSeekFromEnd:
        method = FILE_END;
        break;
    case kSeekFromCurrent:
        method = FILE_CURRENT;
        break;
    default:
        return kFailed;
    }
    LARGE_INTEGER distance;
    distance.QuadPart = position;
    return ::SetFilePointerEx(AsHandle(m_handle), distance, nullptr, method) ? kOk : kFailed;
}

bool WindowsFileImp::GetModificationDate(FileDate& out) const
{
    FILETIME written;
    if (m_handle) {
        if (!::GetFileTime(AsHandle(m_handle), nullptr, nullptr, &written))
            return false;
    } else {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!Wide() || !::GetFileAttributesExW(Wide(), GetFileExInfoStandard, &data))
            return false;
        written = data.ftLastWriteTime;
    }
    FILETIME local;
    SYSTEMTIME when;
    if (!::FileTimeToLocalFileTime(&written, &local) || !::FileTimeToSystemTime(&local, &when))
        return false;
    out.year = uint16_t(when.wYear);
    out.month = uint8_t(when.wMonth);
    out.day = uint8_t(when.wDay);
    return true;
}

uint32_t WindowsFileImp::GetTickCount() const
{
    return ::GetTickCount();
}
