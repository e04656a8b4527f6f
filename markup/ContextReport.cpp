// Messages of the scanner. Errors that show a piece of the source are
// logged in the small-font pass only; errors without one in every pass;
// warnings by the rule each names. Every error in force fails the parse,
// logged or not. The gate logs nothing of a step that rescans text after a
// return to a snapshot, so each message of a pass appears once.
#include <cstdarg>

#include "framework/core/MessageGate.h"
#include "framework/core/Report.h"
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

void MarkupParser::ReportParseError(uint32_t place, const char* format, int64_t at, ContextWindow window,
                                    MessageRule rule)
{
    const MessageVerdict verdict = JudgeMessage(rule, Pass());
    if (verdict.inForce)
        m_parse.failed = true;
    if (verdict.logged)
        ReportMessage(Pass(), kReportError, rule, ReportPlace::At(place), format,
                      Context(at - window.before, window.width).c_str());
}

void MarkupParser::ReportParseWarning(MessageRule rule, uint32_t place, const char* format, int64_t at,
                                      ContextWindow window)
{
    if (JudgeMessage(rule, Pass()).logged)
        ReportMessage(Pass(), kReportWarning, rule, ReportPlace::At(place), format,
                      Context(at - window.before, window.width).c_str());
}

void MarkupParser::LogError(uint32_t place, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    if (ReportMessageV(Pass(), kReportError, MessageRule::Always, ReportPlace::At(place), format, args).inForce)
        m_parse.failed = true;
    va_end(args);
}

void MarkupParser::LogWarning(MessageRule rule, uint32_t place, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    ReportMessageV(Pass(), kReportWarning, rule, ReportPlace::At(place), format, args);
    va_end(args);
}

void MarkupParser::ReportUnterminated(uint32_t backslash)
{
    m_pass.argumentCut = true;
    ReportParseError(backslash, "Unterminated argument at the end of the file: \"%s\"", backslash,
                     kUnterminatedContext);
}
