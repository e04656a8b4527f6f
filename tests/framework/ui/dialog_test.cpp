// Modal dialogs without a nested loop: the count in the globals, the close
// box cancelling, the dialog keys, and a small dialog built from the
// layouts and driven through the driver alone.
#include "UiTestSupport.h"

#include "framework/ui/RkBorderLayout.h"
#include "framework/ui/RkControls.h"
#include "framework/ui/RkDialogButtonLayout.h"
#include "framework/ui/RkGridLayout.h"
#include "framework/ui/RkModalDialog.h"
#include "framework/ui/RkProgressDialog.h"

namespace {

constexpr uint16_t kMsgNameDismissed = 70;
constexpr uint32_t kNameField = 500;
constexpr uint32_t kNameCaption = 501;
constexpr uint32_t kNotesField = 502;

// Asks for a name: a caption and two fields in a grid, OK and Cancel in a
// button row. OK is enabled while the name is not empty; either button
// reads the fields and dismisses.
class NameDialog : public CRkModalDialog, public IRkMessageHandler {
public:
    NameDialog(IRkMessageTarget* target, CRkWindow* owner)
        : CRkModalDialog(9, kMsgNameDismissed, target, owner, CRkString(u"Your Name"))
    {
        SetLayout(new CRkBorderLayout(5, 5, RkUnitInsets{5, 5, 5, 5}));
        CRkPanel* fields = new CRkPanel(this, 0);
        fields->SetLayout(new CRkGridLayout(0, 2, 2, 3));
        CRkLabel* caption = new CRkLabel(fields, kNameCaption, CRkString(u"Name:"));
        m_name = new CRkTextField(fields, kNameField);
        CRkLabel* notesCaption = new CRkLabel(fields, 0, CRkString(u"Notes:"));
        m_notes = new CRkTextField(fields, kNotesField);
        RkConstraint right{3, 2}, fill{0, 0};
        fields->AddChild(caption, &right);
        fields->AddChild(m_name, &fill);
        fields->AddChild(notesCaption, &right);
        fields->AddChild(m_notes, &fill);

        CRkPanel* buttons = new CRkPanel(this, 0);
        buttons->SetLayout(new CRkDialogButtonLayout());
        CRkButton* ok = new CRkButton(buttons, kButtonOK, CRkString(u"OK"));
        CRkButton* cancel = new CRkButton(buttons, kButtonCancel, CRkString(u"Cancel"));
        ok->SetProperty(kPropDefaultButton, 1);
        cancel->SetProperty(kPropCancelButton, 1);
        RkConstraint slot1{1, 0}, slot2{2, 0};
        buttons->AddChild(ok, &slot1);
        buttons->AddChild(cancel, &slot2);

        RkConstraint center{kBorderCenter, 0}, south{kBorderSouth, 0};
        AddChild(fields, &center);
        AddChild(buttons, &south);
        AddHandler(this, false);
        Pack();
    }

    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
        if (!command)
            return rest.HandleMessage(message, payload);
        uint32_t id = command->GetCommand();
        if (message == kMsgCommandStatus) {
            if (id == kButtonOK) {
                CRkString text;
                m_name->GetText(text);
                command->SetEnabled(!text.IsEmpty());
                return true;
            }
            if (id == kButtonCancel || id == kNameField || id == kNotesField || id == kNameCaption) {
                command->SetEnabled(true);
                return true;
            }
        } else if (message == kMsgCommand) {
            if (id == kButtonOK || id == kButtonCancel) {
                m_name->GetText(name);
                Dismiss(id);
                return true;
            }
            if (id == kNameField) {
                CRkModalDialog::HandleMessage(kMsgCommandsChanged, nullptr);
                return true;
            }
            if (id == kNotesField)
                return true;
        }
        return rest.HandleMessage(message, payload);
    }
    using CRkModalDialog::HandleMessage;

    CRkString name;

private:
    CRkTextField* m_name;
    CRkTextField* m_notes;
};

