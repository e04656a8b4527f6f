// Collects every reported message while it lives, by level, and puts the
// previous hooks and batch mode back afterwards.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/core/Report.h"

class ReportCapture {
public:
    explicit ReportCapture(bool batch = false)
        : m_error(GetErrorHook()), m_warning(GetWarningHook()), m_status(GetStatusHook()), m_batch(batchMode)
    {
        Errors().clear();
        Warnings().clear();
        Statuses().clear();
        SetErrorHook(&CaptureError);
        SetWarningHook(&CaptureWarning);
        SetStatusHook(&CaptureStatus);
        batchMode = batch;
    }
    ~ReportCapture()
    {
        SetErrorHook(m_error);
        SetWarningHook(m_warning);
        SetStatusHook(m_status);
        batchMode = m_batch;
    }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    const std::vector<std::string>& errors() const { return Errors(); }
    const std::vector<std::string>& warnings() const { return Warnings(); }
    const std::vector<std::string>& statuses() const { return Statuses(); }

    size_t CountWarnings(const std::string& prefix) const { return CountPrefix(Warnings(), prefix); }
    size_t CountErrors(const std::string& prefix) const { return CountPrefix(Errors(), prefix); }
    size_t CountStatuses(const std::string& prefix) const { return CountPrefix(Statuses(), prefix); }

private:
    static size_t CountPrefix(const std::vector<std::string>& list, const std::string& prefix)
    {
        size_t n = 0;
        for (const std::string& s : list)
            n += s.compare(0, prefix.size(), prefix) == 0;
        return n;
    }
    static std::string Format(const char* format, va_list args)
    {
        char text[1024];
        std::vsnprintf(text, sizeof text, format, args);
        return text;
    }
    static std::vector<std::string>& Errors()
    {
        static std::vector<std::string> list;
        return list;
    }
    static std::vector<std::string>& Warnings()
    {
        static std::vector<std::string> list;
        return list;
    }
    static std::vector<std::string>& Statuses()
    {
        static std::vector<std::string> list;
        return list;
    }
    static int32_t CaptureError(const char* format, va_list args)
    {
        Errors().push_back(Format(format, args));
        return 0;
    }
    static int32_t CaptureWarning(const char* format, va_list args)
    {
        Warnings().push_back(Format(format, args));
        return 0;
    }
    static int32_t CaptureStatus(const char* format, va_list args)
    {
        Statuses().push_back(Format(format, args));
        return 0;
    }

    ReportHook m_error;
    ReportHook m_warning;
    ReportHook m_status;
    bool m_batch;
};
