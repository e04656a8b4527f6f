// The platform side of the application: the event loop, posting, timers
// and keyboard shortcuts. One implementation per platform; the rest of the
// framework sees only this interface.
#pragma once

#include <cstdint>

class CRkMessage;
class CRkShortcutTable;
class CRkString;
class IRkMessageTarget;

// Timer modes.
enum : uint32_t {
    kTimerRepeat = 0, // fires every interval until stopped
    kTimerOnce = 1,   // fires once, then is gone
};

class IRkApplicationImp {
public:
    virtual ~IRkApplicationImp() = default;

    // The running program's own file as a path ("" when unknown).
    virtual void GetProgramPath(CRkString& out) const = 0;
    // Runs the event loop until Quit ends it; returns the quit code.
    virtual uint32_t Run() = 0;
    // Asks the application (message 13) and ends the loop when accepted.
    virtual void Quit(uint32_t code) = 0;
    // A timer on the application: it delivers message number `id`.
    virtual void StartTimer(uint32_t mode, uint32_t interval, uint16_t id) = 0;
    virtual void StopTimer(uint16_t id) = 0;
    // Queues a message for the application; the payload becomes the queue's
    // and is deleted after delivery, whoever takes it.
    virtual void Post(uint16_t message, CRkMessage* payload, uint32_t flags) = 0;

    // The same for any target (windows): posting, timers, and forgetting a
    // target that is about to die (its queued messages and timers go).
    virtual void PostTo(IRkMessageTarget* target, uint16_t message, CRkMessage* payload, uint32_t flags) = 0;
    virtual void StartTimerFor(IRkMessageTarget* target, uint32_t mode, uint32_t interval, uint16_t id) = 0;
    virtual void StopTimerFor(IRkMessageTarget* target, uint16_t id) = 0;
    virtual void ForgetTarget(IRkMessageTarget* target) = 0;
    // A key pressed in `target` is first looked up in its table (not owned;
    // null removes it): a non-zero command is posted to the target as a
    // command instead of the key.
    virtual void SetShortcutTable(IRkMessageTarget* target, const CRkShortcutTable* table) = 0;
    // Where `target` sits (a control inside its window; null: at the top):
    // a key pressed in a target without a matching shortcut is looked up in
    // the tables of the targets containing it, and the first non-zero
    // command is posted to the target whose table holds it.
    virtual void SetContainer(IRkMessageTarget* target, IRkMessageTarget* container) = 0;
};
