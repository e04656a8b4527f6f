#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/core/RkMessage.h"
#include "framework/core/RkMessageHandlerChain.h"

namespace {

// Appends "<name><message>" to the trace for every message it sees, and
// takes the message when `take` says so.
class TraceHandler : public IRkMessageHandler {
public:
    TraceHandler(std::string name, std::string& trace,
                 std::function<bool(uint16_t, CRkMessage*, IRkMessageTarget&)> take = {})
        : m_name(std::move(name)), m_trace(trace), m_take(std::move(take))
    {
    }
    ~TraceHandler() override
    {
        if (m_deleted)
            *m_deleted = true;
    }

    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        m_trace += m_name + std::to_string(message) + " ";
        return m_take ? m_take(message, payload, rest) : false;
    }
    void WatchDeletion(bool* flag) { m_deleted = flag; }

private:
    std::string m_name;
    std::string& m_trace;
    std::function<bool(uint16_t, CRkMessage*, IRkMessageTarget&)> m_take;
    bool* m_deleted = nullptr;
};

bool Enable(uint16_t message, CRkMessage* payload, IRkMessageTarget&)
{
    if (message != kMsgCommandStatus)
        return false;
    static_cast<CRkCommand*>(payload)->SetEnabled(true);
    return true;
}

bool TakeCommand(uint16_t message, CRkMessage*, IRkMessageTarget&)
{
    return message == kMsgCommand;
}

TEST(HandlerChain, NewestHandlerIsAskedFirstThenNext)
{
    std::string trace;
    CRkMessageHandlerChain next;
    TraceHandler n("N", trace, [](uint16_t, CRkMessage*, IRkMessageTarget&) { return true; });
    next.AddHandler(&n, false);

    CRkMessageHandlerChain chain(&next);
    TraceHandler a("A", trace), b("B", trace), c("C", trace);
    chain.AddHandler(&a, false);
    chain.AddHandler(&b, false);
    chain.AddHandler(&c, false);

    EXPECT_TRUE(chain.HandleMessage(14, nullptr));
    EXPECT_EQ(trace, "C14 B14 A14 N14 ");

    trace.clear();
    chain.SetNext(nullptr);
    EXPECT_FALSE(chain.HandleMessage(14, nullptr));
    EXPECT_EQ(trace, "C14 B14 A14 ");
}

TEST(HandlerChain, FirstTakerStopsTheWalk)
{
    std::string trace;
    CRkMessageHandlerChain chain;
    TraceHandler a("A", trace), b("B", trace, [](uint16_t m, CRkMessage*, IRkMessageTarget&) { return m == 18; });
    TraceHandler c("C", trace);
    chain.AddHandler(&a, false);
    chain.AddHandler(&b, false);
    chain.AddHandler(&c, false);
    EXPECT_TRUE(chain.HandleMessage(18, nullptr));
    EXPECT_EQ(trace, "C18 B18 ");
}

TEST(HandlerChain, HandlerPassesOnThroughRestOfChain)
{
    std::string trace;
    CRkMessageHandlerChain next;
    TraceHandler n("N", trace);
    next.AddHandler(&n, false);
    CRkMessageHandlerChain chain(&next);
    TraceHandler a("A", trace, [&trace](uint16_t, CRkMessage*, IRkMessageTarget&) {
        trace += "a-took ";
        return true;
    });
    // B asks the handlers after it, then adds its own mark: a wrapper.
    TraceHandler b("B", trace, [&trace](uint16_t m, CRkMessage* p, IRkMessageTarget& rest) {
        bool taken = rest.HandleMessage(m, p);
        trace += taken ? "b-after-taken " : "b-after-declined ";
        return taken;
    });
    TraceHandler c("C", trace);
    chain.AddHandler(&a, false);
    chain.AddHandler(&b, false);
    chain.AddHandler(&c, false);

    EXPECT_TRUE(chain.HandleMessage(17, nullptr));
    EXPECT_EQ(trace, "C17 B17 A17 a-took b-after-taken ");

    // With A gone, the rest of the chain ends at the next target. B then
    // declines too, so the walk goes on after B and asks the next target again.
    trace.clear();
    chain.RemoveHandler(&a);
    EXPECT_FALSE(chain.HandleMessage(17, nullptr));
    EXPECT_EQ(trace, "C17 B17 N17 b-after-declined N17 ");
}

