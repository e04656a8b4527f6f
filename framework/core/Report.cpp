#include "framework/core/Report.h"

#include <cstdio>
#include <string>

#include "framework/core/StringFormat.h"

bool batchMode = false;

namespace {

// Formats with the C library's rules and writes the message to the standard
// output, ending it with a line break when it does not end with one.
int32_t WriteToStandardOutput(const char* format, va_list args)
{
    std::string text;
    if (!format || !FormatStringV(text, format, args))
        return 0;
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (text.empty() || text.back() != '\n')
        std::fputc('\n', stdout);
    std::fflush(stdout);
    return 0;
}

ReportHook errorHook = WriteToStandardOutput;
ReportHook warningHook = WriteToStandardOutput;
ReportHook statusHook = WriteToStandardOutput;

int32_t CallHook(ReportHook hook, const char* format, va_list args)
{
    return hook(format, args);
}

} // namespace

int32_t ReportError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int32_t result = CallHook(errorHook, format, args);
    va_end(args);
    return result;
}

int32_t ReportWarning(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int32_t result = CallHook(warningHook, format, args);
    va_end(args);
    return result;
}

int32_t ReportStatus(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int32_t result = CallHook(statusHook, format, args);
    va_end(args);
    return result;
}

void SetErrorHook(ReportHook hook)
{
    if (hook)
        errorHook = hook;
}

void SetWarningHook(ReportHook hook)
{
    if (hook)
        warningHook = hook;
}

void SetStatusHook(ReportHook hook)
{
    if (hook)
        statusHook = hook;
}

ReportHook GetErrorHook()
{
    return errorHook;
}

ReportHook GetWarningHook()
{
    return warningHook;
}

ReportHook GetStatusHook()
{
    return statusHook;
}

void ResetReportHooks()
{
    errorHook = warningHook = statusHook = WriteToStandardOutput;
}
