// The message gate, the place beside the report functions and the offset
// map that traces rewritten offsets back.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "framework/core/MessageGate.h"
#include "framework/core/OffsetMap.h"
#include "framework/core/Report.h"
#include "framework/core/StringFormat.h"

namespace {

struct Seen {
    uint32_t level;
    std::string text;
    ReportPlace place;
};

std::vector<Seen>& Log()
{
    static std::vector<Seen> log;
    return log;
}

int32_t Keep(uint32_t level, const char* format, va_list args)
{
    std::string text;
    FormatStringV(text, format, args);
    Log().push_back({level, text, CurrentReportPlace()});
    return 0;
}
int32_t KeepError(const char* format, va_list args)
{
    return Keep(kReportError, format, args);
}
int32_t KeepWarning(const char* format, va_list args)
{
    return Keep(kReportWarning, format, args);
}
int32_t KeepStatus(const char* format, va_list args)
{
    return Keep(kReportStatus, format, args);
}

class MessageGateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Log().clear();
        SetErrorHook(&KeepError);
        SetWarningHook(&KeepWarning);
        SetStatusHook(&KeepStatus);
        m_batch = batchMode;
    }
    void TearDown() override
    {
        ResetReportHooks();
        batchMode = m_batch;
    }
    bool m_batch = false;
};

TEST_F(MessageGateTest, EachRuleAgainstBatchModeAndThePass)
{
    struct Row {
        MessageRule rule;
        bool batch;
        MessagePass pass;
        bool inForce;
        bool logged;
    };
    const MessagePass small{true, false};
    const MessagePass large{false, false};
    const MessagePass rescan{true, true};
    const Row rows[] = {
        {MessageRule::Always, false, small, true, true},
        {MessageRule::Always, true, large, true, true},
        {MessageRule::Always, false, rescan, true, false},
        {MessageRule::NotInBatch, false, large, true, true},
        {MessageRule::NotInBatch, true, small, false, false},
        {MessageRule::SmallFontPass, true, small, true, true},
        {MessageRule::SmallFontPass, false, large, true, false},
        {MessageRule::SmallFontPass, false, rescan, true, false},
        {MessageRule::SmallFontPassNotInBatch, false, small, true, true},
        {MessageRule::SmallFontPassNotInBatch, false, large, true, false},
        {MessageRule::SmallFontPassNotInBatch, true, small, false, false},
    };
    for (const Row& row : rows) {
        batchMode = row.batch;
        const MessageVerdict verdict = JudgeMessage(row.rule, row.pass);
        EXPECT_EQ(verdict.inForce, row.inForce) << int(row.rule) << row.batch;
        EXPECT_EQ(verdict.logged, row.logged) << int(row.rule) << row.batch;
        const MessageVerdict reported = ReportMessage(row.pass, kReportWarning, row.rule, ReportPlace(), "w");
        EXPECT_EQ(reported.logged, verdict.logged);
        EXPECT_EQ(Log().size(), verdict.logged ? 1u : 0u);
        Log().clear();
    }
}

TEST_F(MessageGateTest, ThePlaceHoldsForTheCallOnlyAndGoesThroughTheMapInForce)
{
    struct Doubling final : IReportPlaceMap {
        uint64_t GivenOffset(uint64_t rewritten) const override { return rewritten * 2; }
    } doubling;
    ReportMessage(kReportError, MessageRule::Always, ReportPlace::At(7), "at %d", 7);
    {
        const CReportPlaceMapScope map(&doubling);
        ReportMessage(kReportWarning, MessageRule::Always, ReportPlace::At(7), "mapped");
        ReportMessage(kReportWarning, MessageRule::Always, ReportPlace::Whole(), "whole");
    }
    ReportMessage(kReportStatus, MessageRule::Always, ReportPlace(), "none");
    ReportError("direct %s", "call");
    ASSERT_EQ(Log().size(), 5u);
    EXPECT_EQ(Log()[0].text, "at 7");
    EXPECT_EQ(Log()[0].level, kReportError);
    EXPECT_EQ(Log()[0].place.kind, ReportPlace::Offset);
    EXPECT_EQ(Log()[0].place.offset, 7u);
    EXPECT_EQ(Log()[1].place.offset, 14u);
    EXPECT_EQ(Log()[2].place.kind, ReportPlace::WholeSource);
    EXPECT_EQ(Log()[3].level, kReportStatus);
    EXPECT_EQ(Log()[3].place.kind, ReportPlace::None);
    // A plain report call outside the gate has no place: none is left over.
    EXPECT_EQ(Log()[4].text, "direct call");
    EXPECT_EQ(Log()[4].place.kind, ReportPlace::None);
    EXPECT_EQ(CurrentReportPlace().kind, ReportPlace::None);
}

TEST_F(MessageGateTest, ACountedMessageCountsOnlyWhatWouldBeLoggedAndStopsAtItsLimit)
{
    uint32_t count = 0;
    const MessagePass large{false, false};
    EXPECT_EQ(ReportCountedMessage(large, count, 2, kReportError, MessageRule::SmallFontPass, ReportPlace(), "e"), 0u);
    EXPECT_EQ(count, 0u);
    for (uint32_t i = 1; i <= 4; ++i)
        EXPECT_EQ(ReportCountedMessage(MessagePass{}, count, 2, kReportError, MessageRule::SmallFontPass,
                                       ReportPlace::At(i), "e%u", i),
                  i);
    ASSERT_EQ(Log().size(), 2u);
    EXPECT_EQ(Log()[1].text, "e2");
    EXPECT_EQ(Log()[1].place.offset, 2u);
}

TEST(OffsetMap, ExpandedRemovedAndShrunkBytesMapBack)
{
    // Original "ab\tc" -> "ab    c": the tab's spaces all map to the tab.
    COffsetMap tabs;
    tabs.Add(6, 3);
    const uint32_t expanded[] = {0, 1, 2, 2, 2, 2, 3};
    for (uint32_t i = 0; i < 7; ++i)
        EXPECT_EQ(tabs.Original(i), expanded[i]) << i;
    EXPECT_EQ(tabs.Original(9), 6u); // past the end it runs on

    // Original "a\0\0\r\nb" -> "a\nb": removed bytes shift what follows.
    COffsetMap removed;
    removed.Add(1, 4);
    EXPECT_EQ(removed.Original(0), 0u);
    EXPECT_EQ(removed.Original(1), 4u);
    EXPECT_EQ(removed.Original(2), 5u);

    // Original "x\\a065y" -> "xAy": the escape's byte maps to its backslash.
    COffsetMap escapes;
    escapes.Add(2, 6);
    EXPECT_EQ(escapes.Original(1), 1u);
    EXPECT_EQ(escapes.Original(2), 6u);
}

TEST(OffsetMap, BoundedCheckpointsStayExactWhereKept)
{
    // A tab every other byte: one checkpoint per tab without a bound.
    COffsetMap map(64);
    for (uint32_t k = 1; k <= 1000; ++k)
        map.Add(5 * k, 2 * k); // "x\t" -> "x    "
    EXPECT_LE(map.CheckpointCount(), 64u);
    // The last checkpoint is always kept; offsets stay in order and within
    // the original text.
    EXPECT_EQ(map.Original(5000), 2000u);
    uint32_t previous = 0;
    for (uint32_t i = 0; i <= 5000; ++i) {
        const uint32_t original = map.Original(i);
        EXPECT_GE(original, previous) << i;
        EXPECT_LE(original, 2000u) << i;
        previous = original;
    }
}

} // namespace
