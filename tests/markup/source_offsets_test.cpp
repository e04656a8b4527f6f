// Every byte of the prepared text traced back to the byte of the source it
// came from, over sources made of pieces whose preparation is known.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "framework/core/MemBuffer.h"
#include "markup/SourcePrep.h"
#include "tests/markup/ReportCapture.h"

namespace {

struct Piece {
    std::string given;
    // For each prepared byte of the piece: its offset within `given`.
    std::vector<uint32_t> from;
};

// Pieces that prepare the same wherever they stand (a lone CR is never
// followed by a piece beginning with LF).
const Piece kPieces[] = {
    {"ab", {0, 1}},  {std::string(1, '\0'), {}}, {"\x01\x08", {}}, {"\r\n", {1}}, {"\rz", {0, 1}}, {"\t", {0, 0, 0, 0}},
    {"\\a065", {0}}, {"\\\\", {0, 1}},           {"q\n", {0, 1}},  {"\xE9", {0}}, {"\\e", {0, 1}},
};

TEST(PreparedOffsets, EveryPreparedByteLeadsBackToItsSourceByte)
{
    ReportCapture capture(true); // batch: the preparation's notes are not the matter here
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        std::string source;
        std::vector<uint32_t> expected;
        const int count = int(random() % 40);
        for (int k = 0; k < count; ++k) {
            const Piece& piece = kPieces[random() % (sizeof kPieces / sizeof kPieces[0])];
            for (uint32_t at : piece.from)
                expected.push_back(uint32_t(source.size()) + at);
            source += piece.given;
        }
        // No escape is resolved in the last four bytes: end in plain text.
        for (int k = 0; k < 5; ++k) {
            expected.push_back(uint32_t(source.size()));
            source += '.';
        }
        CMemBuffer buffer;
        buffer.Append(source.data(), uint32_t(source.size()));
        CPreparedOffsets offsets;
        PrepareSourceTextWithOffsets(buffer, offsets);
        ASSERT_EQ(buffer.GetSize(), expected.size()) << round;
        for (uint32_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(offsets.GivenOffset(i), expected[i]) << "round " << round << ", byte " << i;
    }
}

TEST(PreparedOffsets, TheMessagesOfThePreparationPointAtTheirBytes)
{
    ReportCapture capture;
    // The tab comes after a removed CR and NUL: its place is in the source
    // as given, not in the first pass's result.
    const char bytes[] = "a\r\n\0\x80 \t\x8D";
    const std::string source(bytes, sizeof bytes - 1);
    CMemBuffer buffer;
    buffer.Append(source.data(), uint32_t(source.size()));
    struct PlaceHook {
        static int32_t Warning(const char*, va_list)
        {
            Places().push_back(CurrentReportPlace().offset);
            return 0;
        }
        static std::vector<uint64_t>& Places()
        {
            static std::vector<uint64_t> places;
            return places;
        }
    };
    PlaceHook::Places().clear();
    SetWarningHook(&PlaceHook::Warning);
    PrepareSourceText(buffer);
    // Non-ASCII and the euro at 0x80 (offset 4), unmappable at 7, tab at 6.
    EXPECT_EQ(PlaceHook::Places(), (std::vector<uint64_t>{4, 4, 7, 6}));
}

} // namespace
