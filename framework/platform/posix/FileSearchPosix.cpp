// Path look-ups of the POSIX file implementation: the full form of a path
// (normalised as text, symbolic links left alone) and the files a pattern
// matches (glob(3), which sorts its results).
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/io/FileImp.h"
#include "framework/platform/posix/FileImpPosix.h"

namespace {

// Longest full path handed out; longer ones are refused like on a system
// with a fixed path limit.
constexpr size_t kMaxFullPath = PATH_MAX;

bool CurrentFolder(std::string& out)
{
    std::vector<char> buffer(256);
    for (;;) {
        if (getcwd(buffer.data(), buffer.size())) {
            out.assign(buffer.data());
            return true;
        }
        if (errno != ERANGE || buffer.size() > (1u << 20))
            return false;
        buffer.resize(buffer.size() * 2);
    }
}

// "/a/./b//../c" -> "/a/c"; ".." at the root stays at the root.
std::string Normalise(const std::string& absolute)
{
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= absolute.size()) {
        size_t slash = absolute.find('/', i);
        if (slash == std::string::npos)
            slash = absolute.size();
        std::string part = absolute.substr(i, slash - i);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = slash + 1;
    }
    std::string result;
    for (const std::string& part : parts)
        result += "/" + part;
    return result.empty() ? "/" : result;
}

bool HasWildcard(const std::string& pattern)
{
    return pattern.find_first_of("*?") != std::string::npos;
}

} // namespace

bool ExpandFullPath(const CRkString& path, CRkString& out)
{
    std::string native;
    if (path.IsEmpty() || !UnitsToNativePath(path, native))
        return false;
    std::string absolute;
    if (native[0] == '/') {
        absolute = native;
    } else {
        if (!CurrentFolder(absolute))
            return false;
        absolute += "/" + native;
    }
    std::string full = Normalise(absolute);
    if (full.size() > kMaxFullPath)
        return false;
    NativePathToUnits(full.data(), full.size(), out);
    return true;
}

bool FindMatchingPaths(const CRkString& pattern, std::vector<CRkString>& out)
{
    out.clear();
    std::string native;
    if (pattern.IsEmpty() || !UnitsToNativePath(pattern, native))
        return false;
    if (!HasWildcard(native)) {
        // A plain name matches itself when it exists; brackets and
        // backslashes in it are not pattern syntax.
        struct stat info;
        if (lstat(native.c_str(), &info) != 0)
            return false;
        out.push_back(pattern);
        return true;
    }
    // Only "*" and "?" are wildcards: everything else glob would read as
    // syntax is escaped.
    std::string escaped;
    for (char c : native) {
        if (c == '[' || c == ']' || c == '\\')
            escaped.push_back('\\');
        escaped.push_back(c);
    }
    glob_t found{};
    int result = glob(escaped.c_str(), 0, nullptr, &found);
    if (result == 0) {
        for (size_t i = 0; i < found.gl_pathc; ++i) {
            CRkString path;
            NativePathToUnits(found.gl_pathv[i], std::strlen(found.gl_pathv[i]), path);
            out.push_back(path);
        }
    }
    globfree(&found);
    return !out.empty();
}
