// The three report functions every diagnostic goes through, their
// replaceable hooks, and the batch mode flag.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "framework/core/Compiler.h"

enum : uint32_t {
    kReportStatus = 0,
    kReportWarning = 1,
    kReportError = 2,
};

using ReportHook = int32_t (*)(const char* format, va_list args);

int32_t ReportError(const char* format, ...) VX_PRINTF_FORMAT(1, 2);
int32_t ReportWarning(const char* format, ...) VX_PRINTF_FORMAT(1, 2);
int32_t ReportStatus(const char* format, ...) VX_PRINTF_FORMAT(1, 2);

void SetErrorHook(ReportHook hook);
void SetWarningHook(ReportHook hook);
void SetStatusHook(ReportHook hook);
ReportHook GetErrorHook();
ReportHook GetWarningHook();
ReportHook GetStatusHook();
// Puts every hook back to the standard-output writer.
void ResetReportHooks();

// Set by the batch option; producers of silenced warnings test it.
extern bool batchMode;
