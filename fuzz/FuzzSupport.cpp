#include "fuzz/FuzzSupport.h"

#include <filesystem>
#include <fstream>
#include <random>

#include "framework/core/Report.h"

namespace {

namespace fs = std::filesystem;

uint32_t g_errors = 0;
uint32_t g_warnings = 0;
std::vector<std::string> g_errorFormats;

int32_t CountError(const char* format, va_list)
{
    ++g_errors;
    g_errorFormats.emplace_back(format ? format : "");
    return 0;
}

int32_t CountWarning(const char*, va_list)
{
    ++g_warnings;
    return 0;
}

int32_t Ignore(const char*, va_list)
{
    return 0;
}

// Owns the folder; its destructor runs at normal process exit.
class CScratch {
public:
    CScratch()
    {
        std::random_device random;
        const fs::path base = fs::temp_directory_path();
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            const fs::path candidate = base / ("vx_fuzz_" + std::to_string(random()) + std::to_string(random()));
            std::error_code error;
            if (fs::create_directory(candidate, error))
                m_path = candidate.string();
        }
    }
    ~CScratch()
    {
        if (m_path.empty())
            return;
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace

const std::string& FuzzScratchFolder()
{
    static CScratch scratch;
    return scratch.Path();
}

bool WriteScratchFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (size)
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    return static_cast<bool>(out);
}

CSilentReports::CSilentReports(bool batch)
    : m_error(GetErrorHook()), m_warning(GetWarningHook()), m_status(GetStatusHook()), m_batch(batchMode)
{
    g_errors = 0;
    g_warnings = 0;
    g_errorFormats.clear();
    SetErrorHook(&CountError);
    SetWarningHook(&CountWarning);
    SetStatusHook(&Ignore);
    batchMode = batch;
}

CSilentReports::~CSilentReports()
{
    SetErrorHook(m_error);
    SetWarningHook(m_warning);
    SetStatusHook(m_status);
    batchMode = m_batch;
}

uint32_t CSilentReports::Errors() const
{
    return g_errors;
}

uint32_t CSilentReports::Warnings() const
{
    return g_warnings;
}

const std::vector<std::string>& CSilentReports::ErrorFormats() const
{
    return g_errorFormats;
}
