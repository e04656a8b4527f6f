#include <gtest/gtest.h>

#include "framework/core/RkMessage.h"
#include "framework/core/RkMessageTarget.h"
#include "framework/core/RkType.h"

namespace {

class Tracked : public CRkType {
public:
    explicit Tracked(int& alive) : m_alive(alive) { ++m_alive; }
    ~Tracked() override { --m_alive; }
    int32_t Write(CRkStream&) const override { return 0; }
    int32_t Read(CRkStream&) override { return 0; }

private:
    int& m_alive;
};

TEST(Messages, CommandOwnsItsData)
{
    int alive = 0;
    {
        CRkCommand command(12, new Tracked(alive));
        EXPECT_EQ(alive, 1);
        command.SetData(new Tracked(alive)); // the old data is released
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);

    // Data shared with someone else survives the command.
    Tracked* shared = new Tracked(alive);
    {
        CRkCommand command(12, shared);
        shared->AddRef();
    }
    EXPECT_EQ(alive, 1);
    shared->Release();
    EXPECT_EQ(alive, 0);
}

TEST(Messages, KindsAndDefaults)
{
    CRkCommand command(30);
    EXPECT_EQ(command.GetKind(), kMessageKindCommand);
    EXPECT_EQ(command.GetCommand(), 30u);
    EXPECT_FALSE(command.IsEnabled()); // a status handler must enable it
    EXPECT_FALSE(command.IsChecked());

    CRkDialogDismissedMessage dismissed(1, nullptr);
    EXPECT_EQ(dismissed.GetKind(), kMessageKindCommand);
    EXPECT_EQ(dismissed.GetCommand(), 1u);

    CRkQuitMessage quit;
    EXPECT_EQ(quit.GetKind(), kMessageKindQuit);
    EXPECT_EQ(quit.accepted, 0);
    EXPECT_EQ(CRkKeyboardMessage(65, kKeyModifierCtrl).GetKind(), kMessageKindKeyboard);
    EXPECT_EQ(CRkMouseMessage(3, 4).GetKind(), kMessageKindMouse);
    EXPECT_EQ(CRkMessage().GetKind(), kMessageKindPlain);
}

// A target that records what reaches it, to see what DoCommand and
// PostCommand hand over.
class RecordingTarget : public IRkMessageTarget {
public:
    void AddHandler(IRkMessageHandler*, bool) override {}
    void RemoveHandler(IRkMessageHandler*) override {}
    bool HandleMessage(uint16_t message, CRkMessage* payload) override
    {
        handled = message;
        handledCommand = static_cast<CRkCommand*>(payload)->GetCommand();
        return true;
    }
    void PostMessage(uint16_t message, CRkMessage* payload, uint32_t flags) override
    {
        posted = message;
        postedFlags = flags;
        postedCommand = static_cast<CRkCommand*>(payload)->GetCommand();
        delete payload;
    }
    uint16_t handled = 0, posted = 0;
    uint32_t handledCommand = 0, postedCommand = 0, postedFlags = 0;
};

TEST(Messages, DoAndPostCommandWrapTheNumber)
{
    RecordingTarget target;
    EXPECT_TRUE(target.DoCommand(14));
    EXPECT_EQ(target.handled, kMsgCommand);
    EXPECT_EQ(target.handledCommand, 14u);
    target.PostCommand(29, 3);
    EXPECT_EQ(target.posted, kMsgCommand);
    EXPECT_EQ(target.postedCommand, 29u);
    EXPECT_EQ(target.postedFlags, 3u);
}

} // namespace
