#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/core/WideString.h"

TEST(WideString, LengthCopyConcatCompare)
{
    char16_t buf[32];
    EXPECT_EQ(WideLength(u""), 0u);
    EXPECT_EQ(WideLength(u"abc"), 3u);
    WideCopy(buf, u"ab");
    WideConcat(buf, u"\u20ACd");
    EXPECT_EQ(std::u16string(buf), u"ab\u20ACd");
    EXPECT_EQ(WideCompare(u"abc", u"abc"), 0);
    EXPECT_EQ(WideCompare(u"abc", u"abd"), 'c' - 'd');
    EXPECT_LT(WideCompare(u"ab", u"abc"), 0);
    EXPECT_GT(WideCompare(u"\uE000", u"a"), 0); // units compare unsigned
}

TEST(WideString, BoundedCopyPads)
{
    char16_t buf[6];
    for (char16_t& c : buf)
        c = u'#';
    WideCopyN(buf, u"ab", 5);
    EXPECT_EQ(buf[0], u'a');
    EXPECT_EQ(buf[2], 0);
    EXPECT_EQ(buf[4], 0);
    EXPECT_EQ(buf[5], u'#');
    WideCopyN(buf, u"abcdefgh", 5); // no terminator when the source is longer
    EXPECT_EQ(std::u16string(buf, 5), u"abcde");
    EXPECT_EQ(buf[5], u'#');
}

TEST(WideString, Finding)
{
    const char16_t* s = u"a.b.c";
    EXPECT_EQ(WideFindChar(s, u'.'), s + 1);
    EXPECT_EQ(WideFindChar(s, 0), s + 5);
    EXPECT_EQ(WideFindChar(s, u'z'), nullptr);
    EXPECT_EQ(WideFindLastChar(s, u'.'), s + 3);
    EXPECT_EQ(WideFindLastChar(s, 0), s + 5);
    EXPECT_EQ(WideFindLastChar(s, u'z'), nullptr);
    EXPECT_EQ(WideFindString(s, u""), s);
    EXPECT_EQ(WideFindString(s, u"b.c"), s + 2);
    EXPECT_EQ(WideFindString(s, u"c.d"), nullptr);
    const char16_t* overlap = u"aab";
    EXPECT_EQ(WideFindString(overlap, u"ab"), overlap + 1); // a partial match restarts one unit on
    EXPECT_EQ(WideFindCharN(s, u'c', 4), nullptr);
    EXPECT_EQ(WideFindCharN(s, u'c', 5), s + 4);
}

TEST(WideString, MemoryFunctions)
{
    auto* p = static_cast<uint8_t*>(MemAllocateZeroed(16, 2));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(p[i], 0);
    std::memset(p, 7, 32);
    p = static_cast<uint8_t*>(MemReallocate(p, 4096));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[31], 7);
    MemFree(p);
    void* q = MemAllocate(10);
    EXPECT_NE(q, nullptr);
    MemFree(q);
    MemFree(nullptr);
}
