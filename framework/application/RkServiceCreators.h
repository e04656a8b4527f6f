// Services that libraries above the application provide (the file-name
// list, the clipboard). The program installs their creators
// before Initialize; Initialize fills the global slot of each installed one
// and the application's destruction empties it again.
#pragma once

#include "framework/core/RkGlobalVars.h"

enum class CRkServiceKind {
    FileNames,
    Clipboard,
};

// Fills the slot's object and destroy function; leaving it empty is allowed.
using CRkServiceCreator = void (*)(CRkGlobalService& slot);

// A null creator removes the installed one.
void SetServiceCreator(CRkServiceKind kind, CRkServiceCreator creator);
CRkServiceCreator GetServiceCreator(CRkServiceKind kind);
