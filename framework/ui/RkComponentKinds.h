// The kinds of component the platform creates, and the native window class
// and styles each kind has on Windows. Kept here, in one table, so that a
// further control is one row away on every platform.
#pragma once

#include <cstdint>

enum : uint32_t {
    kKindPushButton = 0,
    kKindPanel = 1,
    kKindPanel2 = 2,
    kKindCheckbox = 3,
    kKindRadioButton = 4,
    kKindLabel = 5,
    kKindTextField = 6,
    kKindListbox = 8,
    kKindListboxMultiple = 9,
    kKindContainerPanel = 10,
    kKindProgressBar = 11,
    kKindScrollbar = 12,
    kKindDropDownList = 15,
    kKindContainerPanel2 = 16,
    kKindSlider = 18,
    kKindDropDownList2 = 20,
    kKindCombobox = 21,
    kKindMultilineTextField = 22,
    kKindImageButton = 24,
    // Not a control: a framework window (top-level or dialog).
    kKindWindow = 100,
};

struct RkKindStyle {
    uint32_t kind;
    const char* windowClass;
    uint32_t style; // with border where the kind has that choice
    uint32_t styleNoBorder;
    uint32_t exStyle;
};

// The row of a kind, or null for a kind without a native control.
const RkKindStyle* FindKindStyle(uint32_t kind);

// Whether controls of a kind show a text (and so are created with
// kCreationText).
constexpr bool KindShowsText(uint32_t kind)
{
    switch (kind) {
    case kKindPushButton:
    case kKindCheckbox:
    case kKindRadioButton:
    case kKindLabel:
    case kKindTextField:
    case kKindDropDownList:
    case kKindDropDownList2:
    case kKindCombobox:
    case kKindMultilineTextField:
    case kKindImageButton:
        return true;
    default:
        return false;
    }
}

// The text native child controls are created with, and their first size.
// A control shows them until the framework gives it its own text and
// bounds.
constexpr const char16_t* kCreationText = u"Fnord.";
constexpr int32_t kCreationSize = 50;
