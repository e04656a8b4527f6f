#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/core/RkResources.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> Resource(uint32_t id)
{
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!GetResourceData(id, data, size))
        return {};
    return std::vector<uint8_t>(data, data + size);
}

uint32_t BigEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

TEST(Resources, FilesAreFoundByNumberWithTheirExactBytes)
{
    // The test tables are linked from a static library nothing refers to.
    std::vector<uint8_t> bytes(256);
    for (int i = 0; i < 256; ++i)
        bytes[i] = uint8_t(i);
    EXPECT_EQ(Resource(64001), bytes);
    EXPECT_EQ(Resource(64002), ReadFile(VX_TEST_DATA_DIR "/odd.bin"));

    // An empty file is a resource of size 0, which is not the same as none.
    const uint8_t* data = nullptr;
    uint32_t size = 99;
    ASSERT_TRUE(GetResourceData(64000, data, size));
    EXPECT_EQ(size, 0u);
    EXPECT_NE(data, nullptr);
}

TEST(Resources, AnUnknownNumberIsNotFoundAndLeavesTheOutputsAlone)
{
    const uint8_t marker = 7;
    const uint8_t* data = &marker;
    uint32_t size = 5;
    for (uint32_t id : {0u, 10002u, 10006u, 63999u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(GetResourceData(id, data, size)) << id;
        EXPECT_EQ(data, &marker);
        EXPECT_EQ(size, 5u);
    }
}

TEST(Resources, RegisteringATableTwiceKeepsOneCopy)
{
    static const uint8_t kByte[] = {42};
    static const CRkResourceEntry kEntry[] = {{64100, kByte, 1}};
    static CRkResourceTable table{kEntry, 1, nullptr};
    RegisterResourceTable(table);
    RegisterResourceTable(table); // must not link the table to itself
    EXPECT_EQ(Resource(64100), std::vector<uint8_t>{42});
    EXPECT_EQ(Resource(64001).size(), 256u); // the other tables are still reached
    EXPECT_TRUE(Resource(64101).empty());
}

} // namespace
