// Random mixes of control codes, arguments and text: every parse ends, an
// error is logged exactly when the parse fails, and every recorded position
// lies inside the text.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/markup/ReportCapture.h"
#include "tests/markup/ScanHarness.h"

namespace {

TEST(ScanRobustness, RandomMarkupFailsExactlyWhenAnErrorIsLogged)
{
    const char* const pieces[] = {"\\",
                                  "\\x",
                                  "\\X1",
                                  "\\X",
                                  "\\C1=\"",
                                  "\"",
                                  "\\I",
                                  "\\q=\"#",
                                  "\\Q=\"",
                                  "\\Sd=\"",
                                  "\\Fn=\"",
                                  "\\Sd",
                                  "\\Fn",
                                  "\\q",
                                  "\\w=\"",
                                  "\\T=\"",
                                  "%",
                                  "\\m=\"",
                                  "\\My=\"",
                                  "a.png",
                                  "\\U",
                                  "0141",
                                  "\\a",
                                  "065",
                                  "\\\\",
                                  "\\-",
                                  "\\d",
                                  "\\p",
                                  "\\c",
                                  "\\r",
                                  "\\b",
                                  "\\B",
                                  "\\l",
                                  "\\s",
                                  "\\n",
                                  "\\i",
                                  "\\v",
                                  "\\k",
                                  "\\Sp",
                                  "\\Sb",
                                  "\\t",
                                  " ",
                                  "-",
                                  "\n",
                                  "\r",
                                  "word",
                                  "longerwordthanusual",
                                  "=",
                                  "\\M",
                                  "\\S",
                                  "\\F",
                                  "\xC9",
                                  "12"};
    std::mt19937 rng(20261209);
    for (int n = 0; n < 3000; ++n) {
        std::string text;
        const uint32_t count = rng() % 60;
        for (uint32_t k = 0; k < count; ++k)
            text += pieces[rng() % std::size(pieces)];
        const uint32_t options = rng() % 3;
        std::vector<uint32_t> ends;
        if (text.size() > 4 && rng() % 2) {
            ends.push_back(static_cast<uint32_t>(text.size() / 2));
            ends.push_back(static_cast<uint32_t>(text.size()));
        }
        ReportCapture capture;
        auto r = Scan(text, options, kNoImageDirectory, ends);
        ASSERT_EQ(r->failed, !capture.errors().empty()) << text;
        for (const PageRecList* pages : {&r->lists.smallPages, &r->lists.largePages})
            for (uint32_t i = 0; i < pages->GetEntryCount(); ++i)
                ASSERT_LE(pages->GetPosition(i), text.size()) << text;
        for (uint32_t i = 0; i < r->lists.chapters.GetCount(); ++i)
            ASSERT_LT(r->lists.chapters.GetPosition(i), text.size()) << text;
        for (uint32_t i = 0; i < r->lists.links.GetCount(); ++i)
            ASSERT_TRUE(r->lists.links.GetPosition(i) == kUndefinedPosition ||
                        r->lists.links.GetPosition(i) <= text.size() + 1)
                << text;
    }
}

} // namespace