// The dialog's owner: it hears of the dismissal and destroys the dialog.
struct DismissalCatcher {
    explicit DismissalCatcher(MessageRecorder& recorder)
    {
        recorder.onMessage = [this](uint16_t message, CRkMessage* payload) {
            if (message != kMsgNameDismissed)
                return;
            auto* dismissed = dynamic_cast<CRkDialogDismissedMessage*>(payload);
            ASSERT_NE(dismissed, nullptr);
            buttons.push_back(dismissed->button);
            NameDialog& dialog = static_cast<NameDialog&>(dismissed->dialog->GetDialogWindow());
            names.push_back(std::u16string(dialog.name.GetChars(), dialog.name.GetLength()));
            dialog.Destroy();
        };
    }
    std::vector<uint32_t> buttons;
    std::vector<std::u16string> names;
};

class DialogTest : public UiTest {
protected:
    CRkWindow* MakeOwner()
    {
        CRkWindow* owner = new CRkWindow(CRkString(u"Owner"), kWindowCloseBox);
        owner->SetOuterBounds({100, 100, 600, 400});
        owner->SetVisible(true);
        return owner;
    }
    uint32_t ModalCount() const { return CRkGlobalVars::Get()->modalDialogCount; }
};

TEST_F(DialogTest, ASmallDialogBuiltFromLayoutsWorksThroughTheDriverAlone)
{
    DismissalCatcher catcher(recorder);
    new NameDialog(nullptr, MakeOwner());
    EXPECT_EQ(ModalCount(), 1u);
    static_cast<NameDialog*>(app->GetWindowList().GetLast())->ShowModal();

    CRkHeadlessWindowImp* window = driver->FindWindow("Your Name");
    ASSERT_NE(window, nullptr);
    CRkHeadlessNode* ok = CRkTestDriver::FindControlByText(window, "OK");
    CRkHeadlessNode* cancel = CRkTestDriver::FindControlByText(window, "Cancel");
    CRkHeadlessNode* field = CRkTestDriver::FindControl(window, kNameField);
    ASSERT_TRUE(ok && cancel && field);

    // Laid out: margins of 15, the caption right-aligned in its cell, the
    // fields 240 wide, the buttons equally wide at the bottom right.
    EXPECT_EQ(CRkTestDriver::GetBoundsInWindow(CRkTestDriver::FindControl(window, kNameCaption)),
              (RkRect{21, 19, 30, 13}));
    EXPECT_EQ(CRkTestDriver::GetBoundsInWindow(field), (RkRect{57, 15, 240, 21}));
    EXPECT_EQ(CRkTestDriver::GetBoundsInWindow(cancel), (RkRect{241, 81, 56, 23}));
    EXPECT_EQ(CRkTestDriver::GetBoundsInWindow(ok), (RkRect{170, 81, 56, 23}));
    EXPECT_EQ(window->GetOuterBounds(), (RkRect{244, 240, 312, 119})); // centred over its owner

    // The first field has the focus; OK follows the text.
    EXPECT_EQ(CRkTestDriver::GetFocusedControl(window), field);
    EXPECT_FALSE(CRkTestDriver::IsEnabled(ok));
    EXPECT_FALSE(driver->Click(ok));
    ASSERT_TRUE(driver->TypeText(field, "Al"));
    EXPECT_TRUE(CRkTestDriver::IsEnabled(ok));
    ASSERT_TRUE(driver->Backspace(field, 2));
    EXPECT_FALSE(CRkTestDriver::IsEnabled(ok));
    // Enter performs OK as a command, so a disabled OK does nothing.
    ASSERT_TRUE(driver->PressKey(window, kKeyEnter));
    Settle();
    EXPECT_TRUE(catcher.buttons.empty());

    ASSERT_TRUE(driver->TypeText(field, "Ada"));
    ASSERT_TRUE(driver->PressKey(window, kKeyEnter));
    Settle();
    EXPECT_EQ(catcher.buttons, std::vector<uint32_t>{kButtonOK});
    EXPECT_EQ(catcher.names, std::vector<std::u16string>{u"Ada"});
    EXPECT_EQ(driver->FindAnyWindow(CRkTestDriver::FromUtf8("Your Name")), nullptr);
    EXPECT_EQ(ModalCount(), 0u);
}

