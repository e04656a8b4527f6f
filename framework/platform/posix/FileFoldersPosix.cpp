// The per-user folders on POSIX, after the XDG base-directory conventions:
// settings in $XDG_DATA_HOME (default ~/.local/share), documents in
// $XDG_DOCUMENTS_DIR (default ~/Documents), each with "/Zev" appended.
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/platform/posix/FileImpPosix.h"

namespace {

const char kAppFolder[] = "/Zev";

// The home directory: $HOME, else the password database.
bool HomeFolder(std::string& out)
{
    const char* home = std::getenv("HOME");
    if (home && *home) {
        out = home;
        return true;
    }
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> scratch(size > 0 ? size_t(size) : 16384);
    struct passwd entry;
    struct passwd* found = nullptr;
    while (::getpwuid_r(::getuid(), &entry, scratch.data(), scratch.size(), &found) == ERANGE &&
           scratch.size() < (1u << 20))
        scratch.resize(scratch.size() * 2);
    if (!found || !found->pw_dir || !*found->pw_dir)
        return false;
    out = found->pw_dir;
    return true;
}

// The folder named by an environment variable when it holds an absolute
// path (relative ones are ignored, as the conventions ask), else the home
// folder followed by fallback.
bool BaseFolder(const char* variable, const char* fallback, std::string& out)
{
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') {
        out = value;
        return true;
    }
    if (!HomeFolder(out))
        return false;
    out += fallback;
    return true;
}

IFileImp* AppFolder(const char* variable, const char* fallback, unsigned mode)
{
    std::string path;
    if (!BaseFolder(variable, fallback, path))
        return nullptr;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path != "/")
        path += kAppFolder;
    else
        path = kAppFolder;
    if (!MakeDirectories(path, mode))
        return nullptr;
    return CreateFileImpFromNative(path.c_str());
}

} // namespace

namespace {

bool MakeOneDirectory(const std::string& path, unsigned mode)
{
    if (::mkdir(path.c_str(), mode) == 0)
        return true;
    // Already there (mkdir may say EACCES rather than EEXIST for a folder
    // we cannot write into): fine when it is a directory.
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

bool MakeDirectories(const std::string& nativePath, unsigned mode)
{
    if (nativePath.empty())
        return false;
    // Walk the components from the top, creating what is missing.
    for (size_t at = nativePath.find('/', 1); at != std::string::npos; at = nativePath.find('/', at + 1)) {
        const std::string prefix = nativePath.substr(0, at);
        if (prefix.back() != '/' && !MakeOneDirectory(prefix, mode))
            return false;
    }
    return MakeOneDirectory(nativePath, mode);
}

IFileImp* CreateSettingsFolderImp()
{
    return AppFolder("XDG_DATA_HOME", "/.local/share", 0700);
}

IFileImp* CreateDocumentsFolderImp()
{
    return AppFolder("XDG_DOCUMENTS_DIR", "/Documents", 0777);
}
