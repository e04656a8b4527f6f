// An ordered chain of message handlers: the handler added last is asked
// first; what nobody takes goes on to the `next` target, if any.
//
// Lifetime: the links live in a reference-counted block that every running
// dispatch keeps alive. Deleting the chain from inside one of its own
// handlers (a window that deletes itself on a close request) is therefore
// safe: the walk stops after the handler that deleted it (no further
// handler and no `next` target is asked), and the links and owned handlers
// are freed when the outermost dispatch returns. Callers of HandleMessage
// must not touch the chain's owner after it returns if a handler may have
// deleted it.
#pragma once

#include <cstdint>

#include "framework/core/RkMessageTarget.h"

class CRkMessageHandlerChain : public IRkMessageTarget {
public:
    explicit CRkMessageHandlerChain(IRkMessageTarget* next = nullptr);
    CRkMessageHandlerChain(const CRkMessageHandlerChain&) = delete;
    CRkMessageHandlerChain& operator=(const CRkMessageHandlerChain&) = delete;
    ~CRkMessageHandlerChain() override;

    void AddHandler(IRkMessageHandler* handler, bool owned) override;
    void RemoveHandler(IRkMessageHandler* handler) override;
    bool HandleMessage(uint16_t message, CRkMessage* payload) override;
    // A chain cannot queue: the payload is deleted at once.
    void PostMessage(uint16_t message, CRkMessage* payload, uint32_t flags) override;

    IRkMessageTarget* GetNext() const;
    void SetNext(IRkMessageTarget* next);
    uint32_t GetHandlerCount() const;
    bool HasHandler(const IRkMessageHandler* handler) const;

private:
    class Links;
    Links* m_links;
};
