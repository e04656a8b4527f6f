#include "framework/platform/win32/selftest/WinSelfTestScenario.h"

#include <cstdlib>

namespace {

// Splits one line into words; false on an unclosed quote.
bool SplitWords(const std::string& line, std::vector<std::string>& words)
{
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\'))
                    c = line[i++];
                word += c;
            }
            if (!closed)
                return false;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                word += line[i++];
        }
        words.push_back(word);
    }
    return true;
}

// Seconds as written ("5", "0.5") in milliseconds; false when not a
// positive number of at most ten minutes.
bool ParseSeconds(const std::string& text, uint32_t& ms)
{
    char* end = nullptr;
    double seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(seconds > 0) || seconds > 600)
        return false;
    ms = static_cast<uint32_t>(seconds * 1000 + 0.5);
    return true;
}

} // namespace

bool ParseSelfTestScenario(const std::string& text, std::vector<SelfTestStep>& steps, std::string& error)
{
    steps.clear();
    size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        SelfTestStep step;
        step.line = number;
        step.text = line.substr(first);
        std::vector<std::string> words;
        if (!SplitWords(line, words)) {
            error = "line " + std::to_string(number) + ": a quote is not closed";
            return false;
        }
        if (words.size() >= 3 && words[words.size() - 2] == "within") {
            if (!ParseSeconds(words.back(), step.timeoutMs)) {
                error = "line " + std::to_string(number) + ": \"" + words.back() + "\" is not a time-out in seconds";
                return false;
            }
            words.resize(words.size() - 2);
        }
        step.kind = words[0];
        step.args.assign(words.begin() + 1, words.end());
        steps.push_back(step);
    }
    return true;
}
