// The one place that decides whether a message of the compiler is logged.
// A message has a level, a rule and a place; the caller reports it and the
// gate weighs the rule against the batch flag and the pass it comes from.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "framework/core/Compiler.h"
#include "framework/core/Report.h"
#include "framework/core/ReportPlace.h"

enum class MessageRule : uint8_t {
    Always,                  // logged wherever it is reported
    NotInBatch,              // silenced by the batch option
    SmallFontPass,           // logged in the small-font pass of a layout only
    SmallFontPassNotInBatch, // both of the above
};

// The pass of the layout a message comes from. Outside a layout the
// default stands: every message counts as the small-font pass's.
struct MessagePass {
    bool smallFont = true;
    // The step scans text again after the layout went back to an earlier
    // point: what it meets was reported the first time.
    bool rescan = false;
};

struct MessageVerdict {
    // The message applies to this run (not silenced by the batch option):
    // an error still fails the build when it is not logged.
    bool inForce = false;
    bool logged = false;
};

MessageVerdict JudgeMessage(MessageRule rule, const MessagePass& pass);

// Reports `format` at `level` (kReportError, kReportWarning, kReportStatus)
// when the gate lets it through, with `place` (an offset of the prepared
// text, translated by the place map in force) as the current place.
MessageVerdict ReportMessage(const MessagePass& pass, uint32_t level, MessageRule rule, const ReportPlace& place,
                             const char* format, ...) VX_PRINTF_FORMAT(5, 6);
MessageVerdict ReportMessageV(const MessagePass& pass, uint32_t level, MessageRule rule, const ReportPlace& place,
                              const char* format, va_list args);
// The same outside a layout.
MessageVerdict ReportMessage(uint32_t level, MessageRule rule, const ReportPlace& place, const char* format, ...)
    VX_PRINTF_FORMAT(4, 5);

// A message shown at most `limit` times: `count` goes up each time the
// gate would log it, and it is logged while the count is within the limit.
// Returns the count it got, 0 when it would not be logged.
uint32_t ReportCountedMessage(const MessagePass& pass, uint32_t& count, uint32_t limit, uint32_t level,
                              MessageRule rule, const ReportPlace& place, const char* format, ...)
    VX_PRINTF_FORMAT(7, 8);
