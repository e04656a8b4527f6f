// Open and save dialogs: the framework's filter list rules, and the result
// handed to a target as a file message.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RkString.h"
#include "framework/ui/RkFileDialogImp.h"

class IRkMessageTarget;

struct RkFileType {
    CRkString description; // "LML Files"
    CRkString ending;      // ".lml"
};

// Each type becomes "description (*ending)" with the pattern "*ending".
// "All Files (*.*)" comes first (and the second entry is preselected) for an
// open dialog of 5 or more types, last for fewer than 5, and not at all for a
// save dialog with types; otherwise the first entry is preselected.
std::vector<RkFileFilter> BuildFileFilters(uint32_t kind, const std::vector<RkFileType>& types, uint32_t& preselected);

// Shows the dialog; when the user confirms, `target` (the application when
// null) gets `confirmMessage` at once with a CRkFileMessage of the chosen
// file, and when the user cancels it gets `cancelMessage` unless that is 0.
// True when a file was chosen.
bool RunFileDialog(uint32_t kind, const CRkString& title, const std::vector<RkFileType>& types,
                   IRkMessageTarget* target, uint16_t confirmMessage, uint16_t cancelMessage);
