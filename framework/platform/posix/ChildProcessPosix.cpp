#include "framework/io/ChildProcess.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Closes a descriptor on every way out.
class CDescriptor {
public:
    explicit CDescriptor(int fd = -1) : m_fd(fd) {}
    ~CDescriptor() { Close(); }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;
    int Get() const { return m_fd; }
    void Reset(int fd)
    {
        Close();
        m_fd = fd;
    }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

std::string Failure(const char* what, int error)
{
    return std::string(what) + ": " + std::strerror(error);
}

} // namespace

ChildProcessResult RunChildProcess(const std::string& program, const std::vector<std::string>& arguments)
{
    ChildProcessResult result;
    int ends[2];
    // Close-on-exec, so that no other child started meanwhile keeps the
    // write end open (its reader would never see the end).
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        result.failure = Failure("cannot make a pipe", errno);
        return result;
    }
    CDescriptor readEnd(ends[0]);
    CDescriptor writeEnd(ends[1]);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        result.failure = "cannot prepare the child process";
        return result;
    }
    posix_spawn_file_actions_adddup2(&actions, writeEnd.Get(), STDERR_FILENO);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.failure = Failure(("cannot run " + program).c_str(), spawned);
        return result;
    }
    result.started = true;
    writeEnd.Close();

    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(readEnd.Get(), chunk, sizeof chunk);
        if (got > 0)
            result.errorOutput.append(chunk, size_t(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    readEnd.Close(); // a child still writing after a failed read is not left blocked
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited != child) {
        result.failure = Failure("cannot wait for the child process", errno);
        return result;
    }
    result.exited = WIFEXITED(status);
    result.exitStatus = result.exited ? WEXITSTATUS(status) : 0;
    if (!result.exited && WIFSIGNALED(status))
        result.failure = std::string("it ended on signal ") + std::to_string(WTERMSIG(status));
    return result;
}

std::string CurrentProgramPath()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return std::string();
    return std::string(path, size_t(n));
}
