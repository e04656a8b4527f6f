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
    TraceHandler(std::string name, std::string& trace, std::function<bool(uint16_t, CRkMessage*, IRkMessageTarget&)> take = {})
        : m_name(std::move(name)), m_trace(trace), m_take(std::move(take)) {}
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
