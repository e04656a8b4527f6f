// An ordered chain of message handlers: the handler added last is asked
// first; what nobody takes goes on to the `next` target, if any.
#pragma once

#include <cstdint>

#include "framework/core/RkMessageTarget.h"

class CRkMessageHandlerChain : public IRkMessageTarget {
public:
    explicit CRkMessageHandlerChain(IRkMessageTarget* next = nullptr) : m_next(next) {}
    CRkMessageHandlerChain(const CRkMessageHandlerChain&) = delete;
    CRkMessageHandlerChain& operator=(const CRkMessageHandlerChain&) = delete;
    ~CRkMessageHandlerChain() override;

    void AddHandler(IRkMessageHandler* handler, bool owned) override;
    void RemoveHandler(IRkMessageHandler* handler) override;
    bool HandleMessage(uint16_t message, CRkMessage* payload) override;
    // A chain cannot queue: the payload is deleted at once.
    void PostMessage(uint16_t message, CRkMessage* payload, uint32_t flags) override;

    IRkMessageTarget* GetNext() const { return m_next; }
    void SetNext(IRkMessageTarget* next) { m_next = next; }
    uint32_t GetHandlerCount() const;
    bool HasHandler(const IRkMessageHandler* handler) const;

private:
    struct Link {
        IRkMessageHandler* handler;
        bool owned;
        bool removed;
        Link* next;
        Link* prev;
    };
    class Rest;

    bool Dispatch(Link* start, uint16_t message, CRkMessage* payload);
    bool Walk(Link* start, uint16_t message, CRkMessage* payload);
    void Unlink(Link* link);
    void Sweep();

    Link* m_first = nullptr;
    IRkMessageTarget* m_next;
    // Links removed while a dispatch runs stay allocated (marked removed)
    // until the outermost dispatch returns, so walking stays safe.
    uint32_t m_dispatchDepth = 0;
    bool m_needsSweep = false;
};
