#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/core/RkStream.h"
#include "framework/core/RkString.h"

namespace {

std::u16string Units(const CRkString& s)
{
    return std::u16string(s.GetChars(), s.GetLength());
}

} // namespace

TEST(RkString, ConstructorsAndAssign)
{
    CRkString empty;
    EXPECT_EQ(empty.GetLength(), 0u);
    EXPECT_EQ(empty.GetChars()[0], 0);
    EXPECT_EQ(empty.GetTypeID(), 3u);

    CRkString a(u"hello");
    EXPECT_EQ(Units(a), u"hello");
    CRkString b(u"hello", 3);
    EXPECT_EQ(Units(b), u"hel");
    EXPECT_EQ(b.GetChars()[3], 0);
    CRkString c(a);
    EXPECT_EQ(Units(c), u"hello");
    CRkString d("caf\xE9", kEncodingDeviceLatin);
    EXPECT_EQ(Units(d), u"caf\u00E9");
    CRkString e("\x80\x90x", 2, kEncodingDeviceLatin0);
    EXPECT_EQ(Units(e), u"\u20AC\u2660");
    CRkString f("\x8E\xDB", kEncodingMacRoman);
    EXPECT_EQ(Units(f), u"\u00E9\u20AC");
    CRkString g("abc", 7);
    EXPECT_EQ(g.GetLength(), 0u);
    EXPECT_EQ(g.GetChars()[0], 0);

    a.Assign(u"xy");
    EXPECT_EQ(Units(a), u"xy");
    a = d;
    EXPECT_EQ(Units(a), u"caf\u00E9");
    a.Assign(a);
    EXPECT_EQ(Units(a), u"caf\u00E9");
}

TEST(RkString, AppendGrowsAndKeepsTerminator)
{
    CRkString s;
    std::u16string expected;
    for (int i = 0; i < 500; ++i) {
        s.Append(u"ab");
        s.Append("c", kEncodingDeviceLatin);
        s.Append(u'd');
        expected += u"abcd";
    }
    EXPECT_EQ(Units(s), expected);
    EXPECT_EQ(s.GetChars()[s.GetLength()], 0);
    s.Append("zz", 3); // unknown encoding appends nothing
    EXPECT_EQ(s.GetLength(), 2000u);
}

TEST(RkString, AppendFromOwnUnits)
{
    CRkString s(u"0123456789");
    for (int i = 0; i < 6; ++i)
        s.Append(s.GetChars(), s.GetLength()); // forces growth while reading itself
    EXPECT_EQ(s.GetLength(), 640u);
    EXPECT_EQ(std::u16string(s.GetChars() + 630, 10), u"0123456789");
    s.Assign(s.GetChars() + 3, 4);
    EXPECT_EQ(Units(s), u"3456");
}

TEST(RkString, MidCropTrim)
{
    CRkString s(u"  hello world  ");
    CRkString out;
    s.Mid(out, 2, 5);
    EXPECT_EQ(Units(out), u"hello");
    s.Trim();
    EXPECT_EQ(Units(s), u"hello world");
    s.Crop(6, 5);
    EXPECT_EQ(Units(s), u"world");
    s.Mid(out, 3, 100); // clamped at the end
    EXPECT_EQ(Units(out), u"ld");
    s.Mid(out, 9, 1);
    EXPECT_EQ(out.GetLength(), 0u);

    CRkString spaces(u"     ");
    spaces.Trim();
    EXPECT_EQ(spaces.GetLength(), 0u);
    CRkString tabs(u"\tx\t");
    tabs.Trim(); // only U+0020 is trimmed
    EXPECT_EQ(Units(tabs), u"\tx\t");
}

