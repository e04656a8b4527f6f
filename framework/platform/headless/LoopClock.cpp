#include "framework/platform/headless/LoopClock.h"

#include <chrono>
#include <thread>

uint64_t CRkSteadyClock::NowMs() const
{
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void CRkSteadyClock::WaitUntil(uint64_t ms)
{
    uint64_t now = NowMs();
    if (ms > now)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms - now));
}

void CRkManualClock::WaitUntil(uint64_t ms)
{
    if (ms > m_now)
        m_now = ms;
}
