// Controls, the image panel, the file dropper and the file dialogs, as a
// person meets them through the platform.
#include "UiTestSupport.h"

#include <fstream>
#include <iterator>

#include "framework/application/RkFileMessage.h"
#include "framework/io/File.h"
#include "framework/ui/RkControls.h"
#include "framework/ui/RkCustomControl.h"
#include "framework/ui/RkDrag.h"
#include "framework/ui/RkFileDialog.h"
#include "framework/ui/RkFileDropper.h"
#include "framework/ui/RkImage.h"
#include "framework/ui/RkWindow.h"

namespace {

using Paths = std::vector<std::string>;

// Answers the states of a window's commands from a table, performs them by
// recording their numbers.
class CommandTable : public IRkMessageHandler {
public:
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
        auto found = command ? states.find(command->GetCommand()) : states.end();
        if (found == states.end())
            return rest.HandleMessage(message, payload);
        if (message == kMsgCommandStatus) {
            command->SetEnabled(found->second.first);
            command->SetChecked(found->second.second);
            return true;
        }
        if (message == kMsgCommand) {
            performed.push_back(command->GetCommand());
            if (auto* scroll = dynamic_cast<CRkScrollbarCommand*>(command))
                scrollValues.push_back(scroll->value1);
            return true;
        }
        return rest.HandleMessage(message, payload);
    }
    std::map<uint32_t, std::pair<bool, bool>> states; // command: enabled, checked
    std::vector<uint32_t> performed;
    std::vector<uint32_t> scrollValues;
};

class ControlsTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        window = new CRkWindow(CRkString(u"Controls"), kWindowCloseBox);
        window->SetOuterBounds({0, 0, 400, 300});
        window->AddHandler(&table, false);
    }
    void Show()
    {
        window->SetVisible(true);
        imp = driver->FindWindow("Controls");
        ASSERT_NE(imp, nullptr);
    }
    CRkWindow* window = nullptr;
    CRkHeadlessWindowImp* imp = nullptr;
    CommandTable table;
};

TEST_F(ControlsTest, ACheckBoxShowsTheStateItsCommandReportsAfterEveryClick)
{
    CRkCheckbox* box = new CRkCheckbox(window, 600, CRkString(u"Option"));
    table.states[600] = {true, false};
    Show();
    CRkHeadlessNode* node = CRkTestDriver::FindControl(imp, 600);
    ASSERT_TRUE(driver->Toggle(node));
    // The command ran, but its state still says unchecked: so does the box.
    EXPECT_EQ(table.performed, std::vector<uint32_t>{600});
    EXPECT_FALSE(CRkTestDriver::IsChecked(node));
    table.states[600] = {true, true};
    ASSERT_TRUE(driver->Toggle(node));
    EXPECT_TRUE(CRkTestDriver::IsChecked(node));
    EXPECT_TRUE(box->IsChecked());
    // Disabled: a click does nothing at all.
    table.states[600] = {false, false};
    window->HandleMessage(kMsgCommandsChanged, nullptr);
    EXPECT_FALSE(driver->Toggle(node));
    EXPECT_EQ(table.performed, (std::vector<uint32_t>{600, 600}));
    EXPECT_FALSE(CRkTestDriver::IsChecked(node));
}

TEST_F(ControlsTest, Message9ShowsEveryControlsStateInTheWindow)
{
    new CRkButton(window, 601, CRkString(u"One"));
    CRkPanel* panel = new CRkPanel(window, 0);
    new CRkButton(panel, 602, CRkString(u"Two"));
    new CRkLabel(window, 0, CRkString(u"No command"));
    table.states[601] = {true, false};
    table.states[602] = {false, false};
    Show(); // showing asks for the states
    EXPECT_TRUE(CRkTestDriver::IsEnabled(CRkTestDriver::FindControl(imp, 601)));
    EXPECT_FALSE(CRkTestDriver::IsEnabled(CRkTestDriver::FindControl(imp, 602)));
    EXPECT_TRUE(CRkTestDriver::IsEnabled(CRkTestDriver::FindControlByText(imp, "No command")));
    table.states[601] = {false, false};
    table.states[602] = {true, false};
    app->HandleMessage(kMsgCommandsChanged, nullptr); // the application's 9 reaches every window
    EXPECT_FALSE(CRkTestDriver::IsEnabled(CRkTestDriver::FindControl(imp, 601)));
    EXPECT_TRUE(CRkTestDriver::IsEnabled(CRkTestDriver::FindControl(imp, 602)));
    ASSERT_TRUE(driver->Click(CRkTestDriver::FindControl(imp, 602)));
    EXPECT_EQ(table.performed, std::vector<uint32_t>{602});
}

