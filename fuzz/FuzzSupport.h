// Shared pieces of the fuzz targets and their regression replay: a scratch
// folder for the files an input becomes, and report hooks that count
// instead of printing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/Report.h"

// A folder of this process, removed when the process ends normally.
const std::string& FuzzScratchFolder();

// Writes the bytes to a file in the scratch folder; false when it fails.
bool WriteScratchFile(const std::string& path, const uint8_t* data, size_t size);

// Sets every report hook to a silent counter while it lives (and batch
// mode as asked); puts the previous hooks and batch mode back afterwards.
class CSilentReports {
public:
    explicit CSilentReports(bool batch);
    ~CSilentReports();
    CSilentReports(const CSilentReports&) = delete;
    CSilentReports& operator=(const CSilentReports&) = delete;

    uint32_t Errors() const;
    uint32_t Warnings() const;
    // The format of every error reported, in order.
    const std::vector<std::string>& ErrorFormats() const;

private:
    ReportHook m_error;
    ReportHook m_warning;
    ReportHook m_status;
    bool m_batch;
};
