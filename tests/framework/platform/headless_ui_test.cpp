// The headless UI platform on its own: metrics, painting, images, windows,
// focus, message boxes and file dialogs, with fake hosts in place of the
// framework.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <zlib.h>

#include "HeadlessFakes.h"
#include "framework/core/RkColor.h"
#include "framework/core/RkSystemImp.h"
#include "framework/platform/headless/HeadlessFont.h"
#include "framework/platform/headless/HeadlessImage.h"
#include "framework/platform/headless/HeadlessMenuBarImp.h"
#include "framework/platform/headless/HeadlessMetrics.h"
#include "framework/platform/headless/HeadlessSystemImp.h"
#include "framework/platform/headless/HeadlessUiPlatform.h"
#include "framework/ui/RkComponentKinds.h"
#include "framework/ui/RkDragImp.h"
#include "framework/ui/RkFileDialogImp.h"

namespace {

using Lines = std::vector<std::string>;

CRkString U(const char* utf8)
{
    return CRkTestDriver::FromUtf8(utf8);
}

Lines Texts(const std::vector<CRkString>& lines)
{
    Lines out;
    for (const CRkString& line : lines)
        out.push_back(CRkTestDriver::ToUtf8(line));
    return out;
}

struct HeadlessUi : ::testing::Test {
    void SetUp() override { CRkHeadlessDesktop::Get().Reset(); }

    // A control of `kind` with `text` (the framework sets the text after creating).
    std::unique_ptr<IRkComponentImp> Control(FakeHost& host, uint32_t kind, const char* text, IRkComponentImp& parent,
                                             uint32_t id = 0)
    {
        std::unique_ptr<IRkComponentImp> imp(platform.CreateComponent(host, kind, id, parent));
        imp->SetText(U(text));
        return imp;
    }

