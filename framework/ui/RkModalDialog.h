// A dialog shown over its owner without a nested event loop: the program
// goes on running while it is open, and hears of its end through the
// dismissal message posted to its target. The globals count the open ones.
#pragma once

#include <cstdint>

#include "framework/ui/RkDialog.h"
#include "framework/ui/RkWindow.h"

class IRkMessageTarget;

// Dialog button numbers (and their commands).
enum : uint32_t {
    kButtonOK = 1,
    kButtonCancel = 2,
};

class CRkModalDialog : public CRkWindow, public IRkDialog {
public:
    // Message 26 dismisses a dialog not yet dismissed with its cancel
    // button; keys go to the dialog's key handling (Enter, Escape, Tab).
    class StandardHandler : public IRkMessageHandler {
    public:
        explicit StandardHandler(CRkModalDialog& dialog) : m_dialog(dialog) {}
        bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override;

    private:
        CRkModalDialog& m_dialog;
    };

    // `dismissMessage` is the number posted to `target` (the application
    // when null) with a CRkDialogDismissedMessage when the dialog closes.
    CRkModalDialog(uint16_t dialogId, uint16_t dismissMessage, IRkMessageTarget* target, CRkWindow* owner,
                   const CRkString& title);
    ~CRkModalDialog() override;

    // Shows the dialog over its owner (placement mode 1) with the focus on
    // its first text field, or its first button.
    virtual void ShowModal();
    // Posts the dismissal message with `button` and hides the dialog; the
    // receiver destroys it. Only the first dismissal counts.
    void Dismiss(uint32_t button);
    bool IsDismissed() const { return m_dismissed; }

    // IRkDialog
    CRkWindow& GetDialogWindow() override { return *this; }
    uint16_t GetDialogId() const override { return m_dialogId; }

    IRkMessageTarget* GetTarget() const { return m_target; }

protected:
    // Enter performs the default button's command, Escape the cancel
    // button's, Tab and Shift+Tab move the focus; true when taken.
    virtual bool HandleDialogKey(uint16_t keyCode, uint8_t modifiers);

private:
    CRkComponent* FindButtonWithProperty(uint32_t property) const;
    void MoveFocus(bool backward);

    uint16_t m_dialogId;
    uint16_t m_dismissMessage;
    IRkMessageTarget* m_target;
    bool m_dismissed = false;
};
