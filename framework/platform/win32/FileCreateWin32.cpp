// The Windows side of writing a build's own files: exclusive creation that
// never follows a link, flushing, telling whether the path still names the
// open file, what a path names, resolving links, removing unfinished files
// when the console is interrupted, and unpredictable bytes for their names.
#include <mutex>
#include <set>
#include <string>

#include "framework/platform/win32/FileWin32.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/Win32Text.h"

// RtlGenRandom, exported by advapi32 under this name (Windows XP and later).
extern "C" BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length);

namespace {

constexpr uint32_t kOk = 0;
constexpr uint32_t kFailed = 1;

// Files to remove when the console is interrupted. The handler runs on a
// thread of its own, so the set is guarded.
std::mutex gInterruptMutex;
std::set<std::wstring>* gInterruptFiles = nullptr;

BOOL WINAPI RemoveFilesOnInterrupt(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        std::lock_guard<std::mutex> lock(gInterruptMutex);
        if (gInterruptFiles)
            for (const std::wstring& path : *gInterruptFiles)
                ::DeleteFileW(path.c_str());
    }
    return FALSE; // the process then ends as it would have
}

// Opens what the path names without reading or writing it; with
// `followLinks` false a link itself is opened. INVALID_HANDLE_VALUE if none.
HANDLE OpenForQuery(const wchar_t* path, bool followLinks)
{
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    return ::CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, flags,
                         nullptr);
}

bool SameFile(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION x, y;
    if (!::GetFileInformationByHandle(a, &x) || !::GetFileInformationByHandle(b, &y))
        return false;
    return x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
           x.nFileIndexLow == y.nFileIndexLow;
}

} // namespace

uint32_t WindowsFileImp::CreateExclusive()
{
    if (m_handle)
        Close();
    if (!Wide())
        return kFailed;
    // CREATE_NEW fails on anything at the path, a link (even a dangling one) included.
    HANDLE file = ::CreateFileW(Wide(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return kFailed;
    m_handle = file;
    m_created = true;
    UpdateInterruptEntry();
    return kOk;
}

uint32_t WindowsFileImp::Flush()
{
    if (!m_handle)
        return kFailed;
    HANDLE file = static_cast<HANDLE>(m_handle);
    if (::GetFileType(file) != FILE_TYPE_DISK)
        return kOk; // devices and pipes have nothing to commit
    return ::FlushFileBuffers(file) ? kOk : kFailed;
}

bool WindowsFileImp::PathNamesOpenFile() const
{
    if (!m_handle || !Wide())
        return false;
    HANDLE named = OpenForQuery(Wide(), false);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    bool same = SameFile(static_cast<HANDLE>(m_handle), named);
    ::CloseHandle(named);
    return same;
}

bool WindowsFileImp::IsNameTooLong() const
{
    if (m_path.GetLength() > kWindowsMaxPath)
        return true;
    if (!Wide() || ::GetFileAttributesW(Wide()) != INVALID_FILE_ATTRIBUTES)
        return false;
    return ::GetLastError() == ERROR_FILENAME_EXCED_RANGE;
}

uint32_t WindowsFileImp::GetKind() const
{
    if (!Wide())
        return kFileKindMissing;
    const DWORD attributes = ::GetFileAttributesW(Wide());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return kFileKindMissing;
    HANDLE target = OpenForQuery(Wide(), true);
    if (target == INVALID_HANDLE_VALUE)
        return kFileKindOther; // a link to nothing, or a device that cannot be opened
    uint32_t kind = kFileKindOther;
    if (::GetFileType(target) == FILE_TYPE_DISK) {
        BY_HANDLE_FILE_INFORMATION info;
        if (::GetFileInformationByHandle(target, &info))
            kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? kFileKindDirectory : kFileKindRegular;
    }
    ::CloseHandle(target);
    return kind;
}

IFileImp* WindowsFileImp::ResolveLinks() const
{
    if (!Wide())
        return nullptr;
    HANDLE target = OpenForQuery(Wide(), true);
    if (target == INVALID_HANDLE_VALUE)
        return nullptr;
    // Looked up at run time: the call exists from Windows Vista on, and a
    // static import would keep the program from starting on older systems,
    // where the full path (without links resolved) is the best there is.
    using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    static const FinalPathFn finalPath = reinterpret_cast<FinalPathFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    wchar_t buffer[MAX_PATH + 8];
    DWORD n = 0;
    if (finalPath)
        n = finalPath(target, buffer, MAX_PATH + 8, 0 /* normalized, DOS volume name */);
    else
        n = ::GetFullPathNameW(Wide(), MAX_PATH + 8, buffer, nullptr);
    ::CloseHandle(target);
    if (n == 0 || n >= MAX_PATH + 8)
        return nullptr;
    std::wstring path(buffer, n);
    if (path.rfind(L"\\\\?\\", 0) == 0)
        path.erase(0, 4);
    CRkString out;
    AssignWide(out, path);
    WindowsFileImp* resolved = new WindowsFileImp(out);
    if (!resolved->IsUsable()) {
        delete resolved;
        return nullptr;
    }
    return resolved;
}

void WindowsFileImp::RemoveOnInterrupt(bool on)
{
    m_removeOnInterrupt = on;
    UpdateInterruptEntry();
}

void WindowsFileImp::UpdateInterruptEntry()
{
    if (!m_usable)
        return;
    std::lock_guard<std::mutex> lock(gInterruptMutex);
    if (m_removeOnInterrupt && m_created && m_handle) {
        if (!gInterruptFiles) {
            gInterruptFiles = new std::set<std::wstring>();
            ::SetConsoleCtrlHandler(RemoveFilesOnInterrupt, TRUE);
        }
        gInterruptFiles->insert(m_wide);
    } else if (gInterruptFiles) {
        gInterruptFiles->erase(m_wide);
    }
}

bool GetUnpredictableBytes(void* out, uint32_t count)
{
    return count == 0 || SystemFunction036(out, count) != FALSE;
}