    std::string trace;
    CRkHeadlessUiPlatform platform;
    FakeHost windowHost{"w", trace};
    FakeHost host{"c", trace};
};

TEST_F(HeadlessUi, NaturalSizesFollowTheFixedMetrics)
{
    std::unique_ptr<IRkWindowImp> window(platform.CreateWindow(windowHost, U("W"), 0, nullptr));
    struct Case {
        uint32_t kind;
        const char* text;
        RkSize size;
    } cases[] = {
        {kKindPushButton, "OK", {32, 23}},
        {kKindPushButton, "Make Book...", {92, 23}},
        {kKindCheckbox, "Overwrite existing file", {158, 17}},
        {kKindRadioButton, "One", {38, 17}},
        {kKindLabel, "Publisher:", {60, 13}},
        {kKindLabel, "ab\r\ncdef\nx", {24, 39}}, // CR LF is one line end
        {kKindLabel, "a\r\rb", {6, 39}},         // two lone CRs are two
        {kKindLabel, "", {0, 13}},
        {kKindTextField, "", {240, 21}},
        {kKindTextField, "a much longer text than the field is wide", {240, 21}},
        {kKindProgressBar, "", {100, 16}},
        {kKindScrollbar, "", {16, 16}},
        {kKindPanel, "", {0, 0}},
        {kKindContainerPanel, "", {0, 0}},
    };
    for (const Case& c : cases) {
        auto imp = Control(host, c.kind, c.text, *window);
        EXPECT_EQ(imp->GetNaturalSize(0), c.size) << c.kind << " \"" << c.text << "\"";
    }
    // A surrogate pair is one character.
    auto label = Control(host, kKindLabel, "x\xF0\x9F\x98\x80y", *window);
    EXPECT_EQ(label->GetNaturalSize(0), (RkSize{18, 13}));
}

TEST_F(HeadlessUi, FontsZeroAndTwoShareTheMetrics)
{
    for (uint32_t number : {kFontWindow, kFontLogList}) {
        const IRkFontImp& font = platform.GetFont(number);
        EXPECT_EQ(font.GetAverageCharWidth(), 6);
        EXPECT_EQ(font.GetLineHeight(), 13);
        EXPECT_EQ(font.MeasureText(U("Hello!")), 36);
    }
    EXPECT_NE(&platform.GetFont(kFontWindow), &platform.GetFont(kFontLogList));
}

TEST_F(HeadlessUi, LabelsWrapAtSpacesToTheWidthAsked)
{
    EXPECT_EQ(Texts(HeadlessLabelLines(U("The quick brown fox"), 60)), (Lines{"The quick", "brown fox"}));
    // Exactly the width fits; one pixel less does not.
    EXPECT_EQ(Texts(HeadlessLabelLines(U("abc def"), 42)), (Lines{"abc def"}));
    EXPECT_EQ(Texts(HeadlessLabelLines(U("abc def"), 41)), (Lines{"abc", "def"}));
    // The spaces at a break are dropped; a word wider than the line stands alone.
    EXPECT_EQ(Texts(HeadlessLabelLines(U("a   verylongword b"), 30)), (Lines{"a", "verylongword", "b"}));
    // Line ends still break, and an empty line stays.
    EXPECT_EQ(Texts(HeadlessLabelLines(U("one two\r\n\r\nthree"), 24)), (Lines{"one", "two", "", "three"}));
    // Without a width nothing wraps.
    EXPECT_EQ(Texts(HeadlessLabelLines(U("The quick brown fox"), 0)), (Lines{"The quick brown fox"}));

    std::unique_ptr<IRkWindowImp> window(platform.CreateWindow(windowHost, U("W"), 0, nullptr));
    auto label = Control(host, kKindLabel, "The quick brown fox jumps", *window);
    EXPECT_EQ(label->GetNaturalSize(60), (RkSize{54, 39}));
    EXPECT_EQ(label->GetNaturalSize(0), (RkSize{150, 13}));
    // Other kinds do not wrap.
    auto button = Control(host, kKindPushButton, "The quick brown fox", *window);
    EXPECT_EQ(button->GetNaturalSize(30), (RkSize{134, 23}));
}

TEST_F(HeadlessUi, ControlsStartVisibleAtTheCreationSizeWithTheCreationText)
{
    std::unique_ptr<IRkWindowImp> window(platform.CreateWindow(windowHost, U("W"), 0, nullptr));
    std::unique_ptr<IRkComponentImp> button(platform.CreateComponent(host, kKindPushButton, 7, *window));
    std::unique_ptr<IRkComponentImp> field(platform.CreateComponent(host, kKindTextField, 8, *window));
    std::unique_ptr<IRkComponentImp> panel(platform.CreateComponent(host, kKindPanel, 9, *window));
    CRkString text;
    button->GetText(text);
    EXPECT_EQ(CRkTestDriver::ToUtf8(text), "Fnord.");
    field->GetText(text);
    EXPECT_EQ(CRkTestDriver::ToUtf8(text), "Fnord.");
    panel->GetText(text);
    EXPECT_EQ(CRkTestDriver::ToUtf8(text), "");
    EXPECT_EQ(button->GetBounds(), (RkRect{0, 0, 50, 50}));
    EXPECT_TRUE(button->IsVisible());
    EXPECT_TRUE(button->IsEnabled());
    EXPECT_FALSE(button->IsChecked());
    EXPECT_EQ(button->GetKind(), kKindPushButton);
    EXPECT_EQ(field->GetProperty(kPropBorder), 1);
    EXPECT_EQ(button->GetProperty(kPropDefaultButton), 0);
    // The window's tree, in creation order.
    auto* node = dynamic_cast<CRkHeadlessNode*>(window.get());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(CRkTestDriver::GetControls(node).size(), 3u);
    EXPECT_EQ(CRkTestDriver::FindControl(node, 8), dynamic_cast<CRkHeadlessNode*>(field.get()));
    field.reset();
    EXPECT_EQ(CRkTestDriver::FindControl(node, 8), nullptr);
    EXPECT_EQ(CRkTestDriver::GetControls(node).size(), 2u);
}

TEST_F(HeadlessUi, BoundsInTheWindowAddUpTheContainers)
{
    std::unique_ptr<IRkWindowImp> window(platform.CreateWindow(windowHost, U("W"), 0, nullptr));
    window->SetOuterBounds(RkRect{300, 200, 400, 300});
    std::unique_ptr<IRkComponentImp> outer(platform.CreateComponent(host, kKindContainerPanel, 1, *window));
    std::unique_ptr<IRkComponentImp> inner(platform.CreateComponent(host, kKindContainerPanel, 2, *outer));
    std::unique_ptr<IRkComponentImp> button(platform.CreateComponent(host, kKindPushButton, 3, *inner));
    outer->SetBounds(RkRect{10, 20, 200, 100});
    inner->SetBounds(RkRect{5, 6, 100, 50});
    button->SetBounds(RkRect{1, 2, 30, 23});
    auto* node = dynamic_cast<CRkHeadlessNode*>(button.get());
    EXPECT_EQ(node->GetBounds(), (RkRect{1, 2, 30, 23}));
    EXPECT_EQ(node->GetBoundsInRoot(), (RkRect{16, 28, 30, 23}));
}

TEST_F(HeadlessUi, RangesKeepTheirValueBetweenMinimumAndMaximum)
{
    std::unique_ptr<IRkWindowImp> window(platform.CreateWindow(windowHost, U("W"), 0, nullptr));
    std::unique_ptr<IRkComponentImp> bar(platform.CreateComponent(host, kKindProgressBar, 316, *window));
    bar->SetProperty(kPropMaximum, 100);
    bar->SetProperty(kPropValue, 150);
    EXPECT_EQ(bar->GetProperty(kPropValue), 100);
    bar->SetProperty(kPropValue, -5);
    EXPECT_EQ(bar->GetProperty(kPropValue), 0);
    bar->SetProperty(kPropValue, 66);
    bar->SetProperty(kPropMaximum, 50); // a smaller range takes the value with it
    EXPECT_EQ(bar->GetProperty(kPropValue), 50);
    // Other kinds keep what they are given.
    std::unique_ptr<IRkComponentImp> button(platform.CreateComponent(host, kKindPushButton, 1, *window));
    button->SetProperty(kPropValue, 150);
    EXPECT_EQ(button->GetProperty(kPropValue), 150);
}

TEST_F(HeadlessUi, PaintingRecordsADisplayList)
{
    std::unique_ptr<IRkWindowImp> window(platform.CreateWindow(windowHost, U("W"), 0, nullptr));
    window->SetOuterBounds(RkRect{100, 100, 300, 200});
    FakeHost panelHost("p", trace);
    std::unique_ptr<IRkComponentImp> panel(platform.CreateComponent(panelHost, kKindPanel, 312, *window));
    panel->SetBounds(RkRect{10, 20, 100, 50});
    std::unique_ptr<IRkComponentImp> button(platform.CreateComponent(host, kKindPushButton, 30, *window));
    button->SetText(U("Quit"));
    button->SetBounds(RkRect{150, 160, 44, 23});
    std::unique_ptr<IRkComponentImp> hidden(platform.CreateComponent(host, kKindLabel, 5, *window));
    hidden->SetVisible(false);
    std::unique_ptr<IRkImageImp> image(platform.CreateImage(nullptr, 0, 10005)); // not an image: null
    EXPECT_EQ(image, nullptr);

    windowHost.onPaint = [](IRkGraphicsContextImp& context) { context.Erase(RkRect{0, 0, 300, 200}); };
    panelHost.onPaint = [this](IRkGraphicsContextImp& context) {
        context.FillRect(RkRect{0, 0, 100, 22}, CRkColor(kSysColorSelection));
        context.DrawLine(0, 21, 100, 21, CRkColor(192, 192, 192));
        context.DrawText(22, 3, U("Hello!"), CRkColor(kSysColorSelectedText), platform.GetFont(kFontLogList));
    };
    CRkHeadlessSystemImp system; // installs the system colours
    CRkTestDriver driver(nullptr);
    auto* windowNode = dynamic_cast<CRkHeadlessWindowImp*>(window.get());
    EXPECT_EQ(DescribeDisplayList(driver.PaintWindow(windowNode)), (Lines{
                                                                       "Erase 0,0 300x200 rgb(255,255,255)",
                                                                       "Fill 10,20 100x22 rgb(0,120,215)",
                                                                       "Line 10,41 100x0 rgb(192,192,192)",
                                                                       "Text 32,23 36x13 rgb(255,255,255) \"Hello!\"",
                                                                       "Control 150,160 44x23 kind 0 id 30 \"Quit\"",
                                                                   }));
    // A component alone paints in its own coordinates, tagged with its id.
    std::vector<RkDrawOp> own = driver.Paint(dynamic_cast<CRkHeadlessNode*>(panel.get()));
    ASSERT_EQ(own.size(), 3u);
    EXPECT_EQ(own[0].rect, (RkRect{0, 0, 100, 22}));
    EXPECT_EQ(own[2].componentId, 312u);
    EXPECT_EQ(own[2].color, (RkRgb{255, 255, 255}));
}

TEST_F(HeadlessUi, RedrawWaitsForThePainterAndUpdatePaintsAtOnce)
{
    std::unique_ptr<IRkWindowImp> window(platform.CreateWindow(windowHost, U("W"), 0, nullptr));
    window->Show(true, false);
    FakeHost panelHost("p", trace);
    std::unique_ptr<IRkComponentImp> panel(platform.CreateComponent(panelHost, kKindPanel, 1, *window));
    panelHost.onPaint = [](IRkGraphicsContextImp& context) { context.Erase(RkRect{0, 0, 5, 5}); };
    auto* node = dynamic_cast<CRkHeadlessNode*>(panel.get());
    CRkTestDriver driver(nullptr);

    panel->Redraw();
    panel->Redraw();
    EXPECT_TRUE(node->IsDirty());
    EXPECT_EQ(node->GetRedrawRequests(), 2u);
    EXPECT_EQ(trace, "");
    EXPECT_EQ(driver.PaintDirty(), 1u);
    EXPECT_EQ(trace, "p.paint ");
    EXPECT_FALSE(node->IsDirty());
    EXPECT_EQ(driver.PaintDirty(), 0u);

    trace.clear();
    panel->Update();
    EXPECT_EQ(trace, "p.paint ");
    EXPECT_EQ(node->GetPaintCount(), 2u);
    EXPECT_EQ(DescribeDisplayList(node->GetLastPaint()), (Lines{"Erase 0,0 5x5 rgb(255,255,255)"}));

    // A hidden window's components wait until it shows.
    window->Show(false, false);
    panel->Redraw();
    EXPECT_EQ(driver.PaintDirty(), 0u);
    EXPECT_TRUE(node->IsDirty());
}

// A PNG file made here: signature, IHDR, one IDAT compressed with zlib, IEND.
std::vector<uint8_t> MakePng(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&png](const char* type, const std::vector<uint8_t>& data) {
        auto put32 = [&png](uint32_t v) {
            for (int shift = 24; shift >= 0; shift -= 8)
                png.push_back(uint8_t(v >> shift));
        };
        put32(uint32_t(data.size()));
        size_t start = png.size();
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), data.begin(), data.end());
        put32(uint32_t(crc32(0, png.data() + start, uInt(png.size() - start))));
    };
    std::vector<uint8_t> header = {uint8_t(width >> 24),
                                   uint8_t(width >> 16),
                                   uint8_t(width >> 8),
                                   uint8_t(width),
                                   uint8_t(height >> 24),
                                   uint8_t(height >> 16),
                                   uint8_t(height >> 8),
                                   uint8_t(height),
                                   8,
                                   2,
                                   0,
                                   0,
                                   0}; // 8-bit RGB
    chunk("IHDR", header);
    // Each row: filter 0, then red rising with x, green with y, blue 7.
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        for (uint32_t x = 0; x < width; ++x) {
            raw.push_back(uint8_t(x * 10));
            raw.push_back(uint8_t(y * 20));
            raw.push_back(7);
        }
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(size);
    EXPECT_EQ(compress(packed.data(), &size, raw.data(), uLong(raw.size())), Z_OK);
    packed.resize(size);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return png;
}

