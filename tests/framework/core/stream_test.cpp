#include <gtest/gtest.h>

#include <cstring>

#include "framework/core/MemBuffer.h"
#include "framework/core/RkStream.h"

namespace {

CMemBuffer MakeBuffer(std::initializer_list<uint8_t> bytes)
{
    CMemBuffer buffer;
    for (uint8_t b : bytes)
        buffer.Append(&b, 1);
    return buffer;
}

TEST(MemStream, OpenCloseStateErrors)
{
    CMemBuffer buffer;
    CRkMemStream stream(buffer, StreamMode::Write);
    EXPECT_EQ(stream.WriteU32(1), 52);
    EXPECT_EQ(stream.Close(), 52);
    ASSERT_EQ(stream.Open(), 0);
    EXPECT_EQ(stream.Open(), 51);
    EXPECT_EQ(stream.WriteU32(1), 0);
    EXPECT_EQ(stream.Close(), 0);
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_EQ(stream.WriteU8(1), 52);
}

TEST(MemStream, WrongDirectionGives50)
{
    CMemBuffer buffer = MakeBuffer({1, 2, 3, 4});
    CRkMemStream writer(buffer, StreamMode::Write);
    ASSERT_EQ(writer.Open(), 0);
    uint32_t value = 0, got = 7;
    uint8_t bytes[4];
    EXPECT_EQ(writer.ReadU32(value), 50);
    EXPECT_EQ(writer.ReadBytes(bytes, 4, got), 50);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(writer.DoRead(bytes, 4, got), 50);

    CRkMemStream reader(buffer, StreamMode::Read);
    ASSERT_EQ(reader.Open(), 0);
    EXPECT_EQ(reader.WriteU32(1), 50);
    EXPECT_EQ(reader.DoWrite(bytes, 1), 50);
    EXPECT_EQ(buffer.GetSize(), 4u);
}

TEST(MemStream, NullArgumentsGive1)
{
    CMemBuffer buffer = MakeBuffer({1});
    CRkMemStream reader(buffer, StreamMode::Read);
    ASSERT_EQ(reader.Open(), 0);
    uint32_t got = 0;
    EXPECT_EQ(reader.ReadBytes(nullptr, 1, got), 1);
    CRkMemStream writer(buffer, StreamMode::Write);
    ASSERT_EQ(writer.Open(), 0);
    EXPECT_EQ(writer.WriteBytes(nullptr, 1), 1);
    EXPECT_EQ(writer.WriteText(nullptr), 1);
}

TEST(MemStream, ShortReadsGive53AndKeepWhatWasThere)
{
    CMemBuffer buffer = MakeBuffer({1, 2, 3, 4});
    CRkMemStream stream(buffer, StreamMode::Read);
    ASSERT_EQ(stream.Open(), 0);
    uint8_t out[10] = {};
    uint32_t got = 0;
    EXPECT_EQ(stream.ReadBytes(out, 10, got), 53);
    EXPECT_EQ(got, 4u);
    EXPECT_EQ(out[3], 4);
    EXPECT_TRUE(stream.AtEnd());
    EXPECT_EQ(stream.ReadBytes(out, 1, got), 53);
    EXPECT_EQ(got, 0u);
    uint8_t b = 0xAA;
    EXPECT_EQ(stream.ReadU8(b), 53);
    EXPECT_EQ(b, 0xAA);
}

TEST(MemStream, NumberOrders)
{
    CMemBuffer buffer = MakeBuffer({1, 2, 0, 0, 1, 2, 0x7F});
    CRkMemStream stream(buffer, StreamMode::Read);
    ASSERT_EQ(stream.Open(), 0);
    uint16_t u16 = 0;
    uint32_t u32 = 0;
    uint8_t u8 = 0;
    EXPECT_EQ(stream.ReadU16(u16), 0);
    EXPECT_EQ(u16, 0x0201);
    EXPECT_EQ(stream.ReadU32(u32), 0);
    EXPECT_EQ(u32, 0x0102u);
    EXPECT_EQ(stream.ReadU8(u8), 0);
    EXPECT_EQ(u8, 0x7F);
    // A partial number is not assembled from the bytes that were there.
    u16 = 0x1234;
    EXPECT_EQ(stream.ReadU16(u16), 53);
    EXPECT_EQ(u16, 0x1234);

    CMemBuffer out;
    CRkMemStream writer(out, StreamMode::Write);
    ASSERT_EQ(writer.Open(), 0);
    EXPECT_EQ(writer.WriteU32(0x01020304), 0);
    EXPECT_EQ(writer.WriteU8(0xFE), 0);
    EXPECT_EQ(writer.WriteText("ab"), 0);
    const uint8_t expected[] = {1, 2, 3, 4, 0xFE, 'a', 'b'};
    ASSERT_EQ(out.GetSize(), sizeof expected);
    EXPECT_EQ(std::memcmp(out.GetData(), expected, sizeof expected), 0);
}

TEST(MemStream, PositionsMarkAndSkip)
{
    CMemBuffer buffer = MakeBuffer({10, 11, 12, 13, 14});
    CRkMemStream stream(buffer, StreamMode::Read);
    ASSERT_EQ(stream.Open(), 0);
    EXPECT_EQ(stream.Skip(2), 0);
    EXPECT_EQ(stream.Mark(), 0);
    uint8_t b = 0;
    ASSERT_EQ(stream.ReadU8(b), 0);
    EXPECT_EQ(b, 12);
    EXPECT_EQ(stream.ResetToMark(), 0);
    ASSERT_EQ(stream.ReadU8(b), 0);
    EXPECT_EQ(b, 12);
    // Positions past the end clamp to the size.
    EXPECT_EQ(stream.SetPosition(100), 0);
    uint32_t position = 0;
    stream.GetPosition(position);
    EXPECT_EQ(position, 5u);
    EXPECT_TRUE(stream.AtEnd());

    // In write mode the position is the size, and setting it truncates.
    CRkMemStream writer(buffer, StreamMode::Write);
    ASSERT_EQ(writer.Open(), 0);
    writer.GetPosition(position);
    EXPECT_EQ(position, 5u);
    EXPECT_EQ(writer.SetPosition(3), 0);
    EXPECT_EQ(buffer.GetSize(), 3u);
    EXPECT_EQ(writer.SetPosition(9), 0);
    EXPECT_EQ(buffer.GetSize(), 3u);
}

TEST(MemStream, ReadBufferNeverAllocatesBeyondTheData)
{
    CMemBuffer source = MakeBuffer({1, 2, 3});
    CRkMemStream stream(source, StreamMode::Read);
    ASSERT_EQ(stream.Open(), 0);
    CMemBuffer into;
    EXPECT_EQ(stream.ReadBuffer(into, 0xFFFFFFF0u), 53);
    EXPECT_EQ(into.GetSize(), 3u);
    EXPECT_LT(into.GetCapacity(), 1024u);
    EXPECT_EQ(stream.CheckAvailable(1), 53);
    EXPECT_EQ(stream.ReadBuffer(into, 0), 0);
    EXPECT_EQ(into.GetSize(), 0u);

    CMemBuffer exact = MakeBuffer({5, 6});
    CRkMemStream second(exact, StreamMode::Read);
    ASSERT_EQ(second.Open(), 0);
    EXPECT_EQ(second.CheckAvailable(2), 0);
    EXPECT_EQ(second.ReadBuffer(into, 2), 0);
    EXPECT_EQ(into.GetSize(), 2u);
    EXPECT_EQ(into.GetData()[1], 6);

    CRkMemStream writer(exact, StreamMode::Write);
    EXPECT_EQ(writer.CheckAvailable(1), 52);
    ASSERT_EQ(writer.Open(), 0);
    EXPECT_EQ(writer.ReadBuffer(into, 4), 50);
    EXPECT_EQ(writer.CheckAvailable(1), 50);
}

} // namespace
