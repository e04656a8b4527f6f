#include "framework/core/MessageGate.h"

#include <string>

#include "framework/core/Report.h"
#include "framework/core/StringFormat.h"

MessageVerdict JudgeMessage(MessageRule rule, const MessagePass& pass)
{
    const bool batchSilenced =
        batchMode && (rule == MessageRule::NotInBatch || rule == MessageRule::SmallFontPassNotInBatch);
    const bool smallFontOnly = rule == MessageRule::SmallFontPass || rule == MessageRule::SmallFontPassNotInBatch;
    MessageVerdict verdict;
    verdict.inForce = !batchSilenced;
    verdict.logged = verdict.inForce && !pass.rescan && (pass.smallFont || !smallFontOnly);
    return verdict;
}

namespace {

// The formatted text goes on as one "%s", so that nothing in it is taken
// for a format again.
void Log(uint32_t level, const ReportPlace& place, const char* format, va_list args)
{
    std::string text;
    FormatStringV(text, format, args);
    const CReportPlaceScope scope(GivenPlace(place));
    switch (level) {
    case kReportError:
        ReportError("%s", text.c_str());
        break;
    case kReportWarning:
        ReportWarning("%s", text.c_str());
        break;
    default:
        ReportStatus("%s", text.c_str());
        break;
    }
}

} // namespace

MessageVerdict ReportMessageV(const MessagePass& pass, uint32_t level, MessageRule rule, const ReportPlace& place,
                              const char* format, va_list args)
{
    const MessageVerdict verdict = JudgeMessage(rule, pass);
    if (verdict.logged)
        Log(level, place, format, args);
    return verdict;
}

MessageVerdict ReportMessage(const MessagePass& pass, uint32_t level, MessageRule rule, const ReportPlace& place,
                             const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const MessageVerdict verdict = ReportMessageV(pass, level, rule, place, format, args);
    va_end(args);
    return verdict;
}

MessageVerdict ReportMessage(uint32_t level, MessageRule rule, const ReportPlace& place, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const MessageVerdict verdict = ReportMessageV(MessagePass{}, level, rule, place, format, args);
    va_end(args);
    return verdict;
}

uint32_t ReportCountedMessage(const MessagePass& pass, uint32_t& count, uint32_t limit, uint32_t level,
                              MessageRule rule, const ReportPlace& place, const char* format, ...)
{
    if (!JudgeMessage(rule, pass).logged)
        return 0;
    ++count;
    if (count <= limit) {
        va_list args;
        va_start(args, format);
        Log(level, place, format, args);
        va_end(args);
    }
    return count;
}