TEST(RkString, Compare)
{
    EXPECT_EQ(CRkString(u"abc").Compare(CRkString(u"abd"), true), -1);
    EXPECT_EQ(CRkString(u"abd").Compare(CRkString(u"abc"), true), 1);
    EXPECT_EQ(CRkString(u"ab").Compare(CRkString(u"abc"), true), -1);
    EXPECT_EQ(CRkString(u"abc").Compare(CRkString(u"abc"), true), 0);
    EXPECT_EQ(CRkString(u"\u00C0B").Compare(CRkString(u"\u00E0b"), false), 0);
    EXPECT_NE(CRkString(u"\u00C0B").Compare(CRkString(u"\u00E0b"), true), 0);
    // Units compare unsigned: U+E000 sorts after 'a'.
    EXPECT_EQ(CRkString(u"\uE000").Compare(CRkString(u"a"), true), 1);
    EXPECT_EQ(CRkString(u"\u0152").Compare(CRkString(u"\u0153"), false), 0);

    CRkString s(u"Chapter One");
    EXPECT_EQ(s.CompareRange(CRkString(u"one"), 8, 3, false), 0);
    EXPECT_TRUE(s.StartsWith(CRkString(u"chap"), false));
    EXPECT_FALSE(s.StartsWith(CRkString(u"chap"), true));
    EXPECT_TRUE(s.EndsWith(CRkString(u"One"), true));
    EXPECT_FALSE(s.EndsWith(CRkString(u"xx Chapter One"), false));
    EXPECT_TRUE(s.EndsWith(CRkString(), true));
}

TEST(RkString, FindCountRemove)
{
    EXPECT_EQ(CRkString(u"book").Find(u'.'), -1);
    EXPECT_EQ(CRkString(u".txt").Find(u'.'), 0);
    EXPECT_EQ(CRkString(u"a.b.c").Find(u'.', kFindLast), 3);
    EXPECT_EQ(CRkString(u"xAyA").Find(u'a'), 1);
    EXPECT_EQ(CRkString(u"xAyA").Find(u'a', kFindExact), -1);
    EXPECT_EQ(CRkString(u"xAya").Find(u'a', kFindExact | kFindLast), 3);
    EXPECT_EQ(CRkString(u"xAya").Find(u'A', kFindLast), 3);
    EXPECT_EQ(CRkString().Find(u'a'), -1);

    CRkString s(u"Banana");
    EXPECT_EQ(s.CountChar(u'A'), 3u);
    s.RemoveChar(u'a');
    EXPECT_EQ(Units(s), u"Bnn");
    s.RemoveChar(u'b');
    EXPECT_EQ(Units(s), u"nn");
    EXPECT_EQ(s.GetChars()[2], 0);
}

TEST(RkString, NarrowConversions)
{
    CRkString s(u"\u0100\u20ACx");
    const char* narrow = s.GetNarrow(kEncodingDeviceLatin);
    EXPECT_EQ(std::memcmp(narrow, "\x00\x80\x78\x00", 4), 0);
    EXPECT_EQ(CRkString(u"\u01C5").GetNarrow(1)[0], 0x2D);
    EXPECT_STREQ(CRkString(u"\uFFFD").GetNarrow(1), "-");
    EXPECT_STREQ(CRkString(u"\u2011\u2028").GetNarrow(0), "-\r");
    EXPECT_STREQ(CRkString(u"\u00E9\u03A9").GetNarrow(kEncodingMacRoman), "\x8E\xBD");
    EXPECT_STREQ(CRkString(u"abc").GetNarrow(5), "");

    // The cache is reused and follows the content.
    CRkString t(u"first");
    const char* first = t.GetNarrow();
    EXPECT_STREQ(first, "first");
    t.Assign(u"a much longer second text");
    EXPECT_STREQ(t.GetNarrow(), "a much longer second text");

    char* copy = t.CopyNarrow();
    EXPECT_STREQ(copy, "a much longer second text");
    std::free(copy);

    char dest[5];
    EXPECT_STREQ(t.ToNarrow(dest, 4, 1), "a mu");
    char small[8];
    EXPECT_STREQ(CRkString(u"ab").ToNarrow(small, 7, 1), "ab");

    char16_t* units = t.CopyChars();
    EXPECT_EQ(std::u16string(units), u"a much longer second text");
    std::free(units);
}

