#include <gtest/gtest.h>

#include <cstring>

#include "TypeTestSupport.h"
#include "framework/core/RkColor.h"
#include "framework/core/RkData.h"
#include "framework/core/RkRecord.h"
#include "framework/core/RkString.h"
#include "framework/core/TypeHashTable.h"

namespace {

using Record = TypeStreamTest;

TEST_F(Record, SetGetReplaceAndRemoveCountReferences)
{
    CountedType::live = 0;
    auto* first = new CountedType;
    auto* second = new CountedType;
    {
        CRkRecord record;
        const CRkString key(u"title");
        record.Set(key, first);
        EXPECT_EQ(first->GetRefCount(), 2u);
        EXPECT_EQ(record.Get(key), first);
        EXPECT_EQ(record.Get(CRkString(u"Title")), nullptr);

        record.Set(CRkString(u"title"), second);
        EXPECT_EQ(record.GetCount(), 1u);
        EXPECT_EQ(record.Get(key), second);
        EXPECT_EQ(first->GetRefCount(), 1u);
        EXPECT_EQ(second->GetRefCount(), 2u);

        // Setting the same value again keeps exactly one reference.
        record.Set(key, second);
        EXPECT_EQ(second->GetRefCount(), 2u);

        first->Release();
        EXPECT_EQ(CountedType::live, 1);
        record.Set(CRkString(u"other"), second);
        EXPECT_EQ(second->GetRefCount(), 3u);
        EXPECT_TRUE(record.Remove(key));
        EXPECT_FALSE(record.Remove(key));
        EXPECT_EQ(second->GetRefCount(), 2u);
        second->Release();
        EXPECT_EQ(CountedType::live, 1);
    }
    // The record's destruction released the last reference.
    EXPECT_EQ(CountedType::live, 0);
}

TEST_F(Record, The263rdEntryGrowsTheTable)
{
    CRkColor color;
    CRkRecord record;
    EXPECT_EQ(record.GetBucketCount(), 263u);
    CRkString key;
    for (uint32_t i = 0; i < 262; ++i) {
        key.Assign(u"k");
        key.Append(char16_t(0x100 + i));
        record.Set(key, &color);
    }
    ASSERT_EQ(record.GetCount(), 262u);
    EXPECT_EQ(record.GetBucketCount(), 263u);
    record.Set(CRkString(u"last"), &color);
    EXPECT_EQ(record.GetBucketCount(), 541u);
    EXPECT_EQ(color.GetRefCount(), 264u);
    record.RemoveAll();
    EXPECT_EQ(color.GetRefCount(), 1u);
}

TEST_F(Record, WriteRefusesAnEntryWithoutValue)
{
    CRkRecord record;
    record.Set(CRkString(u"empty"), nullptr);
    EXPECT_TRUE(record.Has(CRkString(u"empty")));
    CMemBuffer buffer;
    EXPECT_EQ(WriteToBuffer(&record, buffer), 1);

    CRkTypeHashTable table;
    table.Set(3, nullptr);
    EXPECT_EQ(WriteToBuffer(&table, buffer), 1);
}

TEST_F(Record, TypeHashTableBodyAndReferences)
{
    CRkColor color(0x10, 0x20, 0x30);
    CRkColor other;
    CRkTypeHashTable table;
    table.Set(0x01020304, &color);
    EXPECT_EQ(color.GetRefCount(), 2u);
    table.Set(0x01020304, &other);
    EXPECT_EQ(color.GetRefCount(), 1u);
    EXPECT_EQ(table.Get(0x01020304), &other);
    table.Set(0x01020304, &color);

    CMemBuffer buffer;
    ASSERT_EQ(WriteToBuffer(&table, buffer), 0);
    std::vector<uint8_t> expected;
    AppendTag(expected, "BTyp");
    AppendU32(expected, 6);
    AppendU32(expected, 0);
    AppendU32(expected, 0);          // version
    AppendU32(expected, 1);          // count
    AppendU32(expected, 0x01020304); // key
    AppendTag(expected, "BTyp");
    AppendU32(expected, 7);
    AppendU32(expected, 1);
    AppendU32(expected, 0);
    AppendBytes(expected, {0, 0x10, 0x20, 0x30});
    AppendTag(expected, "ETyp");
    AppendU32(expected, 7);
    AppendU32(expected, 1);
    AppendTag(expected, "ETyp");
    AppendU32(expected, 6);
    AppendU32(expected, 0);
    EXPECT_EQ(Bytes(buffer), expected);

    CRkType* out = nullptr;
    ASSERT_EQ(ReadFromBytes(expected, &out), 0);
    auto* back = static_cast<CRkTypeHashTable*>(out);
    ASSERT_EQ(back->GetCount(), 1u);
    EXPECT_TRUE(back->Get(0x01020304)->IsEqual(&color));
    EXPECT_EQ(back->Get(0x01020304)->GetRefCount(), 1u);
    out->Release();
}

TEST_F(Record, ReadReplacesTheOldContent)
{
    CRkString v(u"v");
    CRkRecord source;
    source.Set(CRkString(u"a"), &v);
    CMemBuffer buffer;
    {
        CRkMemStream writer(buffer, StreamMode::Write);
        ASSERT_EQ(writer.Open(), 0);
        ASSERT_EQ(source.Write(writer), 0);
    }
    CRkColor stale;
    CRkRecord target;
    target.Set(CRkString(u"stale"), &stale);
    CRkMemStream reader(buffer, StreamMode::Read);
    ASSERT_EQ(reader.Open(), 0);
    ASSERT_EQ(target.Read(reader), 0);
    EXPECT_EQ(target.GetCount(), 1u);
    EXPECT_EQ(stale.GetRefCount(), 1u);
    ASSERT_NE(target.Get(CRkString(u"a")), nullptr);
    EXPECT_TRUE(target.Get(CRkString(u"a"))->IsEqual(&v));
}

TEST(Data, CopyOutNeedsTheExactLength)
{
    CRkData empty;
    char out[4] = {};
    EXPECT_EQ(empty.CopyOut(out, 0), 1);
    CRkData data("abcd", 4);
    EXPECT_EQ(data.CopyOut(out, 3), 1);
    EXPECT_EQ(data.CopyOut(nullptr, 4), 1);
    EXPECT_EQ(data.CopyOut(out, 4), 0);
    EXPECT_EQ(std::memcmp(out, "abcd", 4), 0);
}

TEST_F(Record, DataBodyLayout)
{
    CRkData data("\xAA\xBB", 2);
    CMemBuffer buffer;
    ASSERT_EQ(WriteToBuffer(&data, buffer), 0);
    const auto bytes = Bytes(buffer);
    ASSERT_EQ(bytes.size(), 12u + 10u + 12u);
    const std::vector<uint8_t> body(bytes.begin() + 12, bytes.begin() + 22);
    EXPECT_EQ(body, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 2, 0xAA, 0xBB}));
}

