// Random mixes of text and layout codes: every pass ends, and the tables
// it leaves are well formed whatever the markup.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/markup/PaginateHarness.h"
#include "tests/markup/ReportCapture.h"

namespace {

// Pages numbered from 0 in steps of 1, starting strictly after each other
// and inside the text.
void ExpectWellFormed(const PageTable& table, const std::string& text)
{
    for (size_t i = 0; i < table.size(); ++i) {
        ASSERT_EQ(table[i].page, i) << text;
        ASSERT_LE(table[i].position, text.size()) << text;
        if (i == 0)
            continue;
        ASSERT_GT(table[i].position, table[i - 1].position) << text;
    }
}

TEST(PaginateRandom, AnyMarkupGivesOrderedTablesAndChapters)
{
    const char* const pieces[] = {"a",
                                  "aaaaaaaaaa",
                                  "WWWWWWWWWWWWWWWWWWWW",
                                  " ",
                                  "  ",
                                  "-",
                                  "_",
                                  "\n",
                                  "\\p",
                                  "\\x",
                                  "\\X1",
                                  "\\X2",
                                  "\\C1=\"t\"",
                                  "\\\\",
                                  "\\a065",
                                  "\\-",
                                  "\\t",
                                  "\\d",
                                  "\\w=\"50%\"",
                                  "\\T=\"80%\"",
                                  "\\T=\"100%\"",
                                  "\\l",
                                  "\\b",
                                  "\\B",
                                  "\\Sp",
                                  "\\Sd=\"s\"",
                                  "\\Sd",
                                  "\\v",
                                  "\\i",
                                  "\\c",
                                  "\\U0041",
                                  "\\q=\"#x\"",
                                  "\\q",
                                  "\\Q=\"x\"",
                                  "\\m=\"x.png\"",
                                  "\\Fn=\"f\"",
                                  "\\Fn",
                                  "\\I",
                                  "\\s",
                                  "\\n",
                                  "\\"};
    std::mt19937 random(20261209);
    for (int round = 0; round < 1000; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 200);
        for (int i = 0; i < count; ++i)
            text += pieces[random() % std::size(pieces)];
        ReportCapture capture(true);
        const auto run = Scan(text, static_cast<uint32_t>(random() % 4));
        ExpectWellFormed(SmallPages(*run), text);
        ExpectWellFormed(LargePages(*run), text);
        // Rescanned chapters are never recorded twice.
        for (uint32_t i = 1; i < run->lists.chapters.GetCount(); ++i)
            ASSERT_LT(run->lists.chapters.GetPosition(i - 1), run->lists.chapters.GetPosition(i)) << text;
        if (HasFailure())
            return;
    }
}

} // namespace
