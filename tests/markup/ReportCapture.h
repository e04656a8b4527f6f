// Collects every reported message while it lives, by level and in one
// ordered list, and puts the previous hooks and batch mode back afterwards.
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
        All().clear();
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
    // Every message in order, prefixed "E:", "W:" or "S:".
    const std::vector<std::string>& all() const { return All(); }
    // Errors and warnings in order, prefixed "E:" or "W:".
    std::vector<std::string> problems() const
    {
        std::vector<std::string> out;
        for (const std::string& m : All())
            if (m.compare(0, 2, "S:") != 0)
                out.push_back(m);
        return out;
    }

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
    static std::vector<std::string>& All()
    {
        static std::vector<std::string> list;
        return list;
    }
    static int32_t CaptureError(const char* format, va_list args)
    {
        Errors().push_back(Format(format, args));
        All().push_back("E:" + Errors().back());
        return 0;
    }
    static int32_t CaptureWarning(const char* format, va_list args)
    {
        Warnings().push_back(Format(format, args));
        All().push_back("W:" + Warnings().back());
        return 0;
    }
    static int32_t CaptureStatus(const char* format, va_list args)
    {
        Statuses().push_back(Format(format, args));
        All().push_back("S:" + Statuses().back());
        return 0;
    }

    ReportHook m_error;
    ReportHook m_warning;
    ReportHook m_status;
    bool m_batch;
};
