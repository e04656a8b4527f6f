#include "markup/RecordSplit.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

#include "framework/core/MemBuffer.h"
#include "tests/markup/ReportCapture.h"

namespace {

const uint8_t* Bytes(const std::string& s)
{
    return reinterpret_cast<const uint8_t*>(s.data());
}

uint32_t Break(const std::string& s)
{
    return FindRecordBreak(Bytes(s), static_cast<uint32_t>(s.size()));
}

// Words separated by spaces, with a line end now and then.
std::string Prose(size_t length)
{
    static const char* const words[] = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta"};
    std::string text;
    for (size_t i = 0; text.size() < length; ++i) {
        text += words[(i * 7 + i / 3) % 8];
        text += (i % 13 == 12) ? '\n' : ' ';
    }
    text.resize(length);
    return text;
}

struct Split {
    uint32_t result = 0;
    CMemBuffer buffer;
    CMemBuffer ends{4096};
    CMemBuffer sizes{4096};

    explicit Split(const std::string& text)
    {
        ends.SetElementSize(4);
        sizes.SetElementSize(4);
        result = SplitTextRecords(Bytes(text), static_cast<uint32_t>(text.size()), buffer, ends, sizes);
    }
};

// Decompresses every record and checks the pieces give back the text.
void ExpectRecordsHold(const Split& split, const std::string& text)
{
    ASSERT_EQ(split.ends.GetCount(), split.sizes.GetCount());
    ASSERT_GE(split.ends.GetCount(), 1u);
    EXPECT_EQ(split.ends.GetU32(0), 0u);
    EXPECT_EQ(split.sizes.GetU32(0), 0u);
    uint32_t offset = 0;
    for (uint32_t i = 1; i < split.ends.GetCount(); ++i) {
        const uint32_t start = split.ends.GetU32(i - 1);
        const uint32_t end = split.ends.GetU32(i);
        const uint32_t stored = split.sizes.GetU32(i);
        ASSERT_LT(start, end);
        ASSERT_LE(end - start, kTextRecordLimit);
        ASSERT_LE(stored, kTextRecordLimit);
        std::string out(kTextRecordLimit, '\0');
        uLongf outLength = kTextRecordLimit;
        ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &outLength, split.buffer.GetData() + offset, stored),
                  Z_OK);
        out.resize(outLength);
        EXPECT_EQ(out, text.substr(start, end - start)) << "record " << i;
        offset += stored;
    }
    EXPECT_EQ(offset, split.buffer.GetSize());
    EXPECT_EQ(split.ends.GetU32(split.ends.GetCount() - 1), text.size());
}

TEST(FindRecordBreak, EndsBeforeABackslashRunNearTheEnd)
{
    std::string chunk(8192, 'x');
    chunk[100] = ' ';
    chunk[8192 - 50] = '\\';
    EXPECT_EQ(Break(chunk), 8192u - 50);
    chunk[8192 - 51] = '\\';
    chunk[8192 - 52] = '\\';
    EXPECT_EQ(Break(chunk), 8192u - 52);
    // The 91st byte from the end is still looked at, the 92nd no longer.
    std::string far(8192, 'x');
    far[100] = ' ';
    far[8192 - 1 - 90] = '\\';
    EXPECT_EQ(Break(far), 8192u - 91);
    far[8192 - 1 - 90] = 'x';
    far[8192 - 1 - 91] = '\\';
    EXPECT_EQ(Break(far), 101u);
}

TEST(FindRecordBreak, FallsBackToWhiteSpace)
{
    // A backslash as the last byte does not count.
    std::string chunk(200, 'x');
    chunk[120] = '\t';
    chunk[199] = '\\';
    EXPECT_EQ(Break(chunk), 121u);
    // A line end stops the look for a backslash and is itself white space.
    EXPECT_EQ(Break("a \\b\nxyz"), 5u);
    EXPECT_EQ(Break("a \\b\rxyz"), 5u);
    EXPECT_EQ(Break("ab cd\fef\vgh"), 9u);
    EXPECT_EQ(Break("words end "), 10u);
    EXPECT_EQ(Break("nothing"), 0u);
    EXPECT_EQ(Break(""), 0u);
    // A run that reaches the start gives no place to break.
    EXPECT_EQ(Break("\\\\\\x"), 0u);
}

TEST(SplitTextRecords, EmptyTextGivesNoRecords)
{
    Split split("");
    EXPECT_EQ(split.result, 0u);
    EXPECT_EQ(split.ends.GetCount(), 1u);
    EXPECT_EQ(split.sizes.GetCount(), 1u);
    EXPECT_EQ(split.buffer.GetSize(), 0u);
}

TEST(SplitTextRecords, FullLastRecordIsNotSearchedForABreak)
{
    std::string text = Prose(8192);
    text[8150] = '\\';
    Split split(text);
    ASSERT_EQ(split.result, 0u);
    ASSERT_EQ(split.ends.GetCount(), 2u);
    EXPECT_EQ(split.ends.GetU32(1), 8192u);
    ExpectRecordsHold(split, text);
}

TEST(SplitTextRecords, OneByteMoreIsCutAtTheBreak)
{
    std::string text = Prose(8193);
    text[8150] = '\\';
    text[8151] = 'B';
    for (size_t i = 8100; i < 8193; ++i)
        if (text[i] == '\n')
            text[i] = ' ';
    Split split(text);
    ASSERT_EQ(split.result, 0u);
    ASSERT_EQ(split.ends.GetCount(), 3u);
    EXPECT_EQ(split.ends.GetU32(1), 8150u);
    ExpectRecordsHold(split, text);
}

TEST(SplitTextRecords, LongTextRoundTrips)
{
    std::string text = Prose(100000);
    for (size_t i = 500; i < text.size(); i += 977)
        text.replace(i, 3, "\\i ");
    Split split(text);
    ASSERT_EQ(split.result, 0u);
    EXPECT_GE(split.ends.GetCount(), 14u);
    ExpectRecordsHold(split, text);
    EXPECT_LE(split.buffer.GetSize(), CompressedTextCapacity(static_cast<uint32_t>(text.size())));
}

TEST(SplitTextRecords, ChunkWithoutBreakKeepsAllBytes)
{
    const std::string text(20000, 'x');
    Split split(text);
    ASSERT_EQ(split.result, 0u);
    ASSERT_EQ(split.ends.GetCount(), 4u);
    EXPECT_EQ(split.ends.GetU32(1), 8192u);
    EXPECT_EQ(split.ends.GetU32(2), 16384u);
    ExpectRecordsHold(split, text);
}

TEST(SplitTextRecords, IncompressibleChunkIsAnError)
{
    std::mt19937 random(7);
    std::string text(8192, '\0');
    for (char& c : text)
        c = static_cast<char>(1 + random() % 255);
    ReportCapture capture;
    Split split(text);
    EXPECT_NE(split.result, 0u);
    ASSERT_EQ(capture.errors().size(), 1u);
    EXPECT_EQ(capture.errors()[0],
              "The text beginning \"" + text.substr(0, 40) + "\" does not compress into 8192 bytes.");
}

TEST(CompressTextRecords, SizesWithoutEnds)
{
    const std::string text = Prose(20000);
    CMemBuffer buffer;
    CMemBuffer sizes(64);
    sizes.SetElementSize(4);
    ASSERT_EQ(CompressTextRecords(Bytes(text), 20000, buffer, nullptr, sizes), 0u);
    ASSERT_EQ(sizes.GetCount(), 3u);
    EXPECT_EQ(sizes.GetU32(0) + sizes.GetU32(1) + sizes.GetU32(2), buffer.GetSize());
}

} // namespace
