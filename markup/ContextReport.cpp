// Messages of the scanner. Errors that show a piece of the source are
// logged in the small-font pass only; errors without one in every pass;
// warnings in every pass unless the caller leaves them out in batch mode.
// Every error fails the parse, logged or not. A step that rescans text
// after a return to a snapshot logs nothing at all, so each message of a
// pass appears once.
#include <cstdarg>
#include <cstdio>

#include "framework/core/Report.h"
#include "markup/ParseState.h"

namespace {

std::string FormatMessage(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0)
        return std::string();
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<size_t>(n));
    return text;
}

} // namespace

std::string MarkupParser::Context(int64_t offset, uint32_t count) const
{
    if (count > kMaxContext)
        count = kMaxContext;
    int64_t end = offset + count;
    if (offset < 0)
        offset = 0;
    if (end > static_cast<int64_t>(m_length))
        end = m_length;
    if (end <= offset)
        return std::string();
    return std::string(reinterpret_cast<const char*>(m_text + offset), static_cast<size_t>(end - offset));
}

bool MarkupParser::LogsWarnings() const
{
    return !batchMode && !m_pass.silent;
}

void MarkupParser::ReportParseError(const char* format, int64_t offset, uint32_t count)
{
    m_parse.failed = true;
    if (m_pass.smallFont && !m_pass.silent)
        ReportError(format, Context(offset, count).c_str());
}

void MarkupParser::ReportParseWarning(const char* format, int64_t offset, uint32_t count)
{
    if (!m_pass.silent)
        ReportWarning(format, Context(offset, count).c_str());
}

void MarkupParser::LogError(const char* format, ...)
{
    m_parse.failed = true;
    if (m_pass.silent)
        return;
    va_list args;
    va_start(args, format);
    const std::string text = FormatMessage(format, args);
    va_end(args);
    ReportError("%s", text.c_str());
}

void MarkupParser::LogWarning(const char* format, ...)
{
    if (m_pass.silent)
        return;
    va_list args;
    va_start(args, format);
    const std::string text = FormatMessage(format, args);
    va_end(args);
    ReportWarning("%s", text.c_str());
}

void MarkupParser::ReportUnterminated(uint32_t backslash)
{
    m_pass.argumentCut = true;
    ReportParseError("Unterminated argument at the end of the file: \"%s\"", backslash, kUnterminatedContext);
}