TEST(HandlerChain, CommandStatusIsAskedBeforeEveryCommand)
{
    std::string trace;
    CRkMessageHandlerChain chain;
    TraceHandler status("S", trace, Enable), doer("D", trace, TakeCommand);
    chain.AddHandler(&doer, false);
    chain.AddHandler(&status, false);

    EXPECT_TRUE(chain.DoCommand(12));
    EXPECT_EQ(trace, "S8 S7 D7 ");
}

TEST(HandlerChain, DisabledCommandIsNeverPerformed)
{
    std::string trace;
    CRkMessageHandlerChain chain;
    // The status handler takes message 8 but leaves the command disabled.
    TraceHandler status("S", trace, [](uint16_t m, CRkMessage*, IRkMessageTarget&) { return m == kMsgCommandStatus; });
    TraceHandler doer("D", trace, TakeCommand);
    chain.AddHandler(&doer, false);
    chain.AddHandler(&status, false);

    CRkCommand command(12);
    // The result is that of the status dispatch: taken, but not performed.
    EXPECT_TRUE(chain.HandleMessage(kMsgCommand, &command));
    EXPECT_EQ(trace, "S8 ");
    EXPECT_FALSE(command.IsEnabled());

    // Without any status answer the command is not performed either.
    trace.clear();
    CRkMessageHandlerChain bare;
    bare.AddHandler(&doer, false);
    EXPECT_FALSE(bare.DoCommand(12));
    EXPECT_EQ(trace, "D8 ");
}

TEST(HandlerChain, CommandWithoutCommandObjectIsNotPerformed)
{
    std::string trace;
    CRkMessageHandlerChain chain;
    TraceHandler doer("D", trace, [](uint16_t, CRkMessage*, IRkMessageTarget&) { return true; });
    chain.AddHandler(&doer, false);
    CRkQuitMessage notACommand;
    EXPECT_FALSE(chain.HandleMessage(kMsgCommand, nullptr));
    EXPECT_FALSE(chain.HandleMessage(kMsgCommand, &notACommand));
    EXPECT_EQ(trace, "");
}

TEST(HandlerChain, CommandDeclinedByChainIsAskedAgainOnNextTarget)
{
    std::string trace;
    CRkMessageHandlerChain next;
    TraceHandler nextDoer("N", trace, [](uint16_t m, CRkMessage* p, IRkMessageTarget&) {
        if (m == kMsgCommandStatus)
            static_cast<CRkCommand*>(p)->SetEnabled(true);
        return true;
    });
    next.AddHandler(&nextDoer, false);
    CRkMessageHandlerChain chain(&next);
    TraceHandler a("A", trace);
    chain.AddHandler(&a, false);

    EXPECT_TRUE(chain.DoCommand(30));
    // Status walks A then the next target; the command does the same, and
    // the next target asks the status itself before performing.
    EXPECT_EQ(trace, "A8 N8 A7 N8 N7 ");
}

TEST(HandlerChain, RemovingHandlers)
{
    std::string trace;
    bool ownedDeleted = false, keptDeleted = false;
    auto* owned = new TraceHandler("O", trace);
    owned->WatchDeletion(&ownedDeleted);
    TraceHandler kept("K", trace);
    kept.WatchDeletion(&keptDeleted);
    TraceHandler stranger("X", trace);
    {
        CRkMessageHandlerChain chain;
        chain.AddHandler(owned, true);
        chain.AddHandler(&kept, false);
        chain.RemoveHandler(&stranger);
        EXPECT_EQ(chain.GetHandlerCount(), 2u);

        chain.RemoveHandler(owned);
        EXPECT_TRUE(ownedDeleted);
        EXPECT_EQ(chain.GetHandlerCount(), 1u);
        EXPECT_FALSE(chain.HasHandler(owned));
        chain.HandleMessage(5, nullptr);
        EXPECT_EQ(trace, "K5 ");
    }
    EXPECT_FALSE(keptDeleted); // not owned: the chain's death leaves it alone

    bool diedWithChain = false;
    auto* second = new TraceHandler("S", trace);
    second->WatchDeletion(&diedWithChain);
    {
        CRkMessageHandlerChain chain;
        chain.AddHandler(second, true);
    }
    EXPECT_TRUE(diedWithChain);
}

