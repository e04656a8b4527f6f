#include <gtest/gtest.h>

#include <string>

#include "ByteHelpers.h"
#include "book/IndexCollation.h"
#include "book/IndexRecList.h"

namespace {

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

TEST(IndexCollation, FoldsCaseAccentsLigaturesAndSpaces)
{
    EXPECT_EQ(CompareIndexTerms("Apple", "apple"), 0);
    EXPECT_EQ(CompareIndexTerms("\xC9"
                                "clair",
                                "eclair"),
              0); // E acute sorts as e
    EXPECT_LT(CompareIndexTerms("\xC9"
                                "clair",
                                "f"),
              0);
    EXPECT_GT(CompareIndexTerms("\xC9"
                                "clair",
                                "d"),
              0);
    EXPECT_EQ(CompareIndexTerms("\xC6"
                                "sop",
                                "aesop"),
              0); // AE ligature as a, e
    EXPECT_LT(CompareIndexTerms("\xC6"
                                "sop",
                                "af"),
              0);
    EXPECT_GT(CompareIndexTerms("\xC6"
                                "sop",
                                "ad"),
              0);
    EXPECT_EQ(CompareIndexTerms("stra\xDF"
                                "e",
                                "strasse"),
              0); // sharp s
    EXPECT_EQ(CompareIndexTerms("\x8C"
                                "uvre",
                                "oeuvre"),
              0);
    EXPECT_EQ(CompareIndexTerms("Trade\x99", "trade tm"), 0);
    EXPECT_EQ(CompareIndexTerms("New-York!", "new york"), 0); // punctuation and spaces ignored
    EXPECT_EQ(CompareIndexTerms("\x8E"
                                "x",
                                "x"),
              0); // 0x8E folds to a space
    EXPECT_EQ(CompareIndexTerms("x\xB2", "x2"), 0);
    EXPECT_LT(CompareIndexTerms("(a)", "0"), 0); // parentheses stay, below digits
    EXPECT_LT(CompareIndexTerms("9", "a"), 0);
    EXPECT_LT(CompareIndexTerms("ab", "abc"), 0);
    EXPECT_EQ(Sign(CompareIndexTerms("b", "a")), 1);
    EXPECT_EQ(FoldIndexTerm(std::string_view("A \xE6 b\0zz", 9)), "aaeb"); // NUL ends the term
}

TEST(IndexRecList, SortDedupeAndHeading)
{
    IndexRecList index;
    index.Add(2, 5, "zebra");
    index.Add(1, 9, "\xC9lan");
    index.Add(1, 3, "elan");
    index.Add(1, 3, "elan");  // exact repeat: dropped
    index.Add(1, 3, "e-lan"); // equal by collation, different bytes: kept
    index.Add(1, 1, "Apple");
    EXPECT_FALSE(index.IsGrouped());
    index.Group();
    ASSERT_EQ(index.GetCount(), 5u);
    EXPECT_EQ(index.GetTerm(0), "Apple");
    // The three "elan" forms tie and go by record, then offset; the stable
    // order keeps the earlier added one first among full ties.
    EXPECT_EQ(index.GetOffset(1), 3u);
    EXPECT_EQ(index.GetTerm(1), "elan");
    EXPECT_EQ(index.GetTerm(2), "e-lan");
    EXPECT_EQ(index.GetTerm(3), "\xC9lan");
    EXPECT_EQ(index.GetTerm(4), "zebra");

    ASSERT_EQ(index.GetRecordCount(), 2u);
    CMemBuffer heading;
    index.AppendRecord(0, heading);
    EXPECT_EQ(Bytes(heading), Expect().cstr("Apple").bytes);
    CMemBuffer group;
    index.AppendRecord(1, group);
    const auto expected = Expect()
                              .u16(1)
                              .u16(1)
                              .cstr("Apple")
                              .u16(1)
                              .u16(3)
                              .cstr("elan")
                              .u16(1)
                              .u16(3)
                              .cstr("e-lan")
                              .u16(1)
                              .u16(9)
                              .cstr("\xC9lan")
                              .u16(2)
                              .u16(5)
                              .cstr("zebra")
                              .bytes;
    EXPECT_EQ(Bytes(group), expected);
    EXPECT_EQ(index.GetRecordSize(1), expected.size());
}

TEST(IndexRecList, EmptyIndexHasNoRecords)
{
    IndexRecList index;
    index.Group();
    EXPECT_EQ(index.GetRecordCount(), 0u);
    EXPECT_EQ(index.GetRecordSize(0), 0u);
}

TEST(IndexRecList, GroupsCloseAfterCrossing62000Bytes)
{
    // Terms of 76 characters make 81-byte entries: 765 entries are 61965
    // bytes, the 766th takes the group to 62046 > 62000 and closes it.
    IndexRecList index;
    auto term = [](uint32_t i) {
        std::string t = "t" + std::to_string(100000 + i);
        return t + std::string(76 - t.size(), 'x');
    };
    for (uint32_t i = 0; i < 770; ++i)
        index.Add(1, uint16_t(i), term(i));
    index.Group();
    ASSERT_EQ(index.GetGroupCount(), 2u);
    ASSERT_EQ(index.GetRecordCount(), 3u);
    EXPECT_EQ(index.GetRecordSize(1), 766u * 81u);
    EXPECT_EQ(index.GetRecordSize(2), 4u * 81u);
    CMemBuffer heading;
    index.AppendRecord(0, heading);
    EXPECT_EQ(Bytes(heading), Expect().cstr(term(0)).cstr(term(766)).bytes);
    CMemBuffer second;
    index.AppendRecord(2, second);
    EXPECT_EQ(second.GetSize(), 4u * 81u);
    EXPECT_EQ(U16At(Bytes(second), 2), 766u);

    // Exactly 62000 bytes do not close a group; 62001 do.
    IndexRecList exact;
    for (uint32_t i = 0; i < 775; ++i) // 775 * 80 = 62000
        exact.Add(1, uint16_t(i), term(i).substr(0, 75));
    exact.Group();
    EXPECT_EQ(exact.GetGroupCount(), 1u);
    exact.Add(1, 999, "z");
    exact.Group();
    EXPECT_EQ(exact.GetGroupCount(), 1u); // 62006 in one group: crossing closes, nothing after
    exact.Add(1, 1000, "zz");
    exact.Group();
    EXPECT_EQ(exact.GetGroupCount(), 2u);
    EXPECT_EQ(exact.GetRecordSize(1), 62006u);
    EXPECT_EQ(exact.GetRecordSize(2), 7u);
}

} // namespace
