// What a dialog's dismissal message carries: the dialog itself, so that
// the receiver can tell which dialog closed and destroy it.
#pragma once

#include <cstdint>

class CRkWindow;

class IRkDialog {
public:
    virtual ~IRkDialog() = default;
    virtual CRkWindow& GetDialogWindow() = 0;
    virtual uint16_t GetDialogId() const = 0;
};
