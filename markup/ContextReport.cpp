// Messages of the scanner. Errors that show a piece of the source are
// logged in the small-font pass only; errors without one in every pass;
// warnings in every pass unless the caller leaves them out in batch mode.
// Every error fails the parse, logged or not. A step that rescans text
// after a return to a snapshot logs nothing at all, so each message of a
// pass appears once.
#include <cstdarg>

#include "framework/core/Report.h"
#include "framework/core/StringFormat.h"
#include "markup/MarkupParser.h"

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

namespace {

enum class ReportLevel { Error, Warning };

// The formatted message, logged as one "%s" so that nothing in it is taken
// for a format again.
void LogFormatted(ReportLevel level, const char* format, va_list args)
{
    std::string text;
    FormatStringV(text, format, args);
    if (level == ReportLevel::Error)
        ReportError("%s", text.c_str());
    else
        ReportWarning("%s", text.c_str());
}

} // namespace

void MarkupParser::LogError(const char* format, ...)
{
    m_parse.failed = true;
    if (m_pass.silent)
        return;
    va_list args;
    va_start(args, format);
    LogFormatted(ReportLevel::Error, format, args);
    va_end(args);
}

void MarkupParser::LogWarning(const char* format, ...)
{
    if (m_pass.silent)
        return;
    va_list args;
    va_start(args, format);
    LogFormatted(ReportLevel::Warning, format, args);
    va_end(args);
}

void MarkupParser::ReportUnterminated(uint32_t backslash)
{
    m_pass.argumentCut = true;
    ReportParseError("Unterminated argument at the end of the file: \"%s\"", backslash, kUnterminatedContext);
}