TEST(HandlerChain, HandlerMayRemoveItselfWhileRunning)
{
    std::string trace;
    CRkMessageHandlerChain chain;
    TraceHandler a("A", trace);
    bool deleted = false;
    auto* once = new TraceHandler("O", trace);
    once->WatchDeletion(&deleted);
    // O removes itself the first time it is asked (deleting itself, owned).
    TraceHandler remover("R", trace, [&chain, once](uint16_t, CRkMessage*, IRkMessageTarget& rest) {
        chain.RemoveHandler(once);
        rest.HandleMessage(3, nullptr);
        return true;
    });
    chain.AddHandler(&a, false);
    chain.AddHandler(once, true);
    chain.AddHandler(&remover, false);

    EXPECT_TRUE(chain.HandleMessage(3, nullptr));
    // O was removed before the walk reached it; it is deleted once the
    // dispatch is over.
    EXPECT_EQ(trace, "R3 A3 ");
    EXPECT_TRUE(deleted);
    EXPECT_EQ(chain.GetHandlerCount(), 2u);
}

} // namespace

namespace {

// An object that owns its chain, as a window does: its standard handler is
// owned by the chain and may delete the whole object while it runs.
class ChainOwner : public IRkMessageTarget {
public:
    ChainOwner(std::string& trace, IRkMessageTarget* next, bool* destroyed)
        : m_chain(next), m_trace(trace), m_destroyed(destroyed)
    {
    }
    ~ChainOwner() override { *m_destroyed = true; }

    void AddHandler(IRkMessageHandler* handler, bool owned) override { m_chain.AddHandler(handler, owned); }
    void RemoveHandler(IRkMessageHandler* handler) override { m_chain.RemoveHandler(handler); }
    bool HandleMessage(uint16_t message, CRkMessage* payload) override
    {
        return m_chain.HandleMessage(message, payload);
    }
    void PostMessage(uint16_t message, CRkMessage* payload, uint32_t flags) override
    {
        m_chain.PostMessage(message, payload, flags);
    }

    CRkMessageHandlerChain m_chain;
    std::string& m_trace;

private:
    bool* m_destroyed;
};

// Deletes its owner on the close request (26), like a window's handler.
class SelfDeletingHandler : public IRkMessageHandler {
public:
    SelfDeletingHandler(ChainOwner*& owner, bool* deleted, bool askRest)
        : m_owner(owner), m_deleted(deleted), m_askRest(askRest)
    {
    }
    ~SelfDeletingHandler() override { *m_deleted = true; }

    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        if (message != 26)
            return false;
        std::string& trace = m_owner->m_trace;
        delete m_owner;
        m_owner = nullptr;
        // The handler itself is still alive here: its chain frees it later.
        trace += *m_deleted ? "handler-gone " : "handler-alive ";
        if (m_askRest)
            trace += rest.HandleMessage(message, payload) ? "rest-took " : "rest-declined ";
        return true;
    }

private:
    ChainOwner*& m_owner;
    bool* m_deleted;
    bool m_askRest;
};

TEST(HandlerChainLifetime, OwnerDeletedByItsOwnHandlerWhileDispatching)
{
    for (bool askRest : {false, true}) {
        std::string trace;
        CRkMessageHandlerChain next;
        TraceHandler n("N", trace);
        next.AddHandler(&n, false);

        bool ownerGone = false, selfGone = false, olderGone = false;
        auto* owner = new ChainOwner(trace, &next, &ownerGone);
        auto* older = new TraceHandler("O", trace);
        older->WatchDeletion(&olderGone);
        owner->AddHandler(older, true);
        owner->AddHandler(new SelfDeletingHandler(owner, &selfGone, askRest), true);

        IRkMessageTarget* target = owner;
        EXPECT_TRUE(target->HandleMessage(26, nullptr));
        EXPECT_TRUE(ownerGone);
        EXPECT_EQ(owner, nullptr);
        // Once the owner is gone no further handler, nor the next target, is
        // asked; every owned handler is freed when the dispatch is over.
        EXPECT_EQ(trace, askRest ? "handler-alive rest-declined " : "handler-alive ");
        EXPECT_TRUE(selfGone);
        EXPECT_TRUE(olderGone);
    }
}