TEST_F(HeadlessUi, ImagesAreDecodedWithTheirRealSize)
{
    std::vector<uint8_t> png = MakePng(5, 3);
    std::unique_ptr<IRkImageImp> image(platform.CreateImage(png.data(), uint32_t(png.size()), 10004));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 5);
    EXPECT_EQ(image->GetHeight(), 3);
    EXPECT_EQ(image->GetResourceId(), 10004u);
    const uint8_t* pixel = static_cast<CRkHeadlessImageImp*>(image.get())->GetPixel(4, 2);
    ASSERT_NE(pixel, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(pixel, pixel + 4), (std::vector<uint8_t>{40, 40, 7, 255}));
    EXPECT_EQ(static_cast<CRkHeadlessImageImp*>(image.get())->GetPixel(5, 0), nullptr);

    // A palette picture from the examples: its size is the one in its header.
    std::filesystem::path root = std::filesystem::path(VX_TEST_DATA_DIR); // tests/framework/platform/data
    for (int up = 0; up < 4; ++up)
        root = root.parent_path();
    std::ifstream file(root / "examples" / "example_img" / "tide.png", std::ios::binary);
    std::vector<uint8_t> tide((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(tide.size(), 24u);
    std::unique_ptr<IRkImageImp> example(platform.CreateImage(tide.data(), uint32_t(tide.size()), 0));
    ASSERT_NE(example, nullptr);
    EXPECT_EQ(example->GetWidth(), (tide[16] << 24) | (tide[17] << 16) | (tide[18] << 8) | tide[19]);
    EXPECT_EQ(example->GetHeight(), (tide[20] << 24) | (tide[21] << 16) | (tide[22] << 8) | tide[23]);
}

TEST_F(HeadlessUi, BytesThatAreNoReadablePngGiveNoImage)
{
    std::vector<uint8_t> png = MakePng(4, 4);
    const uint8_t text[] = "just some text, not a picture";
    EXPECT_EQ(platform.CreateImage(text, sizeof text, 1), nullptr);
    EXPECT_EQ(platform.CreateImage(png.data(), 8, 1), nullptr);                         // the signature alone
    EXPECT_EQ(platform.CreateImage(png.data(), uint32_t(png.size()) - 30, 1), nullptr); // the data cut short
    std::vector<uint8_t> broken = png;
    broken[broken.size() - 20] ^= 0xFF; // the compressed data damaged
    EXPECT_EQ(platform.CreateImage(broken.data(), uint32_t(broken.size()), 1), nullptr);
}

TEST_F(HeadlessUi, MessageBoxesAnswerFromTheQueueAndAreRecorded)
{
    CRkHeadlessSystemImp system;
    CRkHeadlessDesktop& desktop = CRkHeadlessDesktop::Get();
    // Nobody answering: OK boxes say OK, OK/Cancel boxes Cancel.
    EXPECT_EQ(system.ShowMessageBox(U("Done."), U(""), kMessageBoxOK), kMessageBoxAnswerOK);
    EXPECT_EQ(system.ShowMessageBox(U("Overwrite?"), U(""), kMessageBoxOKCancel), kMessageBoxAnswerCancel);
    desktop.QueueMessageBoxAnswer(kMessageBoxAnswerOK);
    desktop.QueueMessageBoxAnswer(kMessageBoxAnswerCancel);
    desktop.QueueMessageBoxAnswer(kMessageBoxAnswerCancel);
    EXPECT_EQ(system.ShowMessageBox(U("A?"), U("Cap"), kMessageBoxOKCancel), kMessageBoxAnswerOK);
    // An OK-only box has no Cancel button: it uses the answer up and says OK.
    EXPECT_EQ(system.ShowMessageBox(U("B"), U(""), kMessageBoxOK), kMessageBoxAnswerOK);
    EXPECT_EQ(system.ShowMessageBox(U("C?"), U(""), kMessageBoxOKCancel), kMessageBoxAnswerCancel);
    EXPECT_EQ(desktop.GetQueuedMessageBoxAnswers(), 0u);

    const std::vector<RkMessageBoxRecord>& boxes = desktop.GetMessageBoxes();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(CRkTestDriver::ToUtf8(boxes[2].text), "A?");
    EXPECT_EQ(CRkTestDriver::ToUtf8(boxes[2].caption), "Cap");
    EXPECT_EQ(boxes[2].buttons, kMessageBoxOKCancel);
    EXPECT_EQ(boxes[2].answer, kMessageBoxAnswerOK);
    EXPECT_EQ(boxes[3].answer, kMessageBoxAnswerOK);
    desktop.Reset();
    EXPECT_TRUE(desktop.GetMessageBoxes().empty());
}

TEST_F(HeadlessUi, SystemServicesGiveTheHeadlessScreenAndColours)
{
    CRkHeadlessSystemImp system;
    int32_t x = -1, y = -1, width = 0, height = 0;
    system.GetScreenRect(x, y, width, height);
    EXPECT_EQ((RkRect{x, y, width, height}), (RkRect{0, 0, 1024, 768}));
    struct Case {
        uint32_t index;
        uint8_t r, g, b;
    } cases[] = {{0, 0, 0, 0},     {1, 255, 255, 255}, {2, 255, 255, 255},
                 {3, 0, 120, 215}, {6, 240, 240, 240}, {7, 160, 160, 160}};
    for (const Case& c : cases) {
        uint8_t r = 1, g = 1, b = 1;
        ASSERT_TRUE(system.GetSystemColor(c.index, r, g, b)) << c.index;
        EXPECT_EQ((RkRgb{r, g, b}), (RkRgb{c.r, c.g, c.b})) << c.index;
        CRkColor color(c.index); // the framework's colours are the same
        EXPECT_EQ((RkRgb{color.GetRed(), color.GetGreen(), color.GetBlue()}), (RkRgb{c.r, c.g, c.b})) << c.index;
    }
    uint8_t r, g, b;
    EXPECT_FALSE(system.GetSystemColor(4, r, g, b));
    EXPECT_FALSE(system.GetSystemColor(8, r, g, b));
}

TEST_F(HeadlessUi, FileDialogsAnswerFromTheQueueAndAreRecorded)
{
    CRkHeadlessDesktop& desktop = CRkHeadlessDesktop::Get();
    std::unique_ptr<IRkFileDialogImp> dialog(platform.CreateFileDialog());
    std::vector<RkFileFilter> filters = {{U("LML Files (*.lml)"), U("*.lml")}, {U("All Files (*.*)"), U("*.*")}};
    desktop.QueueFileDialogAnswer(U("/books/tale.lml"));
    desktop.QueueFileDialogCancel();
    CRkString path(u"left over");
    EXPECT_TRUE(dialog->Run(kFileDialogOpen, U("Open"), filters, 1, path));
    EXPECT_EQ(CRkTestDriver::ToUtf8(path), "/books/tale.lml");
    EXPECT_FALSE(dialog->Run(kFileDialogSave, U("Save"), {}, 0, path));
    EXPECT_TRUE(path.IsEmpty());
    EXPECT_FALSE(dialog->Run(kFileDialogOpen, U("Open"), filters, 0, path)); // nothing queued: cancelled

    const std::vector<RkFileDialogRecord>& shown = desktop.GetFileDialogs();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].kind, kFileDialogOpen);
    EXPECT_EQ(CRkTestDriver::ToUtf8(shown[0].title), "Open");
    ASSERT_EQ(shown[0].filters.size(), 2u);
    EXPECT_EQ(CRkTestDriver::ToUtf8(shown[0].filters[0].text), "LML Files (*.lml)");
    EXPECT_EQ(CRkTestDriver::ToUtf8(shown[0].filters[1].pattern), "*.*");
    EXPECT_EQ(shown[0].preselected, 1u);
    EXPECT_TRUE(shown[0].confirmed);
    EXPECT_EQ(shown[1].kind, kFileDialogSave);
    EXPECT_FALSE(shown[1].confirmed);
    EXPECT_FALSE(shown[2].confirmed);
}

