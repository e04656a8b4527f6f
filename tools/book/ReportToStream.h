// Sends the report functions' messages to a stream, one line each in the
// given style: status lines as they are, warnings and errors with a
// "warning: " or "error: " prefix (or as JSON objects). The hooks in place
// before are put back on destruction.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "framework/core/Report.h"
#include "tools/book/ToolMessages.h"

class CMessagePlaces;

class CReportToStream {
public:
    explicit CReportToStream(std::ostream& out, const MessageStyle& style = MessageStyle());
    ~CReportToStream();
    CReportToStream(const CReportToStream&) = delete;
    CReportToStream& operator=(const CReportToStream&) = delete;

    uint32_t ErrorCount() const { return m_errors; }
    uint32_t WarningCount() const { return m_warnings; }
    // A message of the tool's own, in the same style (counted as well),
    // about `place` in the source when given.
    void Write(MessageLevel level, const std::string& text, const SourceLocation* place = nullptr);
    // Where the places of reported messages are found (null: nowhere, the
    // messages are shown without them). Must outlive the reports.
    void SetPlaces(const CMessagePlaces* places) { m_places = places; }

private:
    static int32_t OnError(const char* format, va_list args);
    static int32_t OnWarning(const char* format, va_list args);
    static int32_t OnStatus(const char* format, va_list args);
    static void Emit(MessageLevel level, const char* format, va_list args);

    std::ostream& m_out;
    MessageStyle m_style;
    uint32_t m_errors = 0;
    uint32_t m_warnings = 0;
    ReportHook m_oldError;
    ReportHook m_oldWarning;
    ReportHook m_oldStatus;
    CReportToStream* m_previous;
    const CMessagePlaces* m_places = nullptr;
};

// Keeps the process-wide batch flag for one command only.
class CBatchModeScope {
public:
    explicit CBatchModeScope(bool batch) : m_saved(batchMode) { batchMode = batch; }
    ~CBatchModeScope() { batchMode = m_saved; }
    CBatchModeScope(const CBatchModeScope&) = delete;
    CBatchModeScope& operator=(const CBatchModeScope&) = delete;

private:
    bool m_saved;
};
