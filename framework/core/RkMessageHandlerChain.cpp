#include "framework/core/RkMessageHandlerChain.h"

#include "framework/core/RkMessage.h"

// The handlers after a given link, handed to each handler as `rest`.
class CRkMessageHandlerChain::Rest : public IRkMessageTarget {
public:
    Rest(CRkMessageHandlerChain& chain, Link* start) : m_chain(chain), m_start(start) {}

    void AddHandler(IRkMessageHandler* handler, bool owned) override { m_chain.AddHandler(handler, owned); }
    void RemoveHandler(IRkMessageHandler* handler) override { m_chain.RemoveHandler(handler); }
    bool HandleMessage(uint16_t message, CRkMessage* payload) override
    {
        return m_chain.Dispatch(m_start, message, payload);
    }
    void PostMessage(uint16_t message, CRkMessage* payload, uint32_t flags) override
    {
        m_chain.PostMessage(message, payload, flags);
    }

private:
    CRkMessageHandlerChain& m_chain;
    Link* m_start;
};

CRkMessageHandlerChain::~CRkMessageHandlerChain()
{
    Link* link = m_first;
    while (link) {
        Link* next = link->next;
        if (link->owned && !link->removed)
            delete link->handler;
        delete link;
        link = next;
    }
}

void CRkMessageHandlerChain::AddHandler(IRkMessageHandler* handler, bool owned)
{
    if (!handler)
        return;
    Link* link = new Link{handler, owned, false, m_first, nullptr};
    if (m_first)
        m_first->prev = link;
    m_first = link;
}

void CRkMessageHandlerChain::RemoveHandler(IRkMessageHandler* handler)
{
    for (Link* link = m_first; link; link = link->next) {
        if (link->removed || link->handler != handler)
            continue;
        if (m_dispatchDepth > 0) {
            // Keep the link (and an owned handler that may be running right
            // now) until the dispatch is over.
            link->removed = true;
            m_needsSweep = true;
        } else {
            Unlink(link);
            if (link->owned)
                delete link->handler;
            delete link;
        }
        return;
    }
}

bool CRkMessageHandlerChain::HandleMessage(uint16_t message, CRkMessage* payload)
{
    return Dispatch(m_first, message, payload);
}

void CRkMessageHandlerChain::PostMessage(uint16_t, CRkMessage* payload, uint32_t)
{
    delete payload;
}

uint32_t CRkMessageHandlerChain::GetHandlerCount() const
{
    uint32_t n = 0;
    for (const Link* link = m_first; link; link = link->next)
        if (!link->removed)
            ++n;
    return n;
}

bool CRkMessageHandlerChain::HasHandler(const IRkMessageHandler* handler) const
{
    for (const Link* link = m_first; link; link = link->next)
        if (!link->removed && link->handler == handler)
            return true;
    return false;
}

bool CRkMessageHandlerChain::Dispatch(Link* start, uint16_t message, CRkMessage* payload)
{
    ++m_dispatchDepth;
    bool taken;
    if (message == kMsgCommand) {
        // A command is first asked for its state; a disabled command is
        // never performed. Without a command object there is nothing to do.
        CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
        if (!command) {
            taken = false;
        } else {
            taken = Walk(start, kMsgCommandStatus, payload);
            if (command->IsEnabled())
                taken = Walk(start, message, payload);
        }
    } else {
        taken = Walk(start, message, payload);
    }
    if (--m_dispatchDepth == 0 && m_needsSweep)
        Sweep();
    return taken;
}

bool CRkMessageHandlerChain::Walk(Link* start, uint16_t message, CRkMessage* payload)
{
    for (Link* link = start; link; link = link->next) {
        if (link->removed)
            continue;
        Rest rest(*this, link->next);
        if (link->handler->HandleMessage(message, payload, rest))
            return true;
    }
    if (m_next)
        return m_next->HandleMessage(message, payload);
    return false;
}

void CRkMessageHandlerChain::Unlink(Link* link)
{
    if (link->prev)
        link->prev->next = link->next;
    else
        m_first = link->next;
    if (link->next)
        link->next->prev = link->prev;
}

void CRkMessageHandlerChain::Sweep()
{
    m_needsSweep = false;
    Link* link = m_first;
    while (link) {
        Link* next = link->next;
        if (link->removed) {
            Unlink(link);
            if (link->owned)
                delete link->handler;
            delete link;
        }
        link = next;
    }
}
