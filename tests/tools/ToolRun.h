// Test support: runs vellumix-book's commands in process and reads files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tools/book/BookTool.h"

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

inline ToolRun RunTool(const std::vector<std::string>& words)
{
    std::vector<const char*> argv = {"vellumix-book"};
    for (const std::string& w : words)
        argv.push_back(w.c_str());
    std::ostringstream out;
    std::ostringstream err;
    int status = RunBookTool(int(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The same with `in` as the command's standard input (a source named "-").
inline ToolRun RunToolWithInput(const std::vector<std::string>& words, const std::string& input)
{
    std::vector<const char*> argv = {"vellumix-book"};
    for (const std::string& w : words)
        argv.push_back(w.c_str());
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    int status = RunBookTool(int(argv.size()), argv.data(), in, out, err);
    return {status, out.str(), err.str()};
}

// `text` as it stands inside a JSON string (Windows paths hold backslashes).
inline std::string JsonText(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}
