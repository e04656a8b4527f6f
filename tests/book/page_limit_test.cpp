// The page tables' 16-bit numbers: at most 65535 entries in either.
#include "book/PageLimit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book/PageRecList.h"
#include "tests/markup/ReportCapture.h"

namespace {

void Fill(PageRecList& list, uint32_t entries)
{
    for (uint32_t i = 0; i < entries; ++i)
        list.Add(static_cast<uint16_t>(i), 1, 0, i, 0);
}

TEST(PageLimit, TablesOfUpTo65535EntriesPass)
{
    ReportCapture capture;
    PageRecList small;
    PageRecList large;
    EXPECT_FALSE(CheckPageTableSize(small, large));
    Fill(small, 65535);
    Fill(large, 65535);
    EXPECT_FALSE(CheckPageTableSize(small, large));
    EXPECT_TRUE(capture.errors().empty());
}

TEST(PageLimit, LargerTableIsNamedInTheError)
{
    ReportCapture capture;
    PageRecList small;
    PageRecList large;
    Fill(small, 50000);
    Fill(large, 65536);
    EXPECT_TRUE(CheckPageTableSize(small, large));
    PageRecList more;
    Fill(more, 70000);
    EXPECT_TRUE(CheckPageTableSize(more, large));
    EXPECT_EQ(capture.errors(), (std::vector<std::string>{
                                    "Too many pages (65536 of them) for a .ldb file! Build it without page tables.",
                                    "Too many pages (70000 of them) for a .ldb file! Build it without page tables."}));
}

} // namespace
