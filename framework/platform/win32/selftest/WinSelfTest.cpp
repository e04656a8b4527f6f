#include "framework/platform/win32/selftest/WinSelfTest.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

#include "framework/platform/win32/selftest/WinSelfTestScenario.h"
#include "framework/platform/win32/selftest/WinSelfTestSteps.h"
#include "framework/platform/win32/selftest/WinSelfTestWindows.h"

namespace {

constexpr DWORD kPollMs = 40;

// The run's state, shared by the driver thread and the exit handler: the
// first of them to finish writes the report.
std::mutex g_lock;
bool g_finished = false;
std::wstring g_reportPath;
std::vector<SelfTestStep> g_steps;
std::atomic<size_t> g_current{0};

std::wstring Environment(const wchar_t* name)
{
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

// Writes the report once; later calls do nothing. False when already done.
bool Report(const std::string& text)
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_finished)
        return false;
    g_finished = true;
    if (FILE* file = _wfopen(g_reportPath.c_str(), L"wb")) {
        std::fprintf(file, "%s\n", text.c_str());
        std::fclose(file);
    }
    return true;
}

[[noreturn]] void End(int code)
{
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    std::_Exit(code);
}

std::string FailLine(const SelfTestStep& step, const std::string& what)
{
    return "FAIL line " + std::to_string(step.line) + ": " + step.text + " -- " + what;
}

// The program ends by returning from its entry point. The steps left are
// then looked at once more: an expect-exit step is done, and the checks
// that need no window (files, windows gone) are made now; any other step
// can no longer be done. Ending without an expect-exit step left fails.
void AtProgramExit()
{
    SelfTestContext context;
    bool expected = false;
    for (size_t i = g_current.load(); i < g_steps.size(); ++i) {
        const SelfTestStep& step = g_steps[i];
        if (step.kind == "expect-exit") {
            expected = true;
            continue;
        }
        const SelfTestStepKind* kind = FindSelfTestStepKind(step.kind);
        std::wstring seen;
        if (!kind->afterExit) {
            if (Report(FailLine(step, "the program ended before this step was done")))
                End(kSelfTestFailedExit);
            return;
        }
        if (!kind->attempt(context, step, seen)) {
            if (Report(FailLine(step, "not so when the program ended; seen: " + SelfTestNarrow(seen))))
                End(kSelfTestFailedExit);
            return;
        }
    }
    if (!expected && g_current.load() < g_steps.size()) {
        if (Report(FailLine(g_steps[g_current.load()], "the program ended, and no step expected it to")))
            End(kSelfTestFailedExit);
        return;
    }
    Report("PASS");
}

void Drive()
{
    SelfTestContext context;
    for (size_t i = 0; i < g_steps.size(); ++i) {
        g_current = i;
        const SelfTestStep& step = g_steps[i];
        const SelfTestStepKind* kind = FindSelfTestStepKind(step.kind);
        const DWORD start = GetTickCount();
        std::wstring seen;
        while (!kind->attempt(context, step, seen)) {
            if (GetTickCount() - start >= step.timeoutMs) {
                char within[32];
                std::snprintf(within, sizeof within, "not done within %.1f s; seen: ", step.timeoutMs / 1000.0);
                const std::string what = within + SelfTestNarrow(seen);
                if (Report(FailLine(step, what)))
                    End(kSelfTestFailedExit);
                return;
            }
            Sleep(kPollMs);
        }
    }
    // Not reached: a scenario ends with expect-exit, which the exit handler
    // completes (or the step's time-out fails).
}

} // namespace

void StartWinSelfTestFromEnvironment()
{
    const std::wstring scenario = Environment(L"RK_SELF_TEST");
    if (scenario.empty())
        return;
    g_reportPath = Environment(L"RK_SELF_TEST_REPORT");
    if (g_reportPath.empty())
        g_reportPath = scenario + L".report";
    // The report goes where it was asked for, whatever the current folder
    // is when the run ends.
    wchar_t full[MAX_PATH * 2] = {};
    DWORD length = GetFullPathNameW(g_reportPath.c_str(), MAX_PATH * 2, full, nullptr);
    if (length > 0 && length < MAX_PATH * 2)
        g_reportPath.assign(full, length);
    length = GetCurrentDirectoryW(MAX_PATH * 2, full);
    if (length > 0 && length < MAX_PATH * 2)
        SetSelfTestBaseDirectory(std::wstring(full, length));
    std::ifstream in(scenario.c_str(), std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    std::string error;
    if (!in.good() && !in.eof())
        error = "the scenario " + SelfTestNarrow(scenario) + " cannot be read";
    else if (ParseSelfTestScenario(text, g_steps, error))
        CheckSelfTestSteps(g_steps, error);
    if (!error.empty()) {
        Report("FAIL scenario: " + error);
        End(kSelfTestBadScenarioExit);
    }
    CreateSelfTestAgent();
    std::atexit(AtProgramExit);
    std::thread(Drive).detach();
}
