#include "tools/book/ToolOptions.h"

#include <string_view>

#include "tools/book/BookTool.h"

namespace {

struct ValueOption {
    const char* longName;
    const char* shortName;
    std::string ToolOptions::*plain;
    std::optional<std::string> ToolOptions::*optional;
};

const ValueOption kValueOptions[] = {
    {"--output", "-o", &ToolOptions::output, nullptr},
    {"--output-dir", nullptr, &ToolOptions::outputDir, nullptr},
    {"--title", nullptr, nullptr, &ToolOptions::title},
    {"--author", nullptr, nullptr, &ToolOptions::author},
    {"--publisher", nullptr, nullptr, &ToolOptions::publisher},
    {"--eisbn", nullptr, nullptr, &ToolOptions::eisbn},
    {"--copyright", nullptr, nullptr, &ToolOptions::copyright},
};

struct FlagOption {
    const char* name;
    bool ToolOptions::*flag;
    ToolCommand command;
    ToolCommand alsoFor; // a second command it applies to, or the first again
};

const FlagOption kFlagOptions[] = {
    {"--dictionary", &ToolOptions::dictionary, ToolCommand::Build, ToolCommand::Build},
    {"--exclude-page-tables", &ToolOptions::excludePageTables, ToolCommand::Build, ToolCommand::Build},
    {"--batch", &ToolOptions::batch, ToolCommand::Build, ToolCommand::Pages},
    {"--text", &ToolOptions::text, ToolCommand::Dump, ToolCommand::Dump},
    {"--large", &ToolOptions::large, ToolCommand::Pages, ToolCommand::Pages},
    {"--one-of-several", &ToolOptions::oneOfSeveral, ToolCommand::Build, ToolCommand::Build},
};

const char* CommandName(ToolCommand command)
{
    switch (command) {
    case ToolCommand::Build:
        return "build";
    case ToolCommand::Dump:
        return "dump";
    case ToolCommand::Check:
        return "check";
    case ToolCommand::Pages:
        return "pages";
    default:
        return "";
    }
}

// An option whose value is one of a few words; it applies to build and,
// where `pagesToo`, to pages.
struct ChoiceOption {
    const char* name;
    bool pagesToo;
    const char* words[3]; // the accepted values, null after the last
    void (*set)(ToolOptions& options, int chosen);
};

const ChoiceOption kChoiceOptions[] = {
    {"--failure-level",
     false,
     {"warning", "error", nullptr},
     [](ToolOptions& o, int chosen) { o.failureLevel = chosen == 0 ? FailureLevel::Warning : FailureLevel::Error; }},
    {"--message-format",
     true,
     {"text", "json", nullptr},
     [](ToolOptions& o, int chosen) { o.messageFormat = chosen == 0 ? MessageFormat::Text : MessageFormat::Json; }},
    {"--color", true, {"auto", "always", "never"}, [](ToolOptions& o, int chosen) { o.colour = ColourChoice(chosen); }},
    {"--encoding",
     true,
     {"auto", "utf-8", "device"},
     [](ToolOptions& o, int chosen) { o.encoding = SourceEncoding(chosen); }},
};

// -j N, -jN, --jobs N, --jobs=N.
bool IsJobsOption(std::string_view word)
{
    return word.substr(0, 2) == "-j" || word.substr(0, 6) == "--jobs";
}

// The value of -j: a whole number from 1.
bool ParseJobCount(std::string_view value, uint32_t& jobs)
{
    constexpr uint32_t kMostJobs = 1024; // far more than any machine runs usefully
    if (value.empty() || value.size() > 4)
        return false;
    uint32_t n = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + uint32_t(c - '0');
    }
    if (n == 0 || n > kMostJobs)
        return false;
    jobs = n;
    return true;
}

// The value of option `name` at argv[i] ("--name VALUE" or "--name=VALUE"):
// 1 when taken, 0 when the word is another option, -1 with error set.
int TakeValue(int argc, const char* const* argv, int& i, std::string_view name, std::string& value, std::string& error)
{
    std::string_view word = argv[i];
    if (word == name) {
        if (i + 1 >= argc) {
            error = std::string("option '") + std::string(word) + "' needs a value";
            return -1;
        }
        value = argv[++i];
        return 1;
    }
    if (word.size() > name.size() && word.substr(0, name.size()) == name && word[name.size()] == '=') {
        value = std::string(word.substr(name.size() + 1));
        return 1;
    }
    return 0;
}

