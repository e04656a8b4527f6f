#include "framework/core/RkMessageHandlerChain.h"

#include "framework/core/RkMessage.h"

namespace {

struct Link {
    IRkMessageHandler* handler;
    bool owned;
    bool removed;
    Link* next;
    Link* prev;
};

} // namespace

// The chain's state. The chain holds one reference and every dispatch in
// progress holds another, so a chain deleted by one of its handlers leaves
// this block (and the links being walked) in place until the walk is over.
class CRkMessageHandlerChain::Links {
public:
    explicit Links(IRkMessageTarget* next) : m_next(next) {}
    Links(const Links&) = delete;
    Links& operator=(const Links&) = delete;

    ~Links()
    {
        while (m_first)
            Free(m_first);
    }

    void Retain() { ++m_refs; }
    void Release()
    {
        if (--m_refs == 0)
            delete this;
    }

    // The chain is gone: nothing more is asked, and the block dies with the
    // last dispatch (or now, when none is running).
    void Orphan()
    {
        m_dead = true;
        m_next = nullptr;
        Release();
    }

    void Add(IRkMessageHandler* handler, bool owned)
    {
        if (!handler)
            return;
        // A handler handed to a dead chain is kept (unasked) only so that
        // an owned one is freed with the rest.
        Link* link = new Link{handler, owned, m_dead, m_first, nullptr};
        if (m_first)
            m_first->prev = link;
        m_first = link;
    }

    void Remove(IRkMessageHandler* handler)
    {
        for (Link* link = m_first; link; link = link->next) {
            if (link->removed || link->handler != handler)
                continue;
            if (m_depth > 0) {
                // Keep the link (and an owned handler that may be running
                // right now) until the dispatch is over.
                link->removed = true;
                m_needsSweep = true;
            } else {
                Free(link);
            }
            return;
        }
    }

    bool Dispatch(Link* start, uint16_t message, CRkMessage* payload)
    {
        Retain();
        ++m_depth;
        bool taken;
        if (message == kMsgCommand) {
            // A command is first asked for its state; a disabled command is
            // never performed. Without a command object there is nothing to do.
            CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
            if (!command) {
                taken = false;
            } else {
                taken = Walk(start, kMsgCommandStatus, payload);
                if (!m_dead && command->IsEnabled())
                    taken = Walk(start, message, payload);
            }
        } else {
            taken = Walk(start, message, payload);
        }
        if (--m_depth == 0 && m_needsSweep && !m_dead)
            Sweep();
        Release();
        return taken;
    }

    Link* First() const { return m_first; }
    IRkMessageTarget* GetNext() const { return m_next; }
    void SetNext(IRkMessageTarget* next)
    {
        if (!m_dead)
            m_next = next;
    }

private:
    class Rest;

    bool Walk(Link* start, uint16_t message, CRkMessage* payload);

    void Unlink(Link* link)
    {
        if (link->prev)
            link->prev->next = link->next;
        else
            m_first = link->next;
        if (link->next)
            link->next->prev = link->prev;
    }

    // Frees one link. An owned handler that another link still holds (it
    // was removed and added again during a dispatch) passes to that link
    // instead of being deleted under it.
    void Free(Link* link)
    {
        Unlink(link);
        if (link->owned) {
            Link* other = m_first;
            while (other && other->handler != link->handler)
                other = other->next;
            if (other)
                other->owned = true;
            else
                delete link->handler;
        }
        delete link;
    }

    void Sweep()
    {
        m_needsSweep = false;
        Link* link = m_first;
        while (link) {
            Link* next = link->next;
            if (link->removed)
                Free(link);
            link = next;
        }
    }

    Link* m_first = nullptr;
    IRkMessageTarget* m_next;
    uint32_t m_refs = 1;
    uint32_t m_depth = 0;
    bool m_needsSweep = false;
    bool m_dead = false;
};

// The handlers after a given link, handed to each handler as `rest`.
class CRkMessageHandlerChain::Links::Rest : public IRkMessageTarget {
public:
    Rest(Links& links, Link* start) : m_links(links), m_start(start) {}

    void AddHandler(IRkMessageHandler* handler, bool owned) override { m_links.Add(handler, owned); }
    void RemoveHandler(IRkMessageHandler* handler) override { m_links.Remove(handler); }
    bool HandleMessage(uint16_t message, CRkMessage* payload) override
    {
        return m_links.Dispatch(m_start, message, payload);
    }
    void PostMessage(uint16_t, CRkMessage* payload, uint32_t) override { delete payload; }

private:
    Links& m_links;
    Link* m_start;
};

bool CRkMessageHandlerChain::Links::Walk(Link* start, uint16_t message, CRkMessage* payload)
{
    if (m_dead)
        return false;
    for (Link* link = start; link; link = link->next) {
        if (link->removed)
            continue;
        Rest rest(*this, link->next);
        const bool taken = link->handler->HandleMessage(message, payload, rest);
        // Links are not freed while a dispatch runs, so `link` is still
        // valid here even when the chain itself has been deleted.
        if (taken || m_dead)
            return taken;
    }
    if (m_next)
        return m_next->HandleMessage(message, payload);
    return false;
}

CRkMessageHandlerChain::CRkMessageHandlerChain(IRkMessageTarget* next) : m_links(new Links(next))
{
}

CRkMessageHandlerChain::~CRkMessageHandlerChain()
{
    m_links->Orphan();
}

void CRkMessageHandlerChain::AddHandler(IRkMessageHandler* handler, bool owned)
{
    m_links->Add(handler, owned);
}

void CRkMessageHandlerChain::RemoveHandler(IRkMessageHandler* handler)
{
    m_links->Remove(handler);
}

bool CRkMessageHandlerChain::HandleMessage(uint16_t message, CRkMessage* payload)
{
    // Only the block is touched after the walk: a handler may delete `this`.
    Links* links = m_links;
    return links->Dispatch(links->First(), message, payload);
}

void CRkMessageHandlerChain::PostMessage(uint16_t, CRkMessage* payload, uint32_t)
{
    delete payload;
}

IRkMessageTarget* CRkMessageHandlerChain::GetNext() const
{
    return m_links->GetNext();
}

void CRkMessageHandlerChain::SetNext(IRkMessageTarget* next)
{
    m_links->SetNext(next);
}

uint32_t CRkMessageHandlerChain::GetHandlerCount() const
{
    uint32_t n = 0;
    for (const Link* link = m_links->First(); link; link = link->next)
        if (!link->removed)
            ++n;
    return n;
}

bool CRkMessageHandlerChain::HasHandler(const IRkMessageHandler* handler) const
{
    for (const Link* link = m_links->First(); link; link = link->next)
        if (!link->removed && link->handler == handler)
            return true;
    return false;
}
