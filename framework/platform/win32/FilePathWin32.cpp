// Path handling of the Windows file implementation: the folder/name split,
// the implementations derived from a path, the per-user folders, and the
// full-path expansion and pattern look-up of the command line.
#include <algorithm>
#include <memory>

#include "framework/platform/win32/FileWin32.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/Win32Text.h"

namespace {

constexpr char16_t kSeparator = u'\\';

int32_t FindLastSeparator(const CRkString& path)
{
    const char16_t* units = path.GetChars();
    for (uint32_t i = path.GetLength(); i > 0; --i)
        if (units[i - 1] == kSeparator)
            return int32_t(i - 1);
    return -1;
}

// "/" becomes a backslash: Windows takes both, the split knows only one.
CRkString WithBackslashes(const CRkString& path)
{
    std::u16string units(path.GetChars(), path.GetLength());
    std::replace(units.begin(), units.end(), u'/', u'\\');
    return CRkString(units.data(), uint32_t(units.size()));
}

bool FitsAndHasNoNul(const CRkString& path)
{
    if (path.GetLength() > kWindowsMaxPath)
        return false;
    for (uint32_t i = 0; i < path.GetLength(); ++i)
        if (path.GetAt(i) == 0)
            return false;
    return true;
}

using SpecialFolderQuery = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);

// SHGetSpecialFolderPathW, looked up in Shell32 at the first use.
SpecialFolderQuery GetSpecialFolderQuery()
{
    static SpecialFolderQuery query = [] {
        HMODULE shell = ::LoadLibraryW(L"shell32.dll");
        FARPROC found = shell ? ::GetProcAddress(shell, "SHGetSpecialFolderPathW") : nullptr;
        return reinterpret_cast<SpecialFolderQuery>(reinterpret_cast<void*>(found));
    }();
    return query;
}

// The special folder with a backslash and "Zev" appended, created when
// missing; the root of drive C stands in when the shell cannot say.
IFileImp* AppFolder(int csidl)
{
    wchar_t base[MAX_PATH] = {};
    SpecialFolderQuery query = GetSpecialFolderQuery();
    std::wstring folder;
    if (query && query(nullptr, base, csidl, TRUE) && base[0])
        folder = base;
    else
        folder = L"C:\\";
    if (folder.back() != L'\\')
        folder.push_back(L'\\');
    folder += L"Zev";
    CRkString path;
    AssignWide(path, folder);
    auto imp = std::make_unique<WindowsFileImp>(path);
    if (!imp->IsUsable())
        return nullptr;
    if (!imp->IsDirectory() && (imp->CreateDirectory() != 0 || !imp->IsDirectory()))
        return nullptr;
    return imp.release();
}

} // namespace

WindowsFileImp::WindowsFileImp(const CRkString& path) : m_path(WithBackslashes(path))
{
    const int32_t slash = FindLastSeparator(m_path);
    if (slash < 0) {
        m_folder.Assign(m_path);
        m_name.Assign(m_path);
    } else {
        // A drive's root keeps its backslash: "C:\a" lies in "C:\".
        const bool root = slash == 2 && m_path.GetAt(1) == u':';
        m_path.Mid(m_folder, 0, root ? 3 : uint32_t(slash));
        m_path.Mid(m_name, uint32_t(slash) + 1, m_path.GetLength() - uint32_t(slash) - 1);
    }
    m_usable = FitsAndHasNoNul(m_path);
    if (m_usable)
        m_wide = ToWide(m_path);
}

IFileImp* WindowsFileImp::Clone() const
{
    return new WindowsFileImp(m_path);
}

IFileImp* WindowsFileImp::Child(const CRkString& name) const
{
    CRkString path(m_path);
    if (!path.IsEmpty() && path.GetAt(path.GetLength() - 1) != kSeparator)
        path.Append(kSeparator);
    path.Append(name);
    return new WindowsFileImp(path);
}

IFileImp* WindowsFileImp::Sibling(const CRkString& name) const
{
    const int32_t slash = FindLastSeparator(m_path);
    CRkString path;
    if (slash >= 0)
        m_path.Mid(path, 0, uint32_t(slash) + 1);
    path.Append(name);
    return new WindowsFileImp(path);
}

IFileImp* WindowsFileImp::GetParent() const
{
    return new WindowsFileImp(m_folder);
}

bool WidePathOf(const IFileImp& file, std::wstring& out)
{
    CRkString path;
    file.GetPath(path);
    path = WithBackslashes(path);
    if (!FitsAndHasNoNul(path))
        return false;
    out = ToWide(path);
    return true;
}

IFileImp* CreateFileImp(const CRkString& path)
{
    return new WindowsFileImp(path);
}

IFileImp* CreateFileImpFromNative(const char* path)
{
    return new WindowsFileImp(path ? CRkString(path, kEncodingDeviceLatin0) : CRkString());
}

IFileImp* CreateSettingsFolderImp()
{
    return AppFolder(26); // CSIDL_APPDATA
}

IFileImp* CreateDocumentsFolderImp()
{
    return AppFolder(5); // CSIDL_PERSONAL
}

bool ExpandFullPath(const CRkString& path, CRkString& out)
{
    const CRkString given = WithBackslashes(path);
    if (given.IsEmpty() || !FitsAndHasNoNul(given))
        return false;
    wchar_t full[MAX_PATH];
    const DWORD n = ::GetFullPathNameW(ToWide(given).c_str(), MAX_PATH, full, nullptr);
    if (n == 0 || n > kWindowsMaxPath)
        return false; // no full form, or one too long to use
    AssignWide(out, full, n);
    return true;
}

bool FindMatchingPaths(const CRkString& pattern, std::vector<CRkString>& out)
{
    out.clear();
    const CRkString given = WithBackslashes(pattern);
    if (given.IsEmpty() || !FitsAndHasNoNul(given))
        return false;
    const int32_t slash = FindLastSeparator(given);
    std::wstring folder;
    if (slash >= 0)
        folder.assign(reinterpret_cast<const wchar_t*>(given.GetChars()), size_t(slash) + 1);
    else if (given.GetLength() >= 2 && given.GetAt(1) == u':')
        folder.assign(reinterpret_cast<const wchar_t*>(given.GetChars()), 2); // "C:name"
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(ToWide(given).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    std::vector<std::wstring> names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(folder + name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    // The system lists a folder in its own order; the command line builds
    // the files in name order, the same on every file system.
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return ::CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_LESS_THAN;
    });
    for (const std::wstring& name : names) {
        CRkString path;
        AssignWide(path, name);
        out.push_back(path);
    }
    return !out.empty();
}
