// The command line's path help on POSIX: full paths from the current
// folder, and wildcard patterns through glob.
#include <string>

#include <glob.h>
#include <unistd.h>

#include "framework/platform/posix/FileImpPosix.h"

bool ExpandFullPath(const CRkString& path, CRkString& out)
{
    std::string native;
    if (path.IsEmpty() || !UnitsToNativePath(path, native))
        return false;
    if (native[0] != '/') {
        std::string folder(256, '\0');
        while (!::getcwd(folder.data(), folder.size())) {
            if (folder.size() >= (1u << 20))
                return false;
            folder.resize(folder.size() * 2);
        }
        folder.resize(folder.find('\0'));
        if (folder.back() != '/')
            folder.push_back('/');
        native = folder + native;
    }
    NativePathToUnits(native.data(), native.size(), out);
    return true;
}

bool FindMatchingPaths(const CRkString& pattern, std::vector<CRkString>& out)
{
    out.clear();
    std::string native;
    if (pattern.IsEmpty() || !UnitsToNativePath(pattern, native))
        return false;
    glob_t found{};
    // glob sorts its results; "." and ".." only match a pattern that names them.
    if (::glob(native.c_str(), 0, nullptr, &found) == 0) {
        for (size_t i = 0; i < found.gl_pathc; ++i) {
            const std::string name = found.gl_pathv[i];
            const size_t slash = name.rfind('/');
            const std::string last = slash == std::string::npos ? name : name.substr(slash + 1);
            if (last == "." || last == "..")
                continue;
            CRkString units;
            NativePathToUnits(name.data(), name.size(), units);
            out.push_back(units);
        }
    }
    ::globfree(&found);
    return !out.empty();
}
