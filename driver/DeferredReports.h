// Holding back the messages of a step that runs while other work goes on,
// so that they can be given out afterwards in their order, or dropped when
// that other work fails first in the order of the build's steps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/Report.h"
#include "framework/core/ReportPlace.h"

// While it is active, every report (on any level) is kept, with its place,
// instead of given to the hooks. Only one may be active at a time, and reports must come
// from the thread that made it.
class CDeferredReports {
public:
    CDeferredReports();
    // Replays what is still kept.
    ~CDeferredReports();
    CDeferredReports(const CDeferredReports&) = delete;
    CDeferredReports& operator=(const CDeferredReports&) = delete;

    // Puts the hooks back and gives the kept messages to them in order.
    void Replay();
    // Puts the hooks back and forgets the kept messages.
    void Discard();
    // Bounds the memory of what is kept: once the kept messages pass
    // `bytes`, `settle` is called once to finish the other work. When it
    // succeeded the kept messages are given out and later ones go straight
    // to the hooks, in the same order as ever; when it failed they are
    // forgotten and so is every later one, as Discard would have.
    void SetBudget(size_t bytes, std::function<bool()> settle);

private:
    struct Message {
        uint32_t level;
        std::string text;
        ReportPlace place;
    };

    static int32_t KeepError(const char* format, va_list args);
    static int32_t KeepWarning(const char* format, va_list args);
    static int32_t KeepStatus(const char* format, va_list args);
    static int32_t Keep(uint32_t level, const char* format, va_list args);
    void Restore();

    ReportHook m_error;
    ReportHook m_warning;
    ReportHook m_status;
    bool m_active = true;
    bool m_dropping = false;
    std::vector<Message> m_messages;
    size_t m_keptBytes = 0;
    size_t m_budget = 0; // 0: none
    std::function<bool()> m_settle;
};