TEST_F(HeadlessUi, DragTypesAreNumberedFromFileAsThree)
{
    EXPECT_EQ(platform.GetDrag().RegisterType(U("File")), 3u);
    EXPECT_EQ(platform.GetDrag().RegisterType(U("Text")), 4u);
    EXPECT_EQ(platform.GetDrag().RegisterType(U("File")), 3u);
    EXPECT_EQ(platform.GetDrag().RegisterType(U("Text")), 4u);
    EXPECT_EQ(CRkHeadlessDesktop::Get().GetDragTypeRegistrations(), 4u);
    CRkHeadlessDesktop::Get().Reset();
    EXPECT_EQ(platform.GetDrag().RegisterType(U("Picture")), 4u);
}

TEST_F(HeadlessUi, OneControlOfAWindowHasTheFocus)
{
    std::unique_ptr<IRkWindowImp> window(platform.CreateWindow(windowHost, U("W"), 0, nullptr));
    std::unique_ptr<IRkWindowImp> other(platform.CreateWindow(windowHost, U("V"), 0, nullptr));
    std::unique_ptr<IRkComponentImp> a(platform.CreateComponent(host, kKindTextField, 1, *window));
    std::unique_ptr<IRkComponentImp> b(platform.CreateComponent(host, kKindPushButton, 2, *window));
    std::unique_ptr<IRkComponentImp> c(platform.CreateComponent(host, kKindTextField, 3, *other));
    a->SetFocus();
    c->SetFocus(); // another window keeps its own
    EXPECT_TRUE(a->HasFocus());
    EXPECT_TRUE(c->HasFocus());
    b->SetFocus();
    EXPECT_FALSE(a->HasFocus());
    EXPECT_TRUE(b->HasFocus());
    // Disabled and hidden controls take no focus and lose it.
    a->SetEnabled(false);
    a->SetFocus();
    EXPECT_TRUE(b->HasFocus());
    b->SetVisible(false);
    EXPECT_FALSE(b->HasFocus());
    a->SetEnabled(true);
    a->SetFocus();
    a->SetEnabled(false);
    EXPECT_FALSE(a->HasFocus());
    // A focused control that goes leaves no focus behind.
    a->SetEnabled(true);
    a->SetFocus();
    a.reset();
    EXPECT_EQ(CRkTestDriver::GetFocusedControl(dynamic_cast<CRkHeadlessNode*>(window.get())), nullptr);
    // A hidden window keeps its focused control for when it shows again.
    window->Show(true, true);
    b->SetVisible(true);
    b->SetFocus();
    window->Show(false, false);
    window->Show(true, true);
    EXPECT_TRUE(b->HasFocus());
}

