// The clock that drives the headless event loop's timers. The steady clock
// is the real one; the manual clock only moves when told to (or when the
// loop waits on it), which makes timer runs deterministic.
#pragma once

#include <cstdint>

class IRkLoopClock {
public:
    virtual ~IRkLoopClock() = default;
    // Milliseconds since an arbitrary start; never goes back.
    virtual uint64_t NowMs() const = 0;
    // Returns once NowMs() has reached `ms`.
    virtual void WaitUntil(uint64_t ms) = 0;
};

class CRkSteadyClock : public IRkLoopClock {
public:
    uint64_t NowMs() const override;
    void WaitUntil(uint64_t ms) override;
};

class CRkManualClock : public IRkLoopClock {
public:
    explicit CRkManualClock(uint64_t startMs = 0) : m_now(startMs) {}
    uint64_t NowMs() const override { return m_now; }
    // Waiting jumps straight to the time waited for.
    void WaitUntil(uint64_t ms) override;
    void Advance(uint64_t ms) { m_now += ms; }

private:
    uint64_t m_now;
};
