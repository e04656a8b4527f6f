// The program entry that a platform's own entry point calls: defined by the
// program (the application shell), declared here so that the platform layer
// needs nothing of the program's.
#pragma once

class CRkString;

// `commandLineTail` is the command line after the program's own name;
// `startup` the platform's start-up data (on Windows the instance handle).
// Returns the process exit code.
int RkProgramMain(const CRkString& commandLineTail, void* startup);