TEST_F(DialogTest, EscapeTheCancelButtonAndTheCloseBoxAllDismissWithCancel)
{
    DismissalCatcher catcher(recorder);
    CRkWindow* owner = MakeOwner();
    for (int way = 0; way < 3; ++way) {
        NameDialog* dialog = new NameDialog(nullptr, owner);
        dialog->ShowModal();
        CRkHeadlessWindowImp* window = driver->FindWindow("Your Name");
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(driver->TypeText(CRkTestDriver::FindControl(window, kNameField), "X"));
        if (way == 0)
            ASSERT_TRUE(driver->PressKey(window, kKeyEscape));
        else if (way == 1)
            ASSERT_TRUE(driver->Click(CRkTestDriver::FindControlByText(window, "Cancel")));
        else
            ASSERT_TRUE(driver->PressCloseBox(window));
        Settle();
    }
    EXPECT_EQ(catcher.buttons, (std::vector<uint32_t>{kButtonCancel, kButtonCancel, kButtonCancel}));
    EXPECT_EQ(ModalCount(), 0u);
    EXPECT_EQ(app->GetWindowCount(), 1u);
}

TEST_F(DialogTest, TabMovesThroughTheFieldsThenTheButtons)
{
    NameDialog* dialog = new NameDialog(nullptr, MakeOwner());
    dialog->ShowModal();
    CRkHeadlessWindowImp* window = driver->FindWindow("Your Name");
    ASSERT_TRUE(driver->TypeText(CRkTestDriver::FindControl(window, kNameField), "Z")); // OK enabled
    std::vector<std::string> order;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(driver->PressKey(window, kKeyTab));
        Settle();
        CRkHeadlessNode* focused = CRkTestDriver::GetFocusedControl(window);
        order.push_back(focused ? std::to_string(focused->GetId()) : "none");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"502", "1", "2", "500", "502"}));
    ASSERT_TRUE(driver->PressKey(window, kKeyTab, kKeyModifierShift));
    Settle();
    EXPECT_EQ(CRkTestDriver::GetFocusedControl(window)->GetId(), kNameField);
}

TEST_F(DialogTest, TheQuitProtocolCancelsAndDestroysAnOpenDialog)
{
    DismissalCatcher catcher(recorder);
    (new NameDialog(nullptr, MakeOwner()))->ShowModal();
    app->Quit(0);
    Settle();
    EXPECT_TRUE(Loop().HasQuit());
    EXPECT_EQ(catcher.buttons, std::vector<uint32_t>{kButtonCancel});
    EXPECT_EQ(app->GetWindowCount(), 0u);
    EXPECT_EQ(ModalCount(), 0u);
}

TEST_F(DialogTest, TheProgressDialogShowsTextAndBarOverItsOwner)
{
    CRkWindow* owner = MakeOwner();
    CRkProgressDialog* progress = new CRkProgressDialog(3, CRkString(u"Building ..."), nullptr, owner);
    progress->ShowModal();
    CRkHeadlessWindowImp* window = driver->FindWindow("UiTest"); // titled with the program's name
    ASSERT_NE(window, nullptr);
    CRkHeadlessNode* label = CRkTestDriver::FindControl(window, kProgressTextId);
    CRkHeadlessNode* bar = CRkTestDriver::FindControl(window, kProgressBarId);
    ASSERT_TRUE(label && bar);
    // Gaps and margins of 5 units (15 px); 60 characters wide.
    EXPECT_EQ(window->GetOuterBounds(), (RkRect{220, 263, 360, 74}));
    EXPECT_EQ(CRkTestDriver::GetBoundsInWindow(label), (RkRect{15, 15, 330, 13}));
    EXPECT_EQ(CRkTestDriver::GetBoundsInWindow(bar), (RkRect{15, 43, 330, 16}));
    EXPECT_TRUE(CRkTestDriver::IsEnabled(label));
    EXPECT_TRUE(CRkTestDriver::IsEnabled(bar));

    progress->SetText(CRkString(u"Building a much longer name than the first text had.ldb..."));
    progress->SetProgress(66);
    EXPECT_EQ(CRkTestDriver::GetText(label), "Building a much longer name than the first text had.ldb...");
    EXPECT_EQ(CRkTestDriver::GetProperty(bar, kPropValue), 66);
    EXPECT_EQ(window->GetOuterBounds().width, 360); // fixed at creation
    progress->SetProgress(250);
    EXPECT_EQ(CRkTestDriver::GetProperty(bar, kPropValue), 100);
    progress->SetProgress(-4);
    EXPECT_EQ(CRkTestDriver::GetProperty(bar, kPropValue), 0);
    progress->Destroy();
    Settle();
    EXPECT_EQ(ModalCount(), 0u);
}

} // namespace
