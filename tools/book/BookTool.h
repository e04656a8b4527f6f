// vellumix-book's commands: build, dump, check and pages. The program's main only
// calls RunBookTool; tests call it too, with their own streams.
#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>

class CMemBuffer;

inline constexpr const char* kBookToolVersion = "1.6.0";

// Exit status: 0 success, 1 failure, 2 usage error. A source named "-" is
// read from `in` (standard input for the first form). `errShowsColour`
// says whether `err` is a terminal that shows colour (--color auto).
int RunBookTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
// `programPath` is the program that builds books at once for -j (this
// one, run again); without it they are built one after the other here,
// with the same messages.
int RunBookTool(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err,
                bool errShowsColour = false, const std::string& programPath = std::string());
// The tool on the process's standard streams, standard output closed and
// checked at the end: what main runs.
int RunBookToolOnStandardStreams(int argc, const char* const* argv);

struct ToolOptions;
enum class ToolCommand;
// The error of a command that ran out of memory.
const char* OutOfMemoryText(ToolCommand command);
int RunBuildCommand(const ToolOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
int RunDumpCommand(const ToolOptions& options, std::ostream& out, std::ostream& err);
int RunCheckCommand(const ToolOptions& options, std::ostream& out, std::ostream& err);
int RunPagesCommand(const ToolOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
// The books of several sources built at once in child processes running
// options.programPath (build -j N).
int RunBuildsAtOnce(const ToolOptions& options, std::ostream& err);

// The whole source of build and pages, once, from its start to the end of
// its stream: the file named, or `in` for "-". Null after telling why (as
// an error report, so a CReportToStream must be active).
std::unique_ptr<CMemBuffer> ReadToolSource(const std::string& input, std::istream& in);
// How a source is named in messages.
std::string ShownSourceName(const std::string& input);

// The source path with the extension of its last component replaced by
// ".ldb" (or ".ldb" appended when it has none).
std::string DefaultBookPath(const std::string& source);
