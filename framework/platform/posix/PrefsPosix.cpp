#include "framework/platform/posix/PrefsPosix.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/core/Compiler.h"
#include "framework/core/PrefsText.h"
#include "framework/core/RkString.h"
#include "framework/core/StringFormat.h"
#include "framework/core/Utf8.h"

namespace {

// Preference files are small; anything beyond this is not one of ours.
constexpr off_t kMaxFileSize = 16 * 1024 * 1024;

std::string ToUtf8(const CRkString& s)
{
    std::string out;
    const char16_t* u = s.GetChars();
    uint32_t n = s.GetLength();
    for (uint32_t i = 0; i < n; ++i) {
        uint32_t cp = u[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && u[i + 1] >= 0xDC00 && u[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (u[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    struct passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Creates every missing folder above `path` (owner-only access).
bool MakeParentFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A problem of the store is one line on the standard error and nothing
// more: the report functions feed the log window and the build's outcome,
// which a configuration folder must not disturb. The store keeps working
// in memory.
void Complain(const char* format, ...) VX_PRINTF_FORMAT(1, 2);
void Complain(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text;
    FormatStringV(text, format, args);
    va_end(args);
    // A line break in a file name must not split the line.
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

} // namespace

std::string PosixPrefsPath(const CRkString& appName)
{
    std::string name = ToUtf8(appName);
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos)
        return "";
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        std::string home = HomeFolder();
        if (home.empty())
            return "";
        base = home + "/.config";
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/Lumo/" + name;
}

IPrefsImp* CreatePrefsImp(const CRkString& appName)
{
    std::string path = PosixPrefsPath(appName);
    if (path.empty())
        return nullptr;
    return new CPosixPrefsImp(path, ToUtf8(appName));
}

CPosixPrefsImp::CPosixPrefsImp(std::string path, std::string title) : m_path(std::move(path)), m_title(std::move(title))
{
    Load();
}

CPosixPrefsImp::~CPosixPrefsImp()
{
    if (m_dirty)
        Save();
}

void CPosixPrefsImp::Load()
{
    int fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) {
            // Something is there that we cannot read: never replace it.
            m_readOnly = true;
            Complain("Cannot read the preferences file \"%s\": %s; settings will not be saved in this session.",
                     m_path.c_str(), std::strerror(errno));
        }
        return;
    }
    std::string bytes;
    struct stat info;
    bool ok = fstat(fd, &info) == 0;
    int error = ok ? 0 : errno;
    if (ok && (!S_ISREG(info.st_mode) || info.st_size > kMaxFileSize)) {
        close(fd);
        SetAside(S_ISREG(info.st_mode) ? "the file is too large" : "not a regular file");
        return;
    }
    char chunk[4096];
    while (ok) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ok = false;
            error = errno;
        } else if (n == 0) {
            break;
        } else {
            bytes.append(chunk, static_cast<size_t>(n));
        }
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        m_readOnly = true;
        Complain("Cannot read the preferences file \"%s\": %s; settings will not be saved in this session.",
                 m_path.c_str(), std::strerror(error));
        return;
    }
    std::string fault;
    if (!ParsePrefsText(bytes.data(), bytes.size(), m_table, fault))
        SetAside(fault);
}

// Moves a damaged file to the first free name <path>.damaged, .damaged-2, ...
bool CPosixPrefsImp::SetAside(const std::string& reason)
{
    m_table.Clear();
    for (int i = 1; i <= 100; ++i) {
        std::string candidate = m_path + ".damaged";
        if (i > 1)
            candidate += "-" + std::to_string(i);
        struct stat info;
        if (lstat(candidate.c_str(), &info) == 0)
            continue;
        if (errno != ENOENT)
            break;
        if (rename(m_path.c_str(), candidate.c_str()) != 0)
            break;
        m_setAsidePath = candidate;
        Complain("The preferences file \"%s\" is damaged (%s); it was kept as \"%s\" and the settings start "
                 "empty.",
                 m_path.c_str(), reason.c_str(), candidate.c_str());
        return true;
    }
    m_readOnly = true;
    Complain("The preferences file \"%s\" is damaged (%s) and could not be moved aside; settings will not be "
             "saved in this session.",
             m_path.c_str(), reason.c_str());
    return false;
}

void CPosixPrefsImp::ReportSaveFailure(const char* step, int error)
{
    if (m_reportedSaveFailure)
        return;
    m_reportedSaveFailure = true;
    Complain("Cannot save the preferences to \"%s\" (%s: %s); the previous settings are kept.", m_path.c_str(), step,
             std::strerror(error));
}

bool CPosixPrefsImp::Save()
{
    if (m_readOnly)
        return false;
    if (!MakeParentFolders(m_path)) {
        ReportSaveFailure("creating its folder", errno);
        return false;
    }
    std::string text = FormatPrefsText(m_table, m_title.c_str());
    std::string temp = m_path + ".tmp-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        ReportSaveFailure("creating a temporary file", errno);
        return false;
    }
    const char* step = nullptr;
    if (!WriteAll(fd, text))
        step = "writing";
    else if (fsync(fd) != 0)
        step = "syncing";
    int error = step ? errno : 0;
    if (close(fd) != 0 && !step) {
        step = "closing";
        error = errno;
    }
    if (!step && rename(temp.c_str(), m_path.c_str()) != 0) {
        step = "replacing the file";
        error = errno;
    }
    if (step) {
        unlink(temp.c_str());
        ReportSaveFailure(step, error);
        return false;
    }
    // Make the rename itself durable.
    int dir = open(FolderOf(m_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        bool synced = fsync(dir) == 0 || errno == EINVAL;
        error = errno;
        if (close(dir) != 0 && synced) {
            synced = false;
            error = errno;
        }
        if (!synced) {
            ReportSaveFailure("syncing its folder", error);
            return false;
        }
    }
    m_dirty = false;
    m_reportedSaveFailure = false;
    return true;
}

bool CPosixPrefsImp::Flush()
{
    return !m_dirty || Save();
}

uint32_t CPosixPrefsImp::GetSize(uint32_t section, const char* key)
{
    const PrefValue* value = m_table.Find(section, key);
    return value ? static_cast<uint32_t>(value->payload.size()) + 2 : 0;
}

uint16_t CPosixPrefsImp::GetType(uint32_t section, const char* key)
{
    const PrefValue* value = m_table.Find(section, key);
    return value ? value->type : 0;
}

bool CPosixPrefsImp::Exists(uint32_t section, const char* key)
{
    return m_table.Find(section, key) != nullptr;
}

bool CPosixPrefsImp::Delete(uint32_t section, const char* key)
{
    if (!m_table.Delete(section, key))
        return false;
    m_dirty = true;
    Save();
    return true;
}

bool CPosixPrefsImp::Get(uint32_t section, const char* key, uint16_t type, void* buffer, uint32_t size)
{
    return m_table.Get(section, key, type, buffer, size);
}

bool CPosixPrefsImp::Set(uint32_t section, const char* key, uint16_t type, const void* data, uint32_t size)
{
    // A value is never replaced by one of another type.
    const PrefValue* stored = m_table.Find(section, key);
    if (stored && stored->type != type)
        return false;
    switch (m_table.Set(section, key, type, data, size)) {
    case CPrefsTable::SetResult::Refused:
        return false;
    case CPrefsTable::SetResult::Unchanged:
        return Flush();
    case CPrefsTable::SetResult::Changed:
        break;
    }
    m_dirty = true;
    return Save();
}
