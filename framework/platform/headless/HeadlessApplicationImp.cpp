#include "framework/platform/headless/HeadlessApplicationImp.h"

#include <limits>
#include <utility>

#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkMessage.h"
#include "framework/core/RkMessageTarget.h"
#include "framework/core/RkShortcutTable.h"
#include "framework/core/RkString.h"
#include "framework/core/RkSystemImp.h"

namespace {
constexpr uint64_t kForever = std::numeric_limits<uint64_t>::max();
} // namespace

CRkHeadlessApplicationImp::CRkHeadlessApplicationImp(IRkMessageTarget* application)
    : m_application(application), m_clock(&m_steadyClock)
{
}

// Messages still queued are dropped; their payloads go with the queue.
CRkHeadlessApplicationImp::~CRkHeadlessApplicationImp() = default;

// The headless loop has no program image of its own: the system services
// know the program file.
void CRkHeadlessApplicationImp::GetProgramPath(CRkString& out) const
{
    out.Empty();
    CRkGlobalVars* globals = CRkGlobalVars::Get();
    if (globals && globals->system)
        globals->system->GetProgramPath(out);
}

uint32_t CRkHeadlessApplicationImp::Run()
{
    Loop(true, kForever, kForever);
    return m_quit ? m_quitCode : 0;
}

void CRkHeadlessApplicationImp::Quit(uint32_t code)
{
    CRkQuitMessage request;
    if (m_application)
        m_application->HandleMessage(kMsgQuitRequest, &request);
    if (!request.accepted)
        return; // windows are closing; the quit is asked for again later
    // The loop ends when it has delivered what is queued; the last accepted
    // code is the one the run returns.
    m_quitPending = true;
    m_pendingQuitCode = code;
}

void CRkHeadlessApplicationImp::StartTimer(uint32_t mode, uint32_t interval, uint16_t id)
{
    StartTimerFor(m_application, mode, interval, id);
}

void CRkHeadlessApplicationImp::StopTimer(uint16_t id)
{
    StopTimerFor(m_application, id);
}

void CRkHeadlessApplicationImp::Post(uint16_t message, CRkMessage* payload, uint32_t flags)
{
    PostTo(m_application, message, payload, flags);
}

void CRkHeadlessApplicationImp::PostTo(IRkMessageTarget* target, uint16_t message, CRkMessage* payload, uint32_t)
{
    std::unique_ptr<CRkMessage> owned(payload);
    if (!target)
        return; // nobody to deliver to: the payload goes now
    Entry entry{EntryKind::Message, target, message, 0, std::move(owned)};
    m_queue.push_back(std::move(entry));
}

void CRkHeadlessApplicationImp::StartTimerFor(IRkMessageTarget* target, uint32_t mode, uint32_t interval, uint16_t id)
{
    if (!target)
        return;
    if (interval == 0)
        interval = 1; // a zero interval would fire without end
    uint64_t due = m_clock->NowMs() + interval;
    if (Timer* timer = FindTimer(target, id)) {
        // Starting a running timer again restarts it with the new settings.
        timer->mode = mode;
        timer->interval = interval;
        timer->due = due;
        timer->order = m_timerOrder++;
        return;
    }
    m_timers.push_back(Timer{target, id, mode, interval, due, m_timerOrder++});
}

void CRkHeadlessApplicationImp::StopTimerFor(IRkMessageTarget* target, uint16_t id)
{
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->target == target && it->id == id) {
            m_timers.erase(it);
            return;
        }
    }
}

void CRkHeadlessApplicationImp::ForgetTarget(IRkMessageTarget* target)
{
    std::erase_if(
        m_queue, [target](const Entry& e) { return e.target == target; });
    std::erase_if(m_timers, [target](const Timer& t) { return t.target == target; });
    m_shortcuts.Forget(target);
    if (target == m_application)
        m_application = nullptr;
}

void CRkHeadlessApplicationImp::SetShortcutTable(IRkMessageTarget* target, const CRkShortcutTable* table)
{
    m_shortcuts.SetTable(target, table);
}

void CRkHeadlessApplicationImp::SetContainer(IRkMessageTarget* target, IRkMessageTarget* container)
{
    m_shortcuts.SetContainer(target, container);
}

void CRkHeadlessApplicationImp::PostKey(IRkMessageTarget* target, uint16_t keyCode, uint8_t modifiers)
{
    if (!target)
        return;
    Entry entry{EntryKind::Key, target, keyCode, modifiers, nullptr};
    m_queue.push_back(std::move(entry));
}

void CRkHeadlessApplicationImp::SetClock(IRkLoopClock* clock)
{
    m_clock = clock ? clock : &m_steadyClock;
}

