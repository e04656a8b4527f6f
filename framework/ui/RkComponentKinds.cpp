#include "framework/ui/RkComponentKinds.h"

namespace {

// Kind, window class, style (with border), style without border, extended style.
const RkKindStyle kKindStyles[] = {
    {kKindPushButton, "BUTTON", 0x50010000, 0x50010000, 0},
    {kKindPanel, "LUMO_EMPTY_PANEL", 0x50010000, 0x50010000, 0},
    {kKindPanel2, "LUMO_EMPTY_PANEL", 0x50010000, 0x50010000, 0},
    {kKindCheckbox, "BUTTON", 0x50010003, 0x50010003, 0},
    {kKindRadioButton, "BUTTON", 0x50010009, 0x50010009, 0},
    {kKindLabel, "STATIC", 0x50000000, 0x50000000, 0},
    {kKindTextField, "EDIT", 0x50810080, 0x50010080, 512},
    {kKindListbox, "LISTBOX", 0x50A11101, 0x50A11101, 0},
    {kKindListboxMultiple, "LISTBOX", 0x50A11109, 0x50A11109, 0},
    {kKindContainerPanel, "LUMO_EMPTY_PANEL", 0x52010000, 0x52010000, 0},
    {kKindProgressBar, "msctls_progress32", 0x50010000, 0x50010000, 0},
    // Focusable, and without the tab stop bit; vertical bars add SBS_VERT.
    {kKindScrollbar, "SCROLLBAR", 0x50010000, 0x50000000, 0},
    {kKindDropDownList, "COMBOBOX", 0x50210803, 0x50210803, 0},
    {kKindContainerPanel2, "LUMO_EMPTY_PANEL", 0x52010000, 0x52010000, 0},
    {kKindSlider, "msctls_trackbar32", 0x52010001, 0x52010001, 0},
    {kKindDropDownList2, "COMBOBOX", 0x50210903, 0x50210903, 0},
    {kKindCombobox, "COMBOBOX", 0x52210002, 0x52210002, 0},
    {kKindMultilineTextField, "EDIT", 0x50A11044, 0x50211044, 512},
    {kKindImageButton, "BUTTON", 0x50010040, 0x50010040, 0},
};

} // namespace

const RkKindStyle* FindKindStyle(uint32_t kind)
{
    for (const RkKindStyle& row : kKindStyles)
        if (row.kind == kind)
            return &row;
    return nullptr;
}
