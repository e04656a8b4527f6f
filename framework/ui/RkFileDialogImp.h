// The platform's file dialogs. The framework works out the filter list;
// the platform shows it and waits for the user.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RkString.h"

enum : uint32_t {
    kFileDialogOpen = 0,
    kFileDialogSave = 1,
};

struct RkFileFilter {
    CRkString text;    // "LML Files (*.lml)"
    CRkString pattern; // "*.lml"
};

class IRkFileDialogImp {
public:
    virtual ~IRkFileDialogImp() = default;
    // Shows the dialog and waits; true with the chosen file's full path when
    // the user confirmed, false when cancelled.
    virtual bool Run(uint32_t kind, const CRkString& title, const std::vector<RkFileFilter>& filters,
                     uint32_t preselected, CRkString& chosenPath) = 0;
};
