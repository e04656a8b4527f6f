// The command line of vellumix-book: a command word, then its options and
// operands in any order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/book/SourceEncoding.h"
#include "tools/book/ToolMessages.h"

enum class ToolCommand {
    Help,
    Version,
    Build,
    Dump,
    Check,
    Pages,
};

// The least serious message that fails a build.
enum class FailureLevel {
    Warning,
    Error,
};

enum class ColourChoice {
    Auto, // on a terminal, unless NO_COLOR is set
    Always,
    Never,
};

struct ToolOptions {
    ToolCommand command = ToolCommand::Help;
    std::string input;               // the source (build, pages) or the book (dump, check)
    std::vector<std::string> inputs; // every source of a build, in order (input is the first)
    std::string output;
    std::string outputDir; // build: the folder of every book
    bool dictionary = false;
    bool excludePageTables = false;
    bool batch = false;
    bool text = false;
    bool large = false;
    std::optional<std::string> title;
    std::optional<std::string> author;
    std::optional<std::string> publisher;
    std::optional<std::string> eisbn;
    std::optional<std::string> copyright;
    FailureLevel failureLevel = FailureLevel::Error;
    MessageFormat messageFormat = MessageFormat::Text;
    ColourChoice colour = ColourChoice::Auto;
    SourceEncoding encoding = SourceEncoding::Auto;
    uint32_t jobs = 1; // build: how many books at once (-j)
    // build: the messages of every source carry its name, as with several
    // sources (the tool gives it to itself when it builds books at once).
    bool oneOfSeveral = false;
    // The option words as given, with their values, -j left out: what a
    // build of one of the sources in a process of its own is given.
    std::vector<std::string> optionWords;
    // How messages are shown: the format and colour above, worked out by
    // the caller for the stream they go to (not set by the parser).
    MessageStyle style;
    // The program to run again for books built at once; empty: they are
    // built one after the other in this process (set by the caller).
    std::string programPath;
};

// The book of one source: `output`, or the default name, in `outputDir`
// when one is given.
std::string BookPathFor(const ToolOptions& options, const std::string& source);

// Returns true with options filled, or false with a message for the user.
bool ParseToolArguments(int argc, const char* const* argv, ToolOptions& options, std::string& error);

// The --help text.
const char* ToolUsageText();
