// A dialog that shows how far a long run has got: a line of text over a
// bar from 0 to 100. Its width is fixed when it is made, so long texts do
// not resize it; they are cut by the label.
#pragma once

#include <cstdint>

#include "framework/ui/RkModalDialog.h"

class CRkLabel;
class CRkProgressbar;

enum : uint32_t {
    kProgressTextId = 315,
    kProgressBarId = 316,
};

class CRkProgressDialog : public CRkModalDialog, public IRkMessageHandler {
public:
    // The title is the application's name.
    CRkProgressDialog(uint16_t dialogId, const CRkString& text, IRkMessageTarget* target, CRkWindow* owner);

    // Both show at once (painted before this returns), since the work
    // that follows may keep the event loop busy.
    void SetText(const CRkString& text);
    void SetProgress(int32_t percent);
    int32_t GetProgress() const;

    // IRkMessageHandler: the states of the text and the bar.
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override;
    using CRkModalDialog::HandleMessage;

private:
    CRkLabel* m_label;
    CRkProgressbar* m_bar;
};