TEST_F(HeadlessUi, WindowsHaveNoFrameAndStartHidden)
{
    std::unique_ptr<IRkWindowImp> window(
        platform.CreateWindow(windowHost, U("Vellumix"), kWindowCloseBox | kWindowResizable, nullptr));
    EXPECT_FALSE(window->IsVisible());
    EXPECT_EQ(window->OuterSizeForClient(RkSize{296, 433}), (RkSize{296, 433}));
    window->SetOuterBounds(RkRect{364, 111, 296, 433});
    EXPECT_EQ(window->GetClientSize(), (RkSize{296, 433}));
    EXPECT_EQ(window->GetRestoredBounds(), (RkRect{364, 111, 296, 433}));
    EXPECT_EQ(window->GetBounds(), (RkRect{364, 111, 296, 433}));
    window->SetBounds(RkRect{1, 2, 3, 4});
    EXPECT_EQ(window->GetOuterBounds(), (RkRect{1, 2, 3, 4}));
    CRkString title;
    window->GetTitle(title);
    EXPECT_EQ(CRkTestDriver::ToUtf8(title), "Vellumix");
    window->SetTitle(U("Book Info"));
    window->GetTitle(title);
    EXPECT_EQ(CRkTestDriver::ToUtf8(title), "Book Info");
    EXPECT_EQ(trace, ""); // nothing the program did was reported back as the user's
}

