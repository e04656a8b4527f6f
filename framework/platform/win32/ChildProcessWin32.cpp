#include "framework/io/ChildProcess.h"

#include <mutex>

#include "framework/platform/win32/Win32Api.h"

namespace {

// Handles are inherited by every child created while they are marked so;
// creating one child at a time, with its pipe end marked only meanwhile,
// keeps each pipe end in its own child.
std::mutex g_creating;

class CHandle {
public:
    explicit CHandle(HANDLE handle = nullptr) : m_handle(handle) {}
    ~CHandle() { Close(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    HANDLE Get() const { return m_handle; }
    HANDLE* Receive() { return &m_handle; }
    void Close()
    {
        if (m_handle && m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    HANDLE m_handle;
};

// Narrow arguments are in the ANSI code page, as main receives them.
std::wstring Widen(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), n);
    return wide;
}

// One argument quoted so that the C runtime's command-line parser gives it
// back unchanged: backslashes are doubled only before a quote.
void AppendQuoted(std::wstring& line, const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    line += L'"';
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"')
            line.append(backslashes * 2 + 1, L'\\');
        else
            line.append(backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

std::string Failure(const char* what)
{
    return std::string(what) + " (Windows error " + std::to_string(GetLastError()) + ")";
}

} // namespace

ChildProcessResult RunChildProcess(const std::string& program, const std::vector<std::string>& arguments)
{
    ChildProcessResult result;
    const std::wstring path = Widen(program);
    std::wstring line;
    AppendQuoted(line, path);
    for (const std::string& argument : arguments) {
        line += L' ';
        AppendQuoted(line, Widen(argument));
    }

    CHandle readEnd;
    CHandle writeEnd;
    if (!CreatePipe(readEnd.Receive(), writeEnd.Receive(), nullptr, 0)) {
        result.failure = Failure("cannot make a pipe");
        return result;
    }
    PROCESS_INFORMATION process = {};
    {
        std::lock_guard<std::mutex> creating(g_creating);
        SetHandleInformation(writeEnd.Get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = writeEnd.Get();
        const BOOL created =
            CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
        if (!created)
            result.failure = Failure(("cannot run " + program).c_str());
        writeEnd.Close();
        if (!created)
            return result;
    }
    result.started = true;
    CHandle processHandle(process.hProcess);
    CHandle threadHandle(process.hThread);

    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(readEnd.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        result.errorOutput.append(chunk, got);
    readEnd.Close();
    // The child's C runtime wrote each line end as CR LF; this process's
    // own text streams will do so again.
    std::string::size_type kept = 0;
    for (std::string::size_type k = 0; k < result.errorOutput.size(); ++k)
        if (!(result.errorOutput[k] == '\r' && k + 1 < result.errorOutput.size() && result.errorOutput[k + 1] == '\n'))
            result.errorOutput[kept++] = result.errorOutput[k];
    result.errorOutput.resize(kept);
    DWORD status = 0;
    if (WaitForSingleObject(processHandle.Get(), INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(processHandle.Get(), &status)) {
        result.failure = Failure("cannot wait for the child process");
        return result;
    }
    result.exited = true;
    result.exitStatus = int(status);
    return result;
}

std::string CurrentProgramPath()
{
    wchar_t path[MAX_PATH + 1];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH)
        return std::string();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, path, int(n), nullptr, 0, nullptr, nullptr);
    std::string narrow(size_t(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_ACP, 0, path, int(n), narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}
