#include "driver/DeferredReports.h"

#include <cstdio>
#include <new>

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
    // Also reached while a build unwinds because memory ran out: the
    // messages then go out if there is room for them, else they are lost,
    // but the destructor never throws.
    try {
        Replay();
    } catch (const std::bad_alloc&) {
        Discard();
    }
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
    m_keptBytes = 0;
    for (const Message& message : messages) {
        const CReportPlaceScope place(message.place);
        switch (message.level) {
        case kReportError:
            ReportError("%s", message.text.c_str());
            break;
        case kReportWarning:
            ReportWarning("%s", message.text.c_str());
            break;
        default:
            ReportStatus("%s", message.text.c_str());
            break;
        }
    }
}

void CDeferredReports::Discard()
{
    Restore();
    m_messages.clear();
    m_keptBytes = 0;
}

void CDeferredReports::SetBudget(size_t bytes, std::function<bool()> settle)
{
    m_budget = bytes;
    m_settle = std::move(settle);
}

int32_t CDeferredReports::Keep(uint32_t level, const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    CDeferredReports* active = g_active;
    if (!active || active->m_dropping)
        return 0;
    active->m_keptBytes += sizeof(Message) + text.size();
    active->m_messages.push_back({level, std::move(text), CurrentReportPlace()});
    if (active->m_budget && active->m_keptBytes > active->m_budget && active->m_settle) {
        const std::function<bool()> settle = std::move(active->m_settle);
        active->m_settle = nullptr;
        if (settle()) {
            active->Replay();
        } else {
            active->m_messages.clear();
            active->m_keptBytes = 0;
            active->m_dropping = true;
        }
    }
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
