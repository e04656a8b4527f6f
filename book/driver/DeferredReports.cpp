#include "book/driver/DeferredReports.h"

#include <cstdio>

namespace {

CDeferredReports* g_active = nullptr;

} // namespace

CDeferredReports::CDeferredReports() : m_error(GetErrorHook()), m_warning(GetWarningHook()), m_status(GetStatusHook())
{
    g_active = this;
    SetErrorHook(&KeepError);
    SetWarningHook(&KeepWarning);
    SetStatusHook(&KeepStatus);
}

CDeferredReports::~CDeferredReports()
{
    Replay();
}

void CDeferredReports::Restore()
{
    if (!m_active)
        return;
    m_active = false;
    SetErrorHook(m_error);
    SetWarningHook(m_warning);
    SetStatusHook(m_status);
    if (g_active == this)
        g_active = nullptr;
}

void CDeferredReports::Replay()
{
    Restore();
    std::vector<Message> messages;
    messages.swap(m_messages);
    for (const Message& message : messages) {
        switch (message.level) {
        case kReportError: ReportError("%s", message.text.c_str()); break;
        case kReportWarning: ReportWarning("%s", message.text.c_str()); break;
        default: ReportStatus("%s", message.text.c_str()); break;
        }
    }
}

void CDeferredReports::Discard()
{
    Restore();
    m_messages.clear();
}

int32_t CDeferredReports::Keep(uint32_t level, const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    if (g_active)
        g_active->m_messages.push_back({level, std::move(text)});
    return 0;
}

int32_t CDeferredReports::KeepError(const char* format, va_list args)
{
    return Keep(kReportError, format, args);
}

int32_t CDeferredReports::KeepWarning(const char* format, va_list args)
{
    return Keep(kReportWarning, format, args);
}

int32_t CDeferredReports::KeepStatus(const char* format, va_list args)
{
    return Keep(kReportStatus, format, args);
}
