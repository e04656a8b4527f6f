#include "driver/DeferredReports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/MessageGate.h"
#include "tests/markup/ReportCapture.h"

namespace {

TEST(DeferredReports, HoldsMessagesBackAndReplaysThemInOrder)
{
    ReportCapture capture;
    {
        CDeferredReports deferred;
        ReportStatus("Generating page tables for the %s font...", "small");
        ReportWarning("Link \"%s\" has not been defined", "x");
        ReportError("%s %d%%", std::string(600, 'e').c_str(), 5); // never cut
        EXPECT_TRUE(capture.statuses().empty());
        EXPECT_TRUE(capture.errors().empty());
        deferred.Replay();
        ReportStatus("after");
    } // nothing is replayed twice
    EXPECT_EQ(capture.statuses(), (std::vector<std::string>{"Generating page tables for the small font...", "after"}));
    EXPECT_EQ(capture.warnings(), (std::vector<std::string>{"Link \"x\" has not been defined"}));
    EXPECT_EQ(capture.errors(), (std::vector<std::string>{std::string(600, 'e') + " 5%"}));
}

TEST(DeferredReports, DiscardDropsTheMessagesAndPutsTheHooksBack)
{
    ReportCapture capture;
    {
        CDeferredReports deferred;
        ReportError("dropped");
        deferred.Discard();
        ReportError("kept");
    }
    EXPECT_EQ(capture.errors(), (std::vector<std::string>{"kept"}));
    // Leaving the scope without either replays.
    {
        CDeferredReports deferred;
        ReportWarning("late");
        EXPECT_TRUE(capture.warnings().empty());
    }
    EXPECT_EQ(capture.warnings(), (std::vector<std::string>{"late"}));
}

// Past the budget the other work is finished at once; its success lets
// every message out in order and the rest straight through, so that no
// more is held than the budget.
TEST(DeferredReports, BudgetSettlesAndStopsHolding)
{
    ReportCapture capture;
    int settled = 0;
    {
        CDeferredReports deferred;
        deferred.SetBudget(4096, [&] {
            ++settled;
            return true;
        });
        for (int i = 0; i < 200; ++i)
            ReportWarning("message %d", i);
        EXPECT_EQ(settled, 1);
        // Given out already, not at the end.
        EXPECT_EQ(capture.warnings().size(), 200u);
        deferred.Replay();
    }
    ASSERT_EQ(capture.warnings().size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(capture.warnings()[size_t(i)], "message " + std::to_string(i));
}

// A failed settlement drops what was held and all that follows, as
// Discard does at the end.
TEST(DeferredReports, FailedSettlementDropsEverything)
{
    ReportCapture capture;
    {
        CDeferredReports deferred;
        deferred.SetBudget(4096, [] { return false; });
        for (int i = 0; i < 1000; ++i)
            ReportError("held %d", i);
        deferred.Discard();
        ReportError("after");
    }
    EXPECT_EQ(capture.errors(), (std::vector<std::string>{"after"}));
}

// A held-back message is given out with the place it was reported with.
TEST(DeferredReports, ReplayedMessagesKeepTheirPlaces)
{
    ReportCapture capture;
    static std::vector<ReportPlace> places;
    places.clear();
    struct PlaceHook {
        static int32_t Error(const char*, va_list)
        {
            places.push_back(CurrentReportPlace());
            return 0;
        }
    };
    SetErrorHook(&PlaceHook::Error);
    {
        CDeferredReports deferred;
        ReportMessage(kReportError, MessageRule::Always, ReportPlace::At(42), "at 42");
        ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(), "whole");
        ReportError("none");
        EXPECT_TRUE(places.empty());
    }
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0].kind, ReportPlace::Offset);
    EXPECT_EQ(places[0].offset, 42u);
    EXPECT_EQ(places[1].kind, ReportPlace::WholeSource);
    EXPECT_EQ(places[2].kind, ReportPlace::None);
}

} // namespace