TEST(HandlerChainLifetime, OwnerDeletedInANestedDispatchStopsTheOuterWalk)
{
    std::string trace;
    bool ownerGone = false, selfGone = false, outerGone = false;
    auto* owner = new ChainOwner(trace, nullptr, &ownerGone);
    auto* last = new TraceHandler("L", trace);
    owner->AddHandler(last, true);
    owner->AddHandler(new SelfDeletingHandler(owner, &selfGone, false), true);
    // The newest handler answers 3 by sending 26 to the same owner, then
    // declines, so the outer walk would go on to the handlers below.
    ChainOwner* self = owner;
    auto* outer = new TraceHandler("X", trace, [self](uint16_t m, CRkMessage*, IRkMessageTarget&) {
        if (m == 3)
            self->HandleMessage(26, nullptr);
        return false;
    });
    outer->WatchDeletion(&outerGone);
    owner->AddHandler(outer, true);

    EXPECT_FALSE(owner->HandleMessage(3, nullptr));
    EXPECT_TRUE(ownerGone);
    EXPECT_EQ(trace, "X3 X26 handler-alive ");
    EXPECT_TRUE(selfGone);
    EXPECT_TRUE(outerGone);
}

TEST(HandlerChainLifetime, DeletedOwnersCommandIsNotPerformed)
{
    std::string trace;
    bool ownerGone = false, doerGone = false;
    auto* owner = new ChainOwner(trace, nullptr, &ownerGone);
    auto* doer = new TraceHandler("D", trace, TakeCommand);
    doer->WatchDeletion(&doerGone);
    owner->AddHandler(doer, true);
    ChainOwner* self = owner;
    // The status handler enables the command, then deletes the owner.
    owner->AddHandler(new TraceHandler("S", trace,
                                       [self](uint16_t m, CRkMessage* p, IRkMessageTarget&) {
                                           if (m != kMsgCommandStatus)
                                               return false;
                                           static_cast<CRkCommand*>(p)->SetEnabled(true);
                                           delete self;
                                           return true;
                                       }),
                      true);

    EXPECT_TRUE(owner->DoCommand(13));
    EXPECT_TRUE(ownerGone);
    EXPECT_EQ(trace, "S8 ");
    EXPECT_TRUE(doerGone);
}

TEST(HandlerChainLifetime, OwnedHandlerRemovedAndAddedAgainWhileDispatching)
{
    std::string trace;
    bool deleted = false;
    auto* owned = new TraceHandler("O", trace);
    owned->WatchDeletion(&deleted);
    {
        CRkMessageHandlerChain chain;
        chain.AddHandler(owned, true);
        TraceHandler mover("M", trace, [&chain, owned](uint16_t m, CRkMessage*, IRkMessageTarget&) {
            if (m == 1) {
                chain.RemoveHandler(owned);
                chain.AddHandler(owned, true);
            }
            return false;
        });
        chain.AddHandler(&mover, false);

        chain.HandleMessage(1, nullptr);
        EXPECT_FALSE(deleted);
        EXPECT_TRUE(chain.HasHandler(owned));
        // The re-added handler is asked first now, and is still alive.
        trace.clear();
        chain.HandleMessage(2, nullptr);
        EXPECT_EQ(trace, "O2 M2 ");
        EXPECT_FALSE(deleted);
    }
    // It dies with the chain, once.
    EXPECT_TRUE(deleted);
}

TEST(HandlerChainLifetime, MarkedOwnedHandlersDieWithTheChain)
{
    std::string trace;
    bool deleted = false;
    auto* owned = new TraceHandler("O", trace);
    owned->WatchDeletion(&deleted);
    auto* chain = new CRkMessageHandlerChain();
    chain->AddHandler(owned, true);
    // Removed during a dispatch that ends with the chain being deleted: the
    // marked handler must not be leaked.
    TraceHandler killer("K", trace, [chain, owned](uint16_t, CRkMessage*, IRkMessageTarget&) {
        chain->RemoveHandler(owned);
        delete chain;
        return true;
    });
    chain->AddHandler(&killer, false);
    EXPECT_TRUE(chain->HandleMessage(4, nullptr));
    EXPECT_TRUE(deleted);
    EXPECT_EQ(trace, "K4 ");
}

TEST(HandlerChainLifetime, HandlersAddedWhileDyingAreFreedToo)
{
    std::string trace;
    bool deleted = false, lateDeleted = false;
    auto* chain = new CRkMessageHandlerChain();
    auto* late = new TraceHandler("L", trace);
    late->WatchDeletion(&lateDeleted);
    auto* killer = new TraceHandler("K", trace, [chain, late](uint16_t, CRkMessage*, IRkMessageTarget& rest) {
        delete chain;
        // Adding through what is left of a dead chain takes ownership too.
        rest.AddHandler(late, true);
        return true;
    });
    killer->WatchDeletion(&deleted);
    chain->AddHandler(killer, true);
    EXPECT_TRUE(chain->HandleMessage(4, nullptr));
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(lateDeleted);
}

} // namespace