TEST_F(ControlsTest, ScrollBarsAndProgressBarsKeepTheirValuesInRange)
{
    CRkScrollbar* vertical = new CRkScrollbar(window, 610, true);
    CRkScrollbar* horizontal = new CRkScrollbar(window, 611, false);
    CRkProgressbar* bar = new CRkProgressbar(window, 612);
    table.states[610] = {true, false};
    Show();
    EXPECT_EQ(vertical->GetThickness(), 16);
    EXPECT_EQ(horizontal->GetThickness(), 16);
    EXPECT_EQ(CRkTestDriver::GetProperty(CRkTestDriver::FindControl(imp, 610), kPropVertical), 1);
    vertical->SetRange(500, 100);
    vertical->SetValue(450);
    EXPECT_EQ(vertical->GetValue(), 400);
    vertical->SetValue(-5);
    EXPECT_EQ(vertical->GetValue(), 0);
    vertical->SetRange(50, 100); // content smaller than the view
    EXPECT_EQ(vertical->GetValue(), 0);
    bar->SetValue(140);
    EXPECT_EQ(bar->GetValue(), 100);
    bar->SetValue(-1);
    EXPECT_EQ(bar->GetValue(), 0);

    // The user drags the bar: its command carries the new value.
    vertical->SetRange(500, 100);
    ASSERT_TRUE(driver->ScrollTo(CRkTestDriver::FindControl(imp, 610), 250));
    EXPECT_EQ(vertical->GetValue(), 250);
    EXPECT_EQ(table.performed, std::vector<uint32_t>{610});
    EXPECT_EQ(table.scrollValues, std::vector<uint32_t>{250});
}

TEST_F(ControlsTest, LabelsWrapAndControlsTakeTheirNaturalSizes)
{
    CRkLabel* label = new CRkLabel(window, 0, CRkString(u"one two three four"));
    CRkButton* button = new CRkButton(window, 620, CRkString(u"Make Book..."));
    CRkTextField* field = new CRkTextField(window, 621);
    EXPECT_EQ(label->GetPreferredSize(), (RkSize{108, 13}));
    label->SetWrapWidth(60);
    EXPECT_EQ(label->GetPreferredSize(), (RkSize{60, 26})); // "one two" / "three four"
    EXPECT_EQ(button->GetPreferredSize(), (RkSize{92, 23}));
    EXPECT_EQ(field->GetPreferredSize(), (RkSize{240, 21}));
    field->SetPreferredSizeOverride({300, kUnbounded});
    EXPECT_EQ(field->GetPreferredSize(), (RkSize{300, 21}));
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST_F(ControlsTest, TheImagePanelDrawsItsPictureOrBlack)
{
    std::filesystem::path top = std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "..";
    std::vector<uint8_t> png = ReadFile((top / "examples" / "example_img" / "tide.png").string());
    ASSERT_FALSE(png.empty());
    CRkImage* image = CRkImage::FromPng(png.data(), uint32_t(png.size()), 77);
    ASSERT_NE(image, nullptr);
    int32_t w = image->GetWidth(), h = image->GetHeight();
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);

    CRkImagePanel* empty = new CRkImagePanel(window, nullptr, 630);
    CRkImagePanel* panel = new CRkImagePanel(window, image, 631);
    image->Release(); // the panel holds its own reference
    EXPECT_EQ(empty->GetPreferredSize(), (RkSize{64, 64}));
    EXPECT_EQ(panel->GetPreferredSize(), (RkSize{w, h}));
    panel->SetPreferredSize(10, 20);
    EXPECT_EQ(panel->GetPreferredSize(), (RkSize{10, 20}));

    // Keep-aspect geometry: a wide panel centres horizontally, a tall one
    // vertically.
    panel->SetKeepAspect(true);
    EXPECT_EQ(panel->ImageRect({w * 2, h}), (RkRect{(w * 2 - w) / 2, 0, w, h}));
    EXPECT_EQ(panel->ImageRect({w, h * 3}), (RkRect{0, (h * 3 - h) / 2, w, h}));
    panel->SetKeepAspect(false);
    EXPECT_EQ(panel->ImageRect({7, 9}), (RkRect{0, 0, 7, 9}));

    empty->SetBounds(0, 0, 30, 20);
    panel->SetBounds(40, 0, 50, 25);
    Show();
    EXPECT_EQ(DescribeDisplayList(driver->Paint(CRkTestDriver::FindControl(imp, 630))),
              (std::vector<std::string>{"Erase 0,0 30x20 rgb(255,255,255)", "Fill 0,0 30x20 rgb(0,0,0)"}));
    std::vector<RkDrawOp> drawn = driver->Paint(CRkTestDriver::FindControl(imp, 631));
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].op, RkDrawOpKind::Image);
    EXPECT_EQ(drawn[1].rect, (RkRect{0, 0, 50, 25}));
    EXPECT_EQ(drawn[1].imageId, 77u);
}

class DropperTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        view = new CRkImagePanel(window, nullptr, 640);
        view->SetBounds(0, 0, 100, 100);
        view->SetDropTarget(true);
        dropper = new CRkFileDropper(view);
        dropper->AddSuffix(CRkString(u".lml"));
        dropper->AddSuffix(CRkString(u".txt"));
        view->AddHandler(dropper, true);
        table.states[640] = {true, false}; // an enabled view: a disabled one takes no drops
        recorder.onMessage = [this](uint16_t message, CRkMessage* payload) {
            if (auto* file = dynamic_cast<CRkFileMessage*>(payload)) {
                CRkString name;
                file->GetFile().GetName(name);
                opened += std::to_string(message) + ":" + CRkTestDriver::ToUtf8(name) + "/" +
                          std::to_string(file->GetIndex()) + "/" + std::to_string(file->GetCount()) + " ";
            }
        };
        Show();
        node = CRkTestDriver::FindControl(imp, 640);
    }
    CRkImagePanel* view = nullptr;
    CRkFileDropper* dropper = nullptr;
    CRkHeadlessNode* node = nullptr;
    std::string opened;
};

TEST_F(DropperTest, AcceptsFilesByEndingWithoutRegardToCase)
{
    EXPECT_TRUE(driver->DragFilesOver(node, Paths{"/books/A.LML"}));
    EXPECT_TRUE(dropper->IsAccepting());
    EXPECT_TRUE(driver->DragFilesOff(node));
    EXPECT_FALSE(dropper->IsAccepting());
    EXPECT_FALSE(driver->DragFilesOver(node, Paths{"/books/a.doc"}));
    EXPECT_FALSE(driver->DropFiles(node, Paths{"/books/a.doc"}));
    Settle();
    EXPECT_EQ(opened, "");
}

TEST_F(DropperTest, DroppedFilesBecomeOneBatchOfFileMessages)
{
    EXPECT_TRUE(driver->DropFiles(node, Paths{"/b/a.lml", "/b/b.txt", "/b/c.LML"}));
    Settle();
    EXPECT_EQ(opened, "18:a.lml/0/3 18:b.txt/1/3 18:c.LML/2/3 ");
    opened.clear();
    EXPECT_TRUE(driver->DropFiles(node, Paths{"/b/a.doc", "/b/b.lml"}));
    Settle();
    EXPECT_EQ(opened, "18:b.lml/0/1 ");
    EXPECT_FALSE(dropper->IsAccepting()); // the drop ends the drag
}

TEST_F(DropperTest, FolderModeAndADropperWithoutEndings)
{
    view->RemoveHandler(dropper);
    CRkFileDropper* folders = new CRkFileDropper(view, true, nullptr);
    folders->AddSuffix(CRkString(u".lml"));
    view->AddHandler(folders, true);
    EXPECT_TRUE(driver->DropFiles(node, Paths{"/b/x.lml"}));
    Settle();
    EXPECT_EQ(opened, "35:x.lml/0/1 ");

    view->RemoveHandler(folders);
    view->AddHandler(new CRkFileDropper(view), true);
    EXPECT_FALSE(driver->DropFiles(node, Paths{"/b/y.lml"}));
    Settle();
    EXPECT_EQ(opened, "35:x.lml/0/1 ");
}

