// A headless file dialog: it shows nothing, records itself on the desktop
// and takes the answer the test queued there (cancel when none was).
#pragma once

#include "framework/ui/RkFileDialogImp.h"

class CRkHeadlessFileDialogImp final : public IRkFileDialogImp {
public:
    bool Run(uint32_t kind, const CRkString& title, const std::vector<RkFileFilter>& filters, uint32_t preselected,
             CRkString& chosenPath) override;
};
