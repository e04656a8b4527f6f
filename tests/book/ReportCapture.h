// Collects the messages sent to the report functions during a test.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/core/Report.h"

class ReportCapture {
public:
    ReportCapture()
    {
        Messages().clear();
        SetErrorHook(&Error);
        SetWarningHook(&Warning);
        SetStatusHook(&Status);
    }
    ~ReportCapture() { ResetReportHooks(); }

    // Each message prefixed with "E:", "W:" or "S:".
    static std::vector<std::string>& Messages()
    {
        static std::vector<std::string> messages;
        return messages;
    }
    static size_t Count(const std::string& prefixed)
    {
        size_t n = 0;
        for (const std::string& m : Messages())
            n += m == prefixed;
        return n;
    }

private:
    static int32_t Add(const char* prefix, const char* format, va_list args)
    {
        char text[2048];
        std::vsnprintf(text, sizeof text, format, args);
        Messages().push_back(std::string(prefix) + text);
        return 0;
    }
    static int32_t Error(const char* f, va_list a) { return Add("E:", f, a); }
    static int32_t Warning(const char* f, va_list a) { return Add("W:", f, a); }
    static int32_t Status(const char* f, va_list a) { return Add("S:", f, a); }
};