bool FakeSystemColors(uint32_t index, uint8_t& r, uint8_t& g, uint8_t& b)
{
    switch (index) {
    case kSysColorWindowText:
        r = 10;
        g = 20;
        b = 255;
        return true;
    case kSysColorWindow:
        r = 200;
        g = 100;
        b = 0;
        return true;
    case kSysColorSelection:
        r = 0;
        g = 0;
        b = 100;
        return true;
    default:
        return false;
    }
}

TEST(Color, EqualityHashMidpointAndSystemColors)
{
    CRkColor black;
    EXPECT_EQ(black, CRkColor(0, 0, 0));
    const CRkColor a(0x12, 0x34, 0x56);
    EXPECT_EQ(a.Hash(), 0x00123456u);
    const CRkColor same = CRkColor::Midpoint(a, a);
    EXPECT_TRUE(a.IsEqual(&same));
    CRkString notColor(u"x");
    EXPECT_FALSE(a.IsEqual(&notColor));
    EXPECT_NE(a, black);
    // a + (b - a) / 2 with integer division, in both directions.
    const CRkColor mid = CRkColor::Midpoint(CRkColor(10, 0, 255), CRkColor(5, 3, 0));
    EXPECT_EQ(mid, CRkColor(8, 1, 128));

    SetSystemColorProvider(FakeSystemColors);
    EXPECT_EQ(CRkColor(kSysColorWindowText), CRkColor(10, 20, 255));
    // 9 parts window, 1 part text: background / 10 * 9 + text / 10.
    EXPECT_EQ(CRkColor(kSysColorWindowTint), CRkColor(180 + 1, 90 + 2, 0 + 25));
    EXPECT_EQ(CRkColor(kSysColorSelectionTint), CRkColor(180, 90, 10));
    EXPECT_EQ(CRkColor(kSysColorLightGray), CRkColor(192, 192, 192));
    EXPECT_EQ(CRkColor(uint32_t(99)), black);
    SetSystemColorProvider(nullptr);
}

TEST_F(Record, ColorBodyLayout)
{
    CRkColor color(1, 2, 3);
    CMemBuffer buffer;
    ASSERT_EQ(WriteToBuffer(&color, buffer), 0);
    const auto bytes = Bytes(buffer);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 12, bytes.begin() + 20),
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 1, 2, 3}));
}

} // namespace
