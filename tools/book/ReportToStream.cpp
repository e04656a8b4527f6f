#include "tools/book/ReportToStream.h"

#include <string>

#include "framework/core/ReportPlace.h"
#include "framework/core/StringFormat.h"
#include "tools/book/MessagePlaces.h"

namespace {

// The hooks are plain functions, so the active sink is kept here; sinks nest.
CReportToStream* g_activeSink = nullptr;

} // namespace

CReportToStream::CReportToStream(std::ostream& out, const MessageStyle& style)
    : m_out(out),
      m_style(style),
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

void CReportToStream::Emit(MessageLevel level, const char* format, va_list args)
{
    std::string message;
    FormatStringV(message, format, args);
    // One line per message: trailing line ends go, inner ones become spaces.
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    for (char& c : message)
        if (c == '\n' || c == '\r')
            c = ' ';
    SourceLocation location;
    const CMessagePlaces* places = g_activeSink->m_places;
    const bool placed = places && places->Locate(CurrentReportPlace(), location);
    WriteMessage(g_activeSink->m_out, g_activeSink->m_style, level,
                 MessageText(reinterpret_cast<const uint8_t*>(message.data()), message.size()), "",
                 placed ? &location : nullptr);
}

void CReportToStream::Write(MessageLevel level, const std::string& text, const SourceLocation* place)
{
    if (level == MessageLevel::Error)
        ++m_errors;
    else if (level == MessageLevel::Warning)
        ++m_warnings;
    WriteMessage(m_out, m_style, level, text, "", place);
}

int32_t CReportToStream::OnError(const char* format, va_list args)
{
    ++g_activeSink->m_errors;
    Emit(MessageLevel::Error, format, args);
    return 0;
}

int32_t CReportToStream::OnWarning(const char* format, va_list args)
{
    ++g_activeSink->m_warnings;
    Emit(MessageLevel::Warning, format, args);
    return 0;
}

int32_t CReportToStream::OnStatus(const char* format, va_list args)
{
    Emit(MessageLevel::Status, format, args);
    return 0;
}
