#include <gtest/gtest.h>

#include <cstring>

#include "framework/core/Crc32.h"

TEST(Crc32, CheckValue)
{
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32("", 0), 0u);
    // Piecewise updates of the raw register give the same result.
    uint32_t reg = Crc32Update(0xFFFFFFFFu, "1234", 4);
    reg = Crc32Update(reg, "56789", 5);
    EXPECT_EQ(~reg, 0xCBF43926u);
}

TEST(Crc32, HashObjectUpdatesResetsAndDigests)
{
    CCRC32Hash hash;
    hash.Update("12345", 5);
    for (const char* p = "6789"; *p; ++p)
        hash.Update(static_cast<uint8_t>(*p));
    EXPECT_EQ(hash.GetValue(), 0xCBF43926u);

    uint8_t digest[8] = {};
    uint32_t length = sizeof digest;
    hash.Digest(digest, length);
    EXPECT_EQ(length, 4u);
    uint32_t stored;
    std::memcpy(&stored, digest, 4);
    EXPECT_EQ(stored, 0xCBF43926u);
    EXPECT_TRUE(hash.Verify(digest, 4));
    EXPECT_FALSE(hash.Verify(digest, 3));

    uint32_t tooSmall = 3;
    hash.Digest(digest, tooSmall);
    EXPECT_EQ(tooSmall, 0u);

    hash.Reset();
    EXPECT_EQ(hash.GetValue(), 0u);
    EXPECT_FALSE(hash.Verify(digest, 4));
    IHash& base = hash;
    base.Update("123456789", 9);
    EXPECT_TRUE(base.Verify(digest, 4));
}