// Parses one option word at argv[i]; advances i past a separate value.
bool ParseOption(int argc, const char* const* argv, int& i, ToolOptions& options, std::string& error)
{
    std::string_view word = argv[i];
    if (IsJobsOption(word)) {
        std::string value;
        if (word == "-j" || word == "--jobs") {
            if (i + 1 >= argc) {
                error = std::string("option '") + std::string(word) + "' needs a value";
                return false;
            }
            value = argv[++i];
        } else if (word.substr(0, 7) == "--jobs=") {
            value = std::string(word.substr(7));
        } else if (word.substr(0, 2) == "-j") {
            value = std::string(word.substr(2));
        } else {
            error = std::string("unknown option '") + std::string(word) + "'";
            return false;
        }
        if (options.command != ToolCommand::Build) {
            error = std::string("option '-j' does not apply to '") + CommandName(options.command) + "'";
            return false;
        }
        if (!ParseJobCount(value, options.jobs)) {
            error = "option '-j' takes a whole number from 1 to 1024, not '" + value + "'";
            return false;
        }
        return true;
    }
    for (const ChoiceOption& choice : kChoiceOptions) {
        std::string value;
        const int taken = TakeValue(argc, argv, i, choice.name, value, error);
        if (taken < 0)
            return false;
        if (taken == 0)
            continue;
        if (options.command != ToolCommand::Build && !(choice.pagesToo && options.command == ToolCommand::Pages)) {
            error =
                std::string("option '") + choice.name + "' does not apply to '" + CommandName(options.command) + "'";
            return false;
        }
        std::string accepted;
        for (int k = 0; k < 3 && choice.words[k]; ++k) {
            if (value == choice.words[k]) {
                choice.set(options, k);
                return true;
            }
            accepted += std::string(k ? ", " : "") + "'" + choice.words[k] + "'";
        }
        error = std::string("option '") + choice.name + "' takes " + accepted + ", not '" + value + "'";
        return false;
    }
    for (const FlagOption& flag : kFlagOptions) {
        if (word == flag.name) {
            if (options.command != flag.command && options.command != flag.alsoFor) {
                error =
                    std::string("option '") + flag.name + "' does not apply to '" + CommandName(options.command) + "'";
                return false;
            }
            options.*flag.flag = true;
            return true;
        }
    }
    for (const ValueOption& option : kValueOptions) {
        std::string_view name = option.longName;
        std::optional<std::string> value;
        if (word == name || (option.shortName && word == option.shortName)) {
            if (i + 1 >= argc) {
                error = std::string("option '") + std::string(word) + "' needs a value";
                return false;
            }
            value = argv[++i];
        } else if (word.size() > name.size() && word.substr(0, name.size()) == name && word[name.size()] == '=') {
            value = std::string(word.substr(name.size() + 1));
        } else if (option.shortName && word.size() > 2 && word.substr(0, 2) == option.shortName) {
            value = std::string(word.substr(2));
        } else {
            continue;
        }
        // An empty value is a mistake, not a request: it names no file and
        // no book information (a source's key line gives the field then).
        if (value->empty()) {
            error = std::string("option '") + option.longName + "' needs a value that is not empty";
            return false;
        }
        if (options.command != ToolCommand::Build) {
            error = std::string("option '") + option.longName + "' does not apply to '" + CommandName(options.command) +
                    "'";
            return false;
        }
        if (option.plain)
            options.*option.plain = *value;
        else
            options.*option.optional = *value;
        return true;
    }
    error = std::string("unknown option '") + std::string(word) + "'";
    return false;
}

} // namespace

bool ParseToolArguments(int argc, const char* const* argv, ToolOptions& options, std::string& error)
{
    options = ToolOptions();
    if (argc < 2) {
        error = "no command given";
        return false;
    }
    std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        options.command = ToolCommand::Help;
        return true;
    }
    if (command == "--version") {
        options.command = ToolCommand::Version;
        return true;
    }
    if (command == "build") {
        options.command = ToolCommand::Build;
    } else if (command == "dump") {
        options.command = ToolCommand::Dump;
    } else if (command == "check") {
        options.command = ToolCommand::Check;
    } else if (command == "pages") {
        options.command = ToolCommand::Pages;
    } else {
        error = std::string("unknown command '") + std::string(command) + "'";
        return false;
    }

    int operands = 0;
    bool optionsEnded = false;
    for (int i = 2; i < argc; ++i) {
        std::string_view word = argv[i];
        if (!optionsEnded && (word == "--help" || word == "-h")) {
            options.command = ToolCommand::Help;
            return true;
        }
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && word.size() > 1 && word[0] == '-') {
            const int first = i;
            if (!ParseOption(argc, argv, i, options, error))
                return false;
            if (!IsJobsOption(word))
                options.optionWords.insert(options.optionWords.end(), argv + first, argv + i + 1);
            continue;
        }
        if (++operands > 1 && options.command != ToolCommand::Build) {
            error = std::string("unexpected extra operand '") + std::string(word) + "'";
            return false;
        }
        if (operands == 1)
            options.input = word;
        options.inputs.emplace_back(word);
    }
    if (operands == 0 || options.input.empty()) {
        error = std::string("'") + CommandName(options.command) + "' needs a " +
                (options.command == ToolCommand::Build || options.command == ToolCommand::Pages ? "source file"
                                                                                                : "book file");
        return false;
    }
    if (options.command != ToolCommand::Build)
        return true;
    if (!options.output.empty() && !options.outputDir.empty()) {
        error = "-o and --output-dir cannot be used together";
        return false;
    }
    if (options.inputs.size() > 1) {
        if (!options.output.empty()) {
            error = "-o cannot be used with more than one source; use --output-dir DIR";
            return false;
        }
        for (size_t k = 0; k < options.inputs.size(); ++k) {
            if (options.inputs[k] == "-" || options.inputs[k].empty()) {
                error = options.inputs[k].empty() ? "a source file name is empty"
                                                  : "standard input cannot be one of several sources";
                return false;
            }
            // Two books of one name would overwrite each other.
            for (size_t j = 0; j < k; ++j) {
                if (BookPathFor(options, options.inputs[j]) == BookPathFor(options, options.inputs[k])) {
                    error = "'" + options.inputs[j] + "' and '" + options.inputs[k] + "' would both be written to '" +
                            BookPathFor(options, options.inputs[k]) + "'";
                    return false;
                }
            }
        }
    }
    if (options.input == "-" && options.output.empty()) {
        error = "a source read from standard input needs -o FILE (or -o - for standard output)";
        return false;
    }
    return true;
}