TEST(RkString, EightBitRoundTripAllEncodings)
{
    // Every byte comes back, except the ones whose code point the property
    // table does not hold: those become the substitute hyphen-minus.
    const char* unheldMac = "\xB2\xB3\xB7\xB8\xC5\xC6\xD7\xDA\xDE\xF0\xFB\xFD\xFE";
    for (int encoding = 0; encoding <= 2; ++encoding) {
        std::string all;
        for (int b = 1; b < 256; ++b)
            all += static_cast<char>(b);
        CRkString s(all.data(), static_cast<uint32_t>(all.size()), encoding);
        ASSERT_EQ(s.GetLength(), 255u);
        std::string back(s.GetNarrow(encoding), 255);
        for (int b = 1; b < 256; ++b) {
            const bool unheld =
                encoding == 2 ? std::strchr(unheldMac, b) != nullptr : (b == 0x81 || b == 0x9D || b == 0x9E);
            const int expected = unheld ? 0x2D : b;
            EXPECT_EQ(static_cast<unsigned char>(back[b - 1]), expected) << "encoding " << encoding << " byte " << b;
        }
    }
    // Device Latin bytes that name another code point than their value.
    EXPECT_EQ(CRkString("\x8D\x8E\x8F\x9F", 1).GetChars()[0], 0x2662);
    EXPECT_EQ(CRkString("\x8D\x8E\x8F\x9F", 1).GetChars()[3], 0x0178);
    EXPECT_EQ(CRkString("\xF0\xB2", 2).GetChars()[0], 0xF8FF);
    EXPECT_EQ(CRkString("\xF0\xB2", 2).GetChars()[1], 0x2264);
}

TEST(RkString, EqualityAndHash)
{
    CRkString a(u"abc"), b(u"abc"), c(u"ABC");
    EXPECT_TRUE(a.IsEqual(&b));
    EXPECT_FALSE(a.IsEqual(&c));
    EXPECT_FALSE(a.IsEqual(nullptr));
    CMemBuffer notString;
    EXPECT_FALSE(a.IsEqual(&notString));
    // CRC-32 of the bytes 61 00 62 00 63 00.
    EXPECT_EQ(a.Hash(), 0xAD957AB0u);
    EXPECT_EQ(a.Hash(), b.Hash());
    EXPECT_EQ(CRkString().Hash(), 0u);
}

TEST(RkString, StreamRoundTrip)
{
    CMemBuffer buffer;
    CRkString source(u"A\u20AC\uE000z");
    {
        CRkMemStream out(buffer, StreamMode::Write);
        ASSERT_EQ(out.Open(), 0);
        ASSERT_EQ(source.Write(out), 0);
        ASSERT_EQ(out.Close(), 0);
    }
    const uint8_t expected[] = {0, 0, 0, 0, 0, 0, 0, 4, 0x41, 0, 0xAC, 0x20, 0x00, 0xE0, 0x7A, 0};
    ASSERT_EQ(buffer.GetSize(), sizeof expected);
    EXPECT_EQ(std::memcmp(buffer.GetData(), expected, sizeof expected), 0);

    CRkString back(u"old");
    CRkMemStream in(buffer, StreamMode::Read);
    ASSERT_EQ(in.Open(), 0);
    ASSERT_EQ(back.Read(in), 0);
    EXPECT_EQ(Units(back), Units(source));
}

TEST(RkString, ReadRejectsNewerVersionAndShortData)
{
    CMemBuffer buffer;
    buffer.AppendU32BE(1);
    CRkString s;
    CRkMemStream in(buffer, StreamMode::Read);
    ASSERT_EQ(in.Open(), 0);
    EXPECT_EQ(s.Read(in), kStreamNewerVersion);

    CMemBuffer damaged;
    damaged.AppendU32BE(0);
    damaged.AppendU32BE(0xFFFFFFF0u); // claims far more than it holds
    damaged.AppendU16BE(0x4100);
    CRkMemStream in2(damaged, StreamMode::Read);
    ASSERT_EQ(in2.Open(), 0);
    EXPECT_EQ(s.Read(in2), kStreamEndOfData);
}
