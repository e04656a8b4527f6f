#include <filesystem>

#include <gtest/gtest.h>

#include "PngTestImages.h"
#include "ReportCapture.h"
#include "TempDir.h"
#include "book/ImageProbe.h"
#include "framework/core/RkString.h"

namespace {

class ImageProbeTest : public ::testing::Test {
protected:
    TempDir dir;
    CRkString directory{dir.Path().string().c_str(), kEncodingDeviceLatin};
    std::string Shown(const std::string& name) const { return dir.Path().string() + "/" + name; }

    // Probes in the given pass, with the size preset to 99 x 77.
    bool Probe(const std::string& name, bool smallFontPass = true, bool silent = false)
    {
        width = 99;
        height = 77;
        return ProbeImage(directory, name, width, height, MessagePass{smallFontPass, silent});
    }

    uint16_t width = 0;
    uint16_t height = 0;
};

TEST_F(ImageProbeTest, PaletteAndGrayscaleGiveTheirSizeWithAnyCaseOfExtension)
{
    ReportCapture capture;
    WriteBytes(dir.File("pic.PNG"), EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 300, 17)));
    EXPECT_FALSE(Probe("pic.PNG"));
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 17);

    WriteBytes(dir.File("gray.png"), EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_GRAY, 4, 5, 6)));
    EXPECT_FALSE(Probe("gray.png", false));
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 6);
    EXPECT_TRUE(capture.Messages().empty());
}

TEST_F(ImageProbeTest, WrongExtensionIsRefusedBeforeTheFileIsLookedFor)
{
    ReportCapture capture;
    WriteBytes(dir.File("pic.gif"), EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 3, 3)));
    EXPECT_TRUE(Probe("pic.gif"));
    EXPECT_TRUE(Probe("nothing.gif"));
    EXPECT_TRUE(Probe("png"));
    EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"E:Image file \"pic.gif\" doesn't end with .png!",
                                                            "E:Image file \"nothing.gif\" doesn't end with .png!",
                                                            "E:Image file \"png\" doesn't end with .png!"}));
    EXPECT_EQ(width, 99); // left as it was
    EXPECT_EQ(height, 77);
}

TEST_F(ImageProbeTest, MissingFileDefaultsTo16By16)
{
    ReportCapture capture;
    EXPECT_TRUE(Probe("gone.png"));
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    EXPECT_EQ(capture.Messages(), std::vector<std::string>{"E:Image \"" + Shown("gone.png") + "\" doesn't exist!"});
}

TEST_F(ImageProbeTest, FolderOrNameWithNulIsNoImage)
{
    ReportCapture capture;
    std::filesystem::create_directory(dir.File("folder.png"));
    WriteBytes(dir.File("a"), EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 3, 3)));
    EXPECT_TRUE(Probe("folder.png"));
    EXPECT_TRUE(Probe(std::string("a\0.png", 6)));
    EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"E:Image \"" + Shown("folder.png") + "\" doesn't exist!",
                                                            "E:Image \"" + Shown("a") + "\" doesn't exist!"}));
}

TEST_F(ImageProbeTest, ExtensionAndPresenceAreLoggedOnlyInTheSmallFontPassButStillFail)
{
    ReportCapture capture;
    EXPECT_TRUE(Probe("a.gif", false));
    EXPECT_TRUE(Probe("gone.png", false));
    EXPECT_EQ(width, 16);
    EXPECT_TRUE(capture.Messages().empty());
}

TEST_F(ImageProbeTest, HeaderMessagesInEveryPass)
{
    ReportCapture capture;
    const std::string good = EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 3, 3));
    WriteBytes(dir.File("empty.png"), "");
    WriteBytes(dir.File("sig.png"), "GIF89a not a png at all, long enough");
    std::string noHeader = good;
    noHeader.replace(12, 4, "IHDX");
    WriteBytes(dir.File("nohdr.png"), noHeader);
    WriteBytes(dir.File("short.png"), good.substr(0, 5));
    WriteBytes(dir.File("cut.png"), good.substr(0, 20)); // header present, colour type missing
    WriteBytes(dir.File("rgb.png"), EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_RGB, 8, 3, 3)));
    WriteBytes(dir.File("ga.png"), EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_GRAY_ALPHA, 8, 3, 3)));
    WriteBytes(dir.File("rgba.png"), EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_RGB_ALPHA, 8, 3, 3)));

    for (const char* name :
         {"empty.png", "sig.png", "nohdr.png", "short.png", "cut.png", "rgb.png", "ga.png", "rgba.png"}) {
        EXPECT_TRUE(Probe(name, false)) << name;
        EXPECT_EQ(width, 0) << name;
        EXPECT_EQ(height, 0) << name;
    }
    EXPECT_EQ(capture.Messages(), (std::vector<std::string>{
                                      "E:PNG file " + Shown("empty.png") + " appears to be empty\n",
                                      "E:Bad PNG signature for " + Shown("sig.png"),
                                      "E:Couldn't find PNG header for " + Shown("nohdr.png"),
                                      "E:Bad PNG signature for " + Shown("short.png"),
                                      "E:Unrecognized PNG color type for " + Shown("cut.png"),
                                      "E:Unrecognized PNG color type for " + Shown("rgb.png"),
                                      "E:Unrecognized PNG color type for " + Shown("ga.png"),
                                      "E:Unrecognized PNG color type for " + Shown("rgba.png"),
                                  }));
}

TEST_F(ImageProbeTest, UnreadableFileCannotBeOpened)
{
    WriteBytes(dir.File("locked.png"), EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 3, 3)));
    std::filesystem::permissions(dir.File("locked.png"), std::filesystem::perms::none);
    if (std::ifstream(dir.File("locked.png")).good())
        GTEST_SKIP() << "running with permission to read any file";
    ReportCapture capture;
    EXPECT_TRUE(Probe("locked.png"));
    EXPECT_EQ(capture.Messages(), std::vector<std::string>{"E:Failed to open PNG file " + Shown("locked.png") + "\n"});
}

TEST_F(ImageProbeTest, SilentProbeLogsNothing)
{
    ReportCapture capture;
    WriteBytes(dir.File("rgb.png"), EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_RGB, 8, 3, 3)));
    EXPECT_TRUE(Probe("a.gif", true, true));
    EXPECT_TRUE(Probe("gone.png", true, true));
    EXPECT_TRUE(Probe("rgb.png", true, true));
    EXPECT_TRUE(capture.Messages().empty());
}

TEST_F(ImageProbeTest, SizeIsTheLow16BitsOfTheHeader)
{
    ReportCapture capture;
    std::string bytes = EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 3, 3));
    const uint8_t size[8] = {0x00, 0x01, 0x12, 0x34, 0x7F, 0x00, 0x00, 0x05};
    bytes.replace(16, 8, reinterpret_cast<const char*>(size), 8);
    WriteBytes(dir.File("wide.png"), bytes);
    EXPECT_FALSE(Probe("wide.png"));
    EXPECT_EQ(width, 0x1234);
    EXPECT_EQ(height, 5);
}

TEST(ImagePath, JoinsDirectoryAndNameWithSlash)
{
    const CRkString directory("/books/tale_img", kEncodingDeviceLatin);
    CRkString path;
    MakeImagePath(directory, "cover.png", path);
    EXPECT_STREQ(path.GetNarrow(), "/books/tale_img/cover.png");
    EXPECT_EQ(MakeImagePathBytes(directory, "caf\xE9.png"), "/books/tale_img/caf\xE9.png");
}

} // namespace
