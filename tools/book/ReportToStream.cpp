#include "tools/book/ReportToStream.h"

#include <cstdio>
#include <string>

#include "tools/book/BookText.h"

namespace {

// The hooks are plain functions, so the active sink is kept here; sinks nest.
CReportToStream* g_activeSink = nullptr;

}

CReportToStream::CReportToStream(std::ostream& out)
    : m_out(out),
      m_oldError(GetErrorHook()),
      m_oldWarning(GetWarningHook()),
      m_oldStatus(GetStatusHook()),
      m_previous(g_activeSink)
{
    g_activeSink = this;
    SetErrorHook(&OnError);
    SetWarningHook(&OnWarning);
    SetStatusHook(&OnStatus);
}

CReportToStream::~CReportToStream()
{
    SetErrorHook(m_oldError);
    SetWarningHook(m_oldWarning);
    SetStatusHook(m_oldStatus);
    g_activeSink = m_previous;
}

void CReportToStream::Emit(const char* prefix, const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string message(n > 0 ? size_t(n) : 0, '\0');
    if (n > 0) {
        std::vsnprintf(message.data(), message.size() + 1, format, args);
    }
    // One line per message: trailing line ends go, inner ones become spaces.
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    for (char& c : message) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    std::ostream& out = g_activeSink->m_out;
    out << prefix << DisplayText(reinterpret_cast<const uint8_t*>(message.data()), message.size(), true) << '\n';
    out.flush();
}

int32_t CReportToStream::OnError(const char* format, va_list args)
{
    ++g_activeSink->m_errors;
    Emit("error: ", format, args);
    return 0;
}

int32_t CReportToStream::OnWarning(const char* format, va_list args)
{
    ++g_activeSink->m_warnings;
    Emit("warning: ", format, args);
    return 0;
}

int32_t CReportToStream::OnStatus(const char* format, va_list args)
{
    Emit("", format, args);
    return 0;
}
