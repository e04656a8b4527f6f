// Message objects: the optional payload that travels with a message number.
#pragma once

#include <cstdint>

#include "framework/core/RkMessageNumbers.h"

class CRkType;
class IRkDialog;

class CRkMessage {
public:
    explicit CRkMessage(uint16_t kind = kMessageKindPlain) : m_kind(kind) {}
    CRkMessage(const CRkMessage&) = delete;
    CRkMessage& operator=(const CRkMessage&) = delete;
    virtual ~CRkMessage() = default;

    virtual uint16_t GetKind() const { return m_kind; }

private:
    uint16_t m_kind;
};

// CRkCommand flags: a command that a keyboard shortcut posted; it is asked
// for its state when it arrives.
enum : uint8_t {
    kCommandFlagShortcut = 1,
};

// A command: asked for its state (message 8) before it is performed
// (message 7). It starts disabled; a status handler enables it.
class CRkCommand : public CRkMessage {
public:
    explicit CRkCommand(uint32_t command, CRkType* data = nullptr);
    ~CRkCommand() override;

    uint32_t GetCommand() const { return m_command; }
    bool IsEnabled() const { return m_enabled != 0; }
    void SetEnabled(bool enabled) { m_enabled = enabled ? 1 : 0; }
    bool IsChecked() const { return m_checkMark != 0; }
    void SetChecked(bool checked) { m_checkMark = checked ? 1 : 0; }
    uint8_t GetFlag() const { return m_flag; }
    void SetFlag(uint8_t flag) { m_flag = flag; }

    // The command owns its data and releases it when destroyed.
    CRkType* GetData() const { return m_data; }
    void SetData(CRkType* data);

private:
    CRkType* m_data;
    uint32_t m_command;
    uint8_t m_enabled = 0;
    uint8_t m_checkMark = 0;
    uint8_t m_flag = 0;
};

// Commands of list boxes and scroll bars carry two values their sender fills.
class CRkListboxCommand : public CRkCommand {
public:
    CRkListboxCommand(uint32_t command, uint32_t value1, uint32_t value2)
        : CRkCommand(command), value1(value1), value2(value2)
    {
    }
    uint32_t value1;
    uint32_t value2;
};

class CRkScrollbarCommand : public CRkCommand {
public:
    CRkScrollbarCommand(uint32_t command, uint32_t value1, uint32_t value2)
        : CRkCommand(command), value1(value1), value2(value2)
    {
    }
    uint32_t value1;
    uint32_t value2;
};

// Sent when a dialog closes; the button number is also its command number
// (1 is OK). The dialog is not owned.
class CRkDialogDismissedMessage : public CRkCommand {
public:
    CRkDialogDismissedMessage(uint32_t button, IRkDialog* dialog, uint8_t flag = 0)
        : CRkCommand(button), button(button), dialog(dialog), flag(flag)
    {
    }
    uint32_t button;
    IRkDialog* dialog;
    uint8_t flag;
};

// A quit request: a handler sets `accepted` to let the program end.
class CRkQuitMessage : public CRkMessage {
public:
    CRkQuitMessage() : CRkMessage(kMessageKindQuit) {}
    uint32_t value = 0;
    uint8_t accepted = 0;
};

// A key press as the platform layer reports it.
class CRkKeyboardMessage : public CRkMessage {
public:
    CRkKeyboardMessage(uint16_t keyCode, uint8_t modifiers)
        : CRkMessage(kMessageKindKeyboard), keyCode(keyCode), modifiers(modifiers)
    {
    }
    uint32_t value1 = 0;
    uint16_t keyCode;
    uint32_t value2 = 0;
    uint8_t modifiers; // kKeyModifierCtrl, kKeyModifierShift, kKeyModifierAlt
};

// A mouse event as the platform layer reports it.
class CRkMouseMessage : public CRkMessage {
public:
    CRkMouseMessage(int32_t x, int32_t y) : CRkMessage(kMessageKindMouse), x(x), y(y) {}
    uint32_t value1 = 0;
    uint32_t value2 = 0;
    int32_t x;
    int32_t y;
    uint8_t flag = 0;
};