TEST_F(HeadlessUi, ShowingRaisesAndActivatesAndHidingPassesTheActivationOn)
{
    CRkHeadlessDesktop& desktop = CRkHeadlessDesktop::Get();
    FakeHost mainHost("main", trace), logHost("log", trace), dialogHost("dialog", trace);
    std::unique_ptr<IRkWindowImp> main(platform.CreateWindow(mainHost, U("Vellumix"), kWindowCloseBox, nullptr));
    std::unique_ptr<IRkWindowImp> log(platform.CreateWindow(logHost, U("Vellumix Errors"), kWindowCloseBox, nullptr));
    std::unique_ptr<IRkWindowImp> dialog(platform.CreateWindow(dialogHost, U("Book Info"), kWindowDialog, main.get()));
    auto* mainNode = dynamic_cast<CRkHeadlessWindowImp*>(main.get());
    auto* logNode = dynamic_cast<CRkHeadlessWindowImp*>(log.get());
    auto* dialogNode = dynamic_cast<CRkHeadlessWindowImp*>(dialog.get());
    EXPECT_EQ(dialogNode->GetOwner(), mainNode);

    main->Show(true, true);
    log->Show(true, false); // shown without taking the focus
    EXPECT_EQ(trace, "main.active ");
    EXPECT_TRUE(main->IsActive());
    EXPECT_EQ(desktop.GetVisibleWindows(), (std::vector<CRkHeadlessWindowImp*>{logNode, mainNode}));

    trace.clear();
    dialog->Show(true, true);
    EXPECT_EQ(trace, "main.inactive dialog.active ");
    // Raising the owner keeps its dialog above it.
    main->BringToFront(false);
    EXPECT_EQ(desktop.GetVisibleWindows(), (std::vector<CRkHeadlessWindowImp*>{dialogNode, mainNode, logNode}));
    EXPECT_TRUE(dialog->IsActive());

    // Hiding or destroying the active window activates the frontmost other one.
    trace.clear();
    dialog->Show(false, false);
    EXPECT_EQ(trace, "dialog.inactive main.active ");
    trace.clear();
    log->BringToFront(true);
    EXPECT_EQ(trace, "main.inactive log.active ");
    trace.clear();
    log.reset();
    EXPECT_EQ(trace, "main.active ");
    EXPECT_EQ(desktop.GetWindows(), (std::vector<CRkHeadlessWindowImp*>{dialogNode, mainNode}));
    // A dialog outliving its owner forgets it.
    main.reset();
    EXPECT_EQ(dialogNode->GetOwner(), nullptr);
    EXPECT_EQ(desktop.GetActiveWindow(), nullptr);
}

