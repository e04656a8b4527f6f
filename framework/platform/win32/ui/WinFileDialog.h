// The common open and save dialogs.
#pragma once

#include "framework/ui/RkFileDialogImp.h"

// Paths up to this many units (the longest path Windows knows) can be
// chosen.
constexpr uint32_t kMaxFileDialogPath = 32768;

class CRkWinFileDialogImp final : public IRkFileDialogImp {
public:
    // GetOpenFileNameW or GetSaveFileNameW, owned by the active framework
    // window, with `filters` and the zero-based `preselected` one shown.
    // The process's current folder is left as it was.
    bool Run(uint32_t kind, const CRkString& title, const std::vector<RkFileFilter>& filters, uint32_t preselected,
             CRkString& chosenPath) override;
};
