#include <gtest/gtest.h>

#include <png.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/core/RkResources.h"
#include "framework/ui/resources/UiResourceIds.h"

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

struct Icon {
    uint32_t id;
    const char* file;
};
constexpr Icon kIcons[] = {
    {kResourceLogIconError, "error.png"},
    {kResourceLogIconWarning, "warning.png"},
    {kResourceLogIconStatus, "status.png"},
};

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

TEST(LogIcons, EachIconIsTheFileInTheTree)
{
    for (const Icon& icon : kIcons) {
        std::vector<uint8_t> file = ReadFile(std::string(VX_UI_RESOURCES_DIR "/") + icon.file);
        ASSERT_FALSE(file.empty()) << icon.file;
        EXPECT_EQ(Resource(icon.id), file) << icon.file;
    }
}

TEST(LogIcons, AreSixteenBySixteenRgbaPngFiles)
{
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Icon& icon : kIcons) {
        std::vector<uint8_t> png = Resource(icon.id);
        ASSERT_GE(png.size(), 33u) << icon.file;
        EXPECT_TRUE(std::equal(kSignature, kSignature + 8, png.begin())) << icon.file;
        // The first chunk: IHDR of 13 bytes.
        EXPECT_EQ(BigEndian32(&png[8]), 13u);
        EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
        EXPECT_EQ(BigEndian32(&png[16]), 16u) << icon.file; // width
        EXPECT_EQ(BigEndian32(&png[20]), 16u) << icon.file; // height
        EXPECT_EQ(png[24], 8) << icon.file;                 // bit depth
        EXPECT_EQ(png[25], 6) << icon.file;                 // colour type: RGBA
    }
}

// Decoded, the pictures tell the levels apart: transparent corners, and
// a red, a yellow and a blue body.
TEST(LogIcons, DecodeToPicturesThatTellTheLevelsApart)
{
    struct Mean {
        double r = 0, g = 0, b = 0;
    };
    std::vector<Mean> means;
    for (const Icon& icon : kIcons) {
        std::vector<uint8_t> png = Resource(icon.id);
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size())) << icon.file;
        image.format = PNG_FORMAT_RGBA;
        std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
        ASSERT_EQ(image.width, 16u);
        ASSERT_EQ(image.height, 16u);

        auto alpha = [&](int x, int y) { return pixels[(y * 16 + x) * 4 + 3]; };
        EXPECT_EQ(alpha(0, 0), 0) << icon.file;
        EXPECT_EQ(alpha(15, 0), 0) << icon.file;
        EXPECT_EQ(alpha(8, 8), 255) << icon.file;
        Mean mean;
        int opaque = 0;
        for (int i = 0; i < 256; ++i) {
            if (pixels[i * 4 + 3] < 255)
                continue;
            mean.r += pixels[i * 4];
            mean.g += pixels[i * 4 + 1];
            mean.b += pixels[i * 4 + 2];
            ++opaque;
        }
        ASSERT_GT(opaque, 80) << icon.file;
        mean.r /= opaque;
        mean.g /= opaque;
        mean.b /= opaque;
        means.push_back(mean);
    }
    const Mean& error = means[0];
    const Mean& warning = means[1];
    const Mean& status = means[2];
    EXPECT_GT(error.r, 1.5 * error.g);
    EXPECT_GT(error.r, 1.5 * error.b);
    EXPECT_GT(warning.r, 1.5 * warning.b);
    EXPECT_GT(warning.g, 1.5 * warning.b);
    EXPECT_GT(status.b, 1.5 * status.r);
    EXPECT_GT(status.b, status.g);
}

} // namespace
