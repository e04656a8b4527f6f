// vellumix-book's commands: build, dump, check and pages. The program's main only
// calls RunBookTool; tests call it too, with their own streams.
#pragma once

#include <ostream>
#include <string>

inline constexpr const char* kBookToolVersion = "1.6.0";

// Exit status: 0 success, 1 failure, 2 usage error.
int RunBookTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

struct ToolOptions;
int RunBuildCommand(const ToolOptions& options, std::ostream& out, std::ostream& err);
int RunDumpCommand(const ToolOptions& options, std::ostream& out, std::ostream& err);
int RunCheckCommand(const ToolOptions& options, std::ostream& out, std::ostream& err);
int RunPagesCommand(const ToolOptions& options, std::ostream& out, std::ostream& err);


// The source path with the extension of its last component replaced by
// ".ldb" (or ".ldb" appended when it has none).
std::string DefaultBookPath(const std::string& source);
