#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "book/Compressor.h"
#include "framework/core/MemBuffer.h"

namespace {

std::string OrdinaryText(size_t n)
{
    static const char* words[] = {"the ", "reader ", "turns ", "a ", "page ", "of ", "\\b", "book\\b ", "\n\n"};
    std::string text;
    for (size_t i = 0; text.size() < n; ++i)
        text += words[(i * 7 + i / 3) % 9];
    text.resize(n);
    return text;
}

TEST(CompressRecord, FullChunkRoundTripsThroughZlib)
{
    const std::string chunk = OrdinaryText(8192);
    std::vector<uint8_t> out(8200);
    const uint32_t size = CompressRecord(chunk.data(), 8192, out.data(), 8192);
    ASSERT_GT(size, 2u);
    EXPECT_LT(size, 4096u);
    EXPECT_EQ(out[0], 0x78); // zlib header, no extra wrapping

    std::vector<uint8_t> back(8192);
    uLongf length = back.size();
    ASSERT_EQ(uncompress(back.data(), &length, out.data(), size), Z_OK);
    ASSERT_EQ(length, 8192u);
    EXPECT_EQ(std::memcmp(back.data(), chunk.data(), 8192), 0);

    // No state between chunks: the same chunk gives the same record.
    std::vector<uint8_t> again(8200);
    ASSERT_EQ(CompressRecord(chunk.data(), 8192, again.data(), 8192), size);
    EXPECT_EQ(std::memcmp(again.data(), out.data(), size), 0);
}

TEST(CompressRecord, IncompressibleChunkIsReportedAsZero)
{
    std::mt19937 random(7);
    std::vector<uint8_t> noise(8192);
    for (auto& b : noise)
        b = static_cast<uint8_t>(random());
    std::vector<uint8_t> out(8200, 0xAA);
    EXPECT_EQ(CompressRecord(noise.data(), 8192, out.data(), 8192), 0u);
}

// The reused deflate state gives exactly what a fresh `compress` gives, for
// every length and kind of text, also right after a failure, and on
// several threads at once.
TEST(CompressRecord, SameBytesAsAFreshCompress)
{
    std::mt19937 random(7);
    auto check = [](const std::string& text) {
        std::vector<uint8_t> expected(compressBound(uLong(text.size())));
        uLongf expectedSize = uLongf(expected.size());
        ASSERT_EQ(
            compress(expected.data(), &expectedSize, reinterpret_cast<const Bytef*>(text.data()), uLong(text.size())),
            Z_OK);
        std::vector<uint8_t> out(8192);
        const uint32_t size = CompressRecord(text.data(), uint32_t(text.size()), out.data(), 8192);
        ASSERT_EQ(size, expectedSize) << text.size();
        EXPECT_EQ(0, std::memcmp(out.data(), expected.data(), size));
    };
    for (size_t n : {size_t(0), size_t(1), size_t(100), size_t(5000), size_t(8192)})
        check(OrdinaryText(n));
    std::vector<uint8_t> out(8192);
    for (int round = 0; round < 20; ++round) {
        // Half-random text compresses; pure noise does not fit and fails.
        std::string text = OrdinaryText(1 + random() % 8192);
        for (size_t k = 0; k < text.size() / 3; ++k)
            text[random() % text.size()] = char(random());
        check(text);
        std::string noise(8192, '\0');
        for (char& c : noise)
            c = char(random());
        EXPECT_EQ(CompressRecord(noise.data(), 8192, out.data(), 8192), 0u);
    }
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&check, t] {
            for (size_t n = 1; n < 8192; n += 997 + t)
                check(OrdinaryText(n));
        });
    for (std::thread& thread : threads)
        thread.join();
}

TEST(ZLibCompressor, RawFailureLeavesLengthAlone)
{
    CZLibCompressor compressor;
    const std::string text = OrdinaryText(1000);
    uint8_t tiny[4];
    uint32_t length = sizeof tiny;
    EXPECT_FALSE(compressor.Compress(text.data(), 1000, tiny, length));
    EXPECT_EQ(length, 4u);
}

TEST(ZLibCompressor, BufferFormAppendsLengthAndUncompressorReverses)
{
    CMemBuffer source;
    const std::string text = OrdinaryText(3000);
    source.Append(text.data(), 3000);
    CZLibCompressor compressor;
    CMemBuffer* packed = compressor.Compress(source);
    ASSERT_NE(packed, nullptr);
    const uint32_t n = packed->GetSize() - 4;
    const uint8_t* tail = packed->GetData() + n;
    EXPECT_EQ((uint32_t(tail[0]) << 24) | (tail[1] << 16) | (tail[2] << 8) | tail[3], n);

    CMemBuffer stream;
    stream.Append(packed->GetData(), n);
    packed->Release();
    CZLibUncompressor uncompressor;
    CMemBuffer* plain = uncompressor.Uncompress(stream, 8192);
    ASSERT_NE(plain, nullptr);
    ASSERT_EQ(plain->GetSize(), 3000u);
    EXPECT_EQ(std::memcmp(plain->GetData(), text.data(), 3000), 0);
    plain->Release();
    // Too small a limit, and damaged data, give nothing.
    EXPECT_EQ(uncompressor.Uncompress(stream, 100), nullptr);
    stream.GetData()[5] ^= 0xFF;
    EXPECT_EQ(uncompressor.Uncompress(stream, 8192), nullptr);

    CMemBuffer tooLarge;
    tooLarge.SetSize(8193, true);
    EXPECT_EQ(compressor.Compress(tooLarge), nullptr);
}

// The reader's decompression tells an overlong record from a damaged one,
// and takes a record only as one whole stream with nothing after it.
TEST(InflateRecord, TellsTooLongFromDamaged)
{
    const std::string text = OrdinaryText(5000);
    std::vector<uint8_t> packed(8200);
    const uint32_t size = CompressRecord(text.data(), 5000, packed.data(), 8192);
    ASSERT_GT(size, 0u);
    packed.resize(size);

    std::vector<uint8_t> out;
    ASSERT_EQ(InflateRecord(packed.data(), packed.size(), 8192, out), InflateResult::Ok);
    EXPECT_EQ(std::string(out.begin(), out.end()), text);
    EXPECT_EQ(InflateRecord(packed.data(), packed.size(), 5000, out), InflateResult::Ok);
    EXPECT_EQ(InflateRecord(packed.data(), packed.size(), 4999, out), InflateResult::TooLong);

    EXPECT_EQ(InflateRecord(packed.data(), packed.size() - 1, 8192, out), InflateResult::Corrupt);
    std::vector<uint8_t> trailing = packed;
    trailing.push_back(0);
    EXPECT_EQ(InflateRecord(trailing.data(), trailing.size(), 8192, out), InflateResult::Corrupt);
    std::vector<uint8_t> damaged = packed;
    damaged[0] ^= 0xFF;
    EXPECT_EQ(InflateRecord(damaged.data(), damaged.size(), 8192, out), InflateResult::Corrupt);
}

} // namespace
