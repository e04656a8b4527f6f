// An in-process event loop: posted messages are delivered in posting order
// (and their payloads deleted after delivery), timers fire from a monotonic
// clock, key presses go through the shortcut tables, and Quit ends the loop
// with a code. As on Windows, where posted messages come before WM_QUIT, an
// accepted Quit ends the loop only once the queue is empty: what is queued
// (also what those deliveries post) is still delivered, up to
// kDeliveriesAfterQuit messages; what is left after that is dropped and its
// payloads deleted. Timers do not fire once the quit is pending. It serves console runs and tests: a test can run the
// loop until it is idle, move a manual clock, and read back what was delivered.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "framework/core/RkApplicationImp.h"
#include "framework/core/RkShortcutRouting.h"
#include "framework/platform/headless/LoopClock.h"

class CRkHeadlessApplicationImp : public IRkApplicationImp {
public:
    // How a run of the loop ended.
    enum class RunEnd {
        Quit,     // Quit was accepted and the loop reached it
        Idle,     // nothing queued and no timer due (RunUntilIdle), or
                  // nothing queued and no timer at all (nothing can happen)
        Deadline, // the clock reached the deadline
        Limit,    // the delivery limit was reached (a message loop that never settles)
    };

    // One delivered message, as recorded when the log is on.
    struct Delivery {
        IRkMessageTarget* target;
        uint16_t message;
        int32_t kind; // the payload's kind, -1 without payload
        bool taken;
    };

    static constexpr uint64_t kDeliveriesAfterQuit = 10000;

    // `application` receives what is posted with Post and the quit request.
    explicit CRkHeadlessApplicationImp(IRkMessageTarget* application);
    ~CRkHeadlessApplicationImp() override;

    // IRkApplicationImp
    void GetProgramPath(CRkString& out) const override;
    uint32_t Run() override;
    void Quit(uint32_t code) override;
    void StartTimer(uint32_t mode, uint32_t interval, uint16_t id) override;
    void StopTimer(uint16_t id) override;
    void Post(uint16_t message, CRkMessage* payload, uint32_t flags) override;
    void PostTo(IRkMessageTarget* target, uint16_t message, CRkMessage* payload, uint32_t flags) override;
    void StartTimerFor(IRkMessageTarget* target, uint32_t mode, uint32_t interval, uint16_t id) override;
    void StopTimerFor(IRkMessageTarget* target, uint16_t id) override;
    void ForgetTarget(IRkMessageTarget* target) override;
    void SetShortcutTable(IRkMessageTarget* target, const CRkShortcutTable* table) override;
    void SetContainer(IRkMessageTarget* target, IRkMessageTarget* container) override;

    // The platform's key event: queued like a posted message; on delivery
    // the shortcut tables of the target and of its containers are asked
    // first, else the target gets message 5 with a CRkKeyboardMessage.
    void PostKey(IRkMessageTarget* target, uint16_t keyCode, uint8_t modifiers);

    // The clock (not owned; null puts the steady clock back).
    void SetClock(IRkLoopClock* clock);
    IRkLoopClock& GetClock() const { return *m_clock; }

    // Runs until Quit, the clock's deadline (absolute, in clock time) or
    // `maxDeliveries` deliveries, whichever comes first. Without anything
    // queued and without timers, it returns Idle: nothing could happen.
    RunEnd RunFor(uint64_t deadlineMs, uint64_t maxDeliveries);
    // Delivers what is queued and the timers that are due now, until
    // neither is left (or Quit, or the delivery limit); never waits.
    RunEnd RunUntilIdle(uint64_t maxDeliveries = 100000);

    // True when the last run ended by an accepted Quit.
    bool HasQuit() const { return m_quit; }
    // True when a Quit was accepted and the loop has not reached it yet.
    bool IsQuitPending() const { return m_quitPending; }
    uint32_t GetQuitCode() const { return m_quitCode; }
    RunEnd GetLastRunEnd() const { return m_lastRunEnd; }
    uint32_t GetPendingCount() const { return uint32_t(m_queue.size()); }
    uint32_t GetTimerCount() const { return uint32_t(m_timers.size()); }
    bool HasTimer(IRkMessageTarget* target, uint16_t id) const;

    void SetDeliveryLogging(bool on) { m_logging = on; }
    const std::vector<Delivery>& GetDeliveries() const { return m_deliveries; }
    void ClearDeliveries() { m_deliveries.clear(); }

private:
    enum class EntryKind { Message, Key };
    struct Entry {
        EntryKind kind;
        IRkMessageTarget* target;
        uint16_t message; // the message number, or the key code
        uint8_t modifiers;
        std::unique_ptr<CRkMessage> payload;
    };
    struct Timer {
        IRkMessageTarget* target;
        uint16_t id;
        uint32_t mode;
        uint32_t interval;
        uint64_t due;
        uint64_t order; // breaks ties between timers due at the same time
    };

    RunEnd Loop(bool wait, uint64_t deadlineMs, uint64_t maxDeliveries);
    void DeliverNext();
    bool FireDueTimer();
    void Deliver(IRkMessageTarget* target, uint16_t message, CRkMessage* payload);
    void DeliverKey(IRkMessageTarget* target, uint16_t keyCode, uint8_t modifiers);
    Timer* FindTimer(IRkMessageTarget* target, uint16_t id);
    Timer* NextTimer();

    IRkMessageTarget* m_application;
    CRkSteadyClock m_steadyClock;
    IRkLoopClock* m_clock;
    std::deque<Entry> m_queue;
    std::vector<Timer> m_timers;
    uint64_t m_timerOrder = 0;
    CRkShortcutRouting m_shortcuts;
    bool m_quit = false;
    uint32_t m_quitCode = 0;
    bool m_quitPending = false;
    uint32_t m_pendingQuitCode = 0;
    RunEnd m_lastRunEnd = RunEnd::Idle;
    bool m_logging = false;
    std::vector<Delivery> m_deliveries;
};
