// Running a program as a child process with its standard error collected:
// how a tool runs several copies of itself at once. One implementation per
// platform (framework/platform).
#pragma once

#include <string>
#include <vector>

struct ChildProcessResult {
    bool started = false;    // false: it could not be started (`failure` says why)
    bool exited = false;     // it ended by exiting (not by a signal)
    int exitStatus = 0;      // its exit status when it exited
    std::string errorOutput; // all it wrote on its standard error, each line ended by LF
    std::string failure;     // why it could not be started or waited for
};

// Runs `program` with `arguments` (its first argument comes first; the
// program's own name is given for it) and waits for it to end. Standard
// input and output are this process's; standard error goes through a pipe
// into the result (on Windows with CR LF taken back to LF, as the child's
// text stream had it before it wrote it). Several threads may run children at once: no child
// holds another's pipe.
ChildProcessResult RunChildProcess(const std::string& program, const std::vector<std::string>& arguments);

// The file of the program this process runs; empty when it cannot be told.
std::string CurrentProgramPath();