TEST_F(HeadlessUi, MenuBarsRecordTheItemStatesAndForgetTheirWindow)
{
    FakeMenuHost menuHost(trace);
    std::unique_ptr<IRkWindowImp> window(platform.CreateWindow(windowHost, U("W"), 0, nullptr));
    std::unique_ptr<IRkMenuBarImp> menuBar(platform.CreateMenuBar(menuHost, *window));
    auto* headless = dynamic_cast<CRkHeadlessMenuBarImp*>(menuBar.get());
    window->SetMenuBar(menuBar.get());
    menuBar->SetItemState(12, false, false);
    menuBar->SetItemState(326, true, true);
    CRkHeadlessMenuBarImp::ItemState state;
    ASSERT_TRUE(headless->GetItemState(12, state));
    EXPECT_FALSE(state.enabled);
    ASSERT_TRUE(headless->GetItemState(326, state));
    EXPECT_TRUE(state.checked);
    EXPECT_FALSE(headless->GetItemState(13, state));
    // The window goes first: the bar knows; the bar goes first: the window knows.
    window.reset();
    EXPECT_EQ(headless->GetWindow(), nullptr);
    window.reset(platform.CreateWindow(windowHost, U("W"), 0, nullptr));
    std::unique_ptr<IRkMenuBarImp> second(platform.CreateMenuBar(menuHost, *window));
    window->SetMenuBar(second.get());
    second.reset();
    EXPECT_EQ(dynamic_cast<CRkHeadlessWindowImp*>(window.get())->GetMenuBar(), nullptr);
}

} // namespace