std::vector<std::string> Texts(const std::vector<RkFileFilter>& filters)
{
    std::vector<std::string> out;
    for (const RkFileFilter& f : filters)
        out.push_back(CRkTestDriver::ToUtf8(f.text) + "|" + CRkTestDriver::ToUtf8(f.pattern));
    return out;
}

TEST(FileFilters, AllFilesComesFirstLastOrNotAtAll)
{
    std::vector<RkFileType> two{{CRkString(u"LML Files"), CRkString(u".lml")},
                                {CRkString(u"Text Files"), CRkString(u".txt")}};
    uint32_t pre = 9;
    EXPECT_EQ(Texts(BuildFileFilters(kFileDialogOpen, two, pre)),
              (std::vector<std::string>{"LML Files (*.lml)|*.lml", "Text Files (*.txt)|*.txt", "All Files (*.*)|*.*"}));
    EXPECT_EQ(pre, 0u);
    EXPECT_EQ(Texts(BuildFileFilters(kFileDialogSave, two, pre)),
              (std::vector<std::string>{"LML Files (*.lml)|*.lml", "Text Files (*.txt)|*.txt"}));
    EXPECT_EQ(Texts(BuildFileFilters(kFileDialogSave, {}, pre)), (std::vector<std::string>{"All Files (*.*)|*.*"}));

    std::vector<RkFileType> five;
    for (const char16_t* e : {u".a", u".b", u".c", u".d", u".e"})
        five.push_back({CRkString(u"T"), CRkString(e)});
    std::vector<std::string> open = Texts(BuildFileFilters(kFileDialogOpen, five, pre));
    ASSERT_EQ(open.size(), 6u);
    EXPECT_EQ(open.front(), "All Files (*.*)|*.*");
    EXPECT_EQ(open[1], "T (*.a)|*.a");
    EXPECT_EQ(pre, 1u);
    EXPECT_EQ(Texts(BuildFileFilters(kFileDialogSave, five, pre)).size(), 5u);
}

TEST_F(ControlsTest, TheOpenDialogHandsTheChosenFileOverAtOnce)
{
    std::vector<RkFileType> types{{CRkString(u"LML Files"), CRkString(u".lml")},
                                  {CRkString(u"Text Files"), CRkString(u".txt")}};
    std::string got;
    recorder.onMessage = [&](uint16_t message, CRkMessage* payload) {
        if (auto* file = dynamic_cast<CRkFileMessage*>(payload)) {
            CRkString path;
            file->GetFile().GetPath(path);
            got += std::to_string(message) + ":" + CRkTestDriver::ToUtf8(path) + " ";
        }
    };
    driver->AnswerNextFileDialog("/books/tale.lml");
    EXPECT_TRUE(RunFileDialog(kFileDialogOpen, CRkString(u"Open"), types, nullptr, kMsgOpenFile, 0));
    EXPECT_EQ(got, "18:/books/tale.lml "); // synchronously, no loop needed
    driver->CancelNextFileDialog();
    EXPECT_FALSE(RunFileDialog(kFileDialogOpen, CRkString(u"Open"), types, nullptr, kMsgOpenFile, 0));
    EXPECT_EQ(got, "18:/books/tale.lml ");
    ASSERT_EQ(driver->GetFileDialogs().size(), 2u);
    const RkFileDialogRecord& shown = driver->GetFileDialogs()[0];
    EXPECT_EQ(CRkTestDriver::ToUtf8(shown.title), "Open");
    EXPECT_EQ(Texts(shown.filters).size(), 3u);
    EXPECT_EQ(shown.preselected, 0u);
    EXPECT_TRUE(shown.confirmed);
}

} // namespace

namespace {

TEST_F(UiTest, DragTypesAreRegisteredWithThePlatformOnce)
{
    uint32_t before = driver->GetDesktop().GetDragTypeRegistrations();
    EXPECT_EQ(RegisterDragType(CRkString(u"File")), uint32_t(kDragTypeFile));
    EXPECT_EQ(RegisterDragType(CRkString(u"File")), uint32_t(kDragTypeFile));
    EXPECT_EQ(RegisterDragType(CRkString(u"Picture")), 4u);
    EXPECT_EQ(driver->GetDesktop().GetDragTypeRegistrations(), before + 2);
}

} // namespace
