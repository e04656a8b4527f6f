#include "book/driver/DeferredReports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    EXPECT_EQ(capture.statuses(), (std::vector<std::string> {"Generating page tables for the small font...", "after"}));
    EXPECT_EQ(capture.warnings(), (std::vector<std::string> {"Link \"x\" has not been defined"}));
    EXPECT_EQ(capture.errors(), (std::vector<std::string> {std::string(600, 'e') + " 5%"}));
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
    EXPECT_EQ(capture.errors(), (std::vector<std::string> {"kept"}));
    // Leaving the scope without either replays.
    {
        CDeferredReports deferred;
        ReportWarning("late");
        EXPECT_TRUE(capture.warnings().empty());
    }
    EXPECT_EQ(capture.warnings(), (std::vector<std::string> {"late"}));
}

}
