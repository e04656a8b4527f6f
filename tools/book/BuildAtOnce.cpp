// build -j N: every source is built by a child process running this
// program again for that source alone, up to N at a time. The compiler's
// report hooks and batch flag are process-wide, so books cannot share a
// process while they are built. Each child's messages are collected whole
// and shown in the order of the sources.
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "framework/io/ChildProcess.h"
#include "tools/book/BookTool.h"
#include "tools/book/ToolMessages.h"
#include "tools/book/ToolOptions.h"

namespace {

// The command line of the child for `source`: this command's options as
// given, messages named as with several sources, and colour as decided
// here (the child's error stream is a pipe).
std::vector<std::string> ChildArguments(const ToolOptions& options, const std::string& source)
{
    std::vector<std::string> words = {"build"};
    words.insert(words.end(), options.optionWords.begin(), options.optionWords.end());
    words.push_back("--one-of-several");
    words.push_back(options.style.colour ? "--color=always" : "--color=never");
    words.push_back("--");
    words.push_back(source);
    return words;
}

class CBuildQueue {
public:
    explicit CBuildQueue(const ToolOptions& options) : m_options(options), m_results(options.inputs.size()) {}

    // Builds sources until none is left.
    void Work()
    {
        for (;;) {
            size_t k;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_next == m_results.size())
                    return;
                k = m_next++;
            }
            ChildProcessResult result =
                RunChildProcess(m_options.programPath, ChildArguments(m_options, m_options.inputs[k]));
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_results[k].result = std::move(result);
                m_results[k].done = true;
            }
            m_finished.notify_all();
        }
    }

    // The result of source k, once its child has ended.
    ChildProcessResult Take(size_t k)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_finished.wait(lock, [&] { return m_results[k].done; });
        return std::move(m_results[k].result);
    }

private:
    struct Slot {
        bool done = false;
        ChildProcessResult result;
    };
    const ToolOptions& m_options;
    std::mutex m_mutex;
    std::condition_variable m_finished;
    std::vector<Slot> m_results;
    size_t m_next = 0;
};

} // namespace

int RunBuildsAtOnce(const ToolOptions& options, std::ostream& err)
{
    CBuildQueue queue(options);
    std::vector<std::thread> workers;
    const size_t count = std::min<size_t>(options.jobs, options.inputs.size());
    for (size_t k = 0; k < count; ++k) {
        try {
            workers.emplace_back([&queue] { queue.Work(); });
        } catch (const std::system_error&) {
            break; // fewer at once; the ones running do the rest
        }
    }
    if (workers.empty())
        queue.Work();

    int status = 0;
    for (size_t k = 0; k < options.inputs.size(); ++k) {
        const ChildProcessResult result = queue.Take(k);
        err << result.errorOutput;
        err.flush();
        MessageStyle style = options.style;
        style.source = options.inputs[k];
        if (!result.started) {
            WriteMessage(err, style, MessageLevel::Error,
                         "the book could not be built in a process of its own: " + result.failure);
        } else if (!result.exited) {
            WriteMessage(err, style, MessageLevel::Error,
                         "the build of this book ended abnormally" +
                             (result.failure.empty() ? "" : ": " + result.failure));
        }
        if (!result.exited || result.exitStatus != 0)
            status = 1;
    }
    for (std::thread& worker : workers)
        worker.join();
    return status;
}