CRkHeadlessApplicationImp::RunEnd CRkHeadlessApplicationImp::RunFor(uint64_t deadlineMs, uint64_t maxDeliveries)
{
    return Loop(true, deadlineMs, maxDeliveries);
}

CRkHeadlessApplicationImp::RunEnd CRkHeadlessApplicationImp::RunUntilIdle(uint64_t maxDeliveries)
{
    return Loop(false, kForever, maxDeliveries);
}

bool CRkHeadlessApplicationImp::HasTimer(IRkMessageTarget* target, uint16_t id) const
{
    for (const Timer& timer : m_timers)
        if (timer.target == target && timer.id == id)
            return true;
    return false;
}

CRkHeadlessApplicationImp::RunEnd CRkHeadlessApplicationImp::Loop(bool wait, uint64_t deadlineMs,
                                                                  uint64_t maxDeliveries)
{
    m_quit = false;
    uint64_t delivered = 0;
    uint64_t afterQuit = 0;
    RunEnd end;
    for (;;) {
        if (m_clock->NowMs() >= deadlineMs) {
            end = RunEnd::Deadline;
            break;
        }
        if (delivered >= maxDeliveries) {
            end = RunEnd::Limit;
            break;
        }
        if (m_quitPending && afterQuit >= kDeliveriesAfterQuit)
            m_queue.clear(); // a quit that never settles: drop the rest, payloads with them
        if (!m_queue.empty()) {
            DeliverNext();
            ++delivered;
            if (m_quitPending)
                ++afterQuit;
            continue;
        }
        if (m_quitPending) {
            m_quitPending = false;
            m_quit = true;
            m_quitCode = m_pendingQuitCode;
            end = RunEnd::Quit;
            break;
        }
        if (FireDueTimer()) {
            ++delivered;
            continue;
        }
        Timer* next = wait ? NextTimer() : nullptr;
        if (!next) {
            end = RunEnd::Idle;
            break;
        }
        m_clock->WaitUntil(next->due < deadlineMs ? next->due : deadlineMs);
    }
    m_lastRunEnd = end;
    return end;
}

// Takes the oldest entry off the queue and delivers it.
void CRkHeadlessApplicationImp::DeliverNext()
{
    Entry entry = std::move(m_queue.front());
    m_queue.pop_front();
    if (entry.kind == EntryKind::Key)
        DeliverKey(entry.target, entry.message, entry.modifiers);
    else
        Deliver(entry.target, entry.message, entry.payload.get()); // the payload goes with the entry
}

bool CRkHeadlessApplicationImp::FireDueTimer()
{
    Timer* timer = NextTimer();
    uint64_t now = m_clock->NowMs();
    if (!timer || timer->due > now)
        return false;
    IRkMessageTarget* target = timer->target;
    uint16_t id = timer->id;
    if (timer->mode == kTimerOnce) {
        StopTimerFor(target, id);
    } else {
        // One firing per interval at most: a late timer does not catch up.
        timer->due += timer->interval;
        if (timer->due <= now)
            timer->due = now + timer->interval;
        timer->order = m_timerOrder++;
    }
    Deliver(target, id, nullptr);
    return true;
}

void CRkHeadlessApplicationImp::Deliver(IRkMessageTarget* target, uint16_t message, CRkMessage* payload)
{
    bool taken = target->HandleMessage(message, payload);
    if (m_logging)
        m_deliveries.push_back(Delivery{target, message, payload ? int32_t(payload->GetKind()) : -1, taken});
}

void CRkHeadlessApplicationImp::DeliverKey(IRkMessageTarget* target, uint16_t keyCode, uint8_t modifiers)
{
    IRkMessageTarget* owner = nullptr;
    uint16_t command = 0;
    if (m_shortcuts.Find(target, keyCode, modifiers, owner, command)) {
        PostTo(owner, kMsgCommand, CRkShortcutRouting::MakeCommand(command), 0);
        return;
    }
    CRkKeyboardMessage key(keyCode, modifiers);
    Deliver(target, kMsgKeyDown, &key);
}

CRkHeadlessApplicationImp::Timer* CRkHeadlessApplicationImp::FindTimer(IRkMessageTarget* target, uint16_t id)
{
    for (Timer& timer : m_timers)
        if (timer.target == target && timer.id == id)
            return &timer;
    return nullptr;
}

CRkHeadlessApplicationImp::Timer* CRkHeadlessApplicationImp::NextTimer()
{
    Timer* best = nullptr;
    for (Timer& timer : m_timers)
        if (!best || timer.due < best->due || (timer.due == best->due && timer.order < best->order))
            best = &timer;
    return best;
}