std::string BookPathFor(const ToolOptions& options, const std::string& source)
{
    if (!options.output.empty())
        return options.output;
    std::string book = DefaultBookPath(source);
    if (options.outputDir.empty())
        return book;
#ifdef _WIN32
    const size_t slash = book.find_last_of("/\\");
    const char separator = '\\';
#else
    const size_t slash = book.find_last_of('/');
    const char separator = '/';
#endif
    std::string dir = options.outputDir;
    if (dir.back() != '/' && dir.back() != separator)
        dir += separator;
    return dir + (slash == std::string::npos ? book : book.substr(slash + 1));
}

const char* ToolUsageText()
{
    return "Usage: vellumix-book build SOURCE... [options]   (SOURCE '-': standard input)\n"
           "       vellumix-book dump [--text] BOOK\n"
           "       vellumix-book check BOOK\n"
           "       vellumix-book pages [--large] [--batch] SOURCE\n"
           "       vellumix-book --help | --version\n"
           "\n"
           "Commands:\n"
           "  build   compile an LML source into a book file (.ldb)\n"
           "  dump    list the records of a book file\n"
           "  check   verify the structure of a book file\n"
           "  pages   lay a source out without writing a book and show where each page\n"
           "          begins: the page number (from 1) and the first line of its text\n"
           "\n"
           "Build options:\n"
           "  -o, --output FILE       write the book to FILE (default: the source name\n"
           "                          with its extension replaced by .ldb); '-' writes\n"
           "                          it to standard output\n"
           "  --output-dir DIR        write every book into the folder DIR, under its\n"
           "                          default name; with several sources, -o is refused\n"
           "  --dictionary            build a dictionary\n"
           "  --exclude-page-tables   build no page tables\n"
           "  --batch                 leave out the warnings that batch mode silences\n"
           "  --title TEXT            book title (replaces the source's TITLE= line)\n"
           "  --author TEXT           author (replaces AUTHOR=)\n"
           "  --publisher TEXT        publisher (replaces PUBLISHER=)\n"
           "  --eisbn TEXT            e-book ISBN (replaces EISBN=)\n"
           "  --copyright TEXT        copyright (replaces COPYRIGHT=)\n"
           "  --failure-level LEVEL   'error' (default): errors fail the build;\n"
           "                          'warning': warnings fail it too, and no book\n"
           "                          is written\n"
           "  -j, --jobs N            build up to N books at once; the messages of each\n"
           "                          book stay together, in the order of the sources\n"
           "\n"
           "Source and message options (build and pages):\n"
           "  --encoding ENCODING     how the source is read: 'auto' (default; UTF-8\n"
           "                          when it is valid UTF-8 with a character beyond\n"
           "                          ASCII or a byte-order mark), 'utf-8', or 'device'\n"
           "                          (the device's own 8-bit characters, as written)\n"
           "  --message-format FORMAT 'text' (default) or 'json': one JSON object per\n"
           "                          message and line, {\"level\": ..., \"message\": ...}\n"
           "                          with \"file\", \"line\" and \"column\" when it has them\n"
           "  --color WHEN            colour 'error:' and 'warning:': 'auto' (default;\n"
           "                          on a terminal, unless NO_COLOR is set),\n"
           "                          'always' or 'never'\n"
           "\n"
           "Dump options:\n"
           "  --text                  also print the decompressed text records\n"
           "\n"
           "Pages options:\n"
           "  --large                 the pages of the large font (default: the small font)\n"
           "  --batch                 leave out the warnings that batch mode silences\n"
           "\n"
           "Build reports status lines, 'warning: ...' and 'error: ...' on standard\n"
           "error; a message about a place in the source begins with\n"
           "'SOURCE:LINE:COLUMN: ' (as the source is written, counted from 1), one\n"
           "about the source as a whole with 'SOURCE: '. Several sources are built\n"
           "one after the other, each line of their messages starting with the\n"
           "source's name; the build succeeds only when every book was written.\n"
           "Exit status: 0 success, 1 failure (no book written, problems\n"
           "found, a file that could not be read, memory that ran out, or output\n"
           "that could not be written), 2 usage error (an empty option value too).\n";
}
