// The test driver's input: clicks, typing, keys, the mouse, scrolling and
// dragging files.
#include <algorithm>

#include "framework/core/RkMessageNumbers.h"
#include "framework/platform/headless/HeadlessApplicationImp.h"
#include "framework/platform/headless/driver/TestDriver.h"
#include "framework/ui/RkComponentKinds.h"
#include "framework/ui/RkDrag.h"

namespace {

bool IsClickable(uint32_t kind)
{
    return kind == kKindPushButton || kind == kKindCheckbox || kind == kKindRadioButton || kind == kKindImageButton;
}

bool IsTextField(uint32_t kind)
{
    return kind == kKindTextField || kind == kKindMultilineTextField || kind == kKindCombobox;
}

// Controls that take the focus when clicked; panels leave that to the program.
bool TakesFocusOnClick(uint32_t kind)
{
    return IsClickable(kind) || IsTextField(kind) || kind == kKindListbox || kind == kKindListboxMultiple ||
           kind == kKindDropDownList || kind == kKindDropDownList2 || kind == kKindSlider;
}

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::vector<CRkString> FromUtf8List(const std::vector<std::string>& paths)
{
    std::vector<CRkString> out;
    for (const std::string& path : paths)
        out.push_back(CRkTestDriver::FromUtf8(path.c_str()));
    return out;
}

bool IsLive(const CRkHeadlessNode* node, const CRkHeadlessNode* tree)
{
    if (node == tree)
        return true;
    for (const CRkHeadlessNode* child : tree->GetChildren())
        if (IsLive(node, child))
            return true;
    return false;
}

bool SamePaths(const std::vector<CRkString>& a, const std::vector<CRkString>& b)
{
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const CRkString& x, const CRkString& y) { return x.Compare(y, true) == 0; });
}

} // namespace

bool CRkTestDriver::CanInteract(const CRkHeadlessNode* node)
{
    if (!node || !node->IsShowing() || !node->IsEnabledInTree())
        return false;
    // Only what is on the desktop can be reached: a control in a window.
    const CRkHeadlessNode* root = node;
    while (root->GetParentNode())
        root = root->GetParentNode();
    return dynamic_cast<const CRkHeadlessWindowImp*>(root) != nullptr;
}

void CRkTestDriver::Engage(CRkHeadlessNode* node)
{
    auto* window = dynamic_cast<CRkHeadlessWindowImp*>(node->GetRoot());
    if (window && !window->IsActive()) {
        GetDesktop().Raise(window);
        GetDesktop().Activate(window);
    }
    if (TakesFocusOnClick(node->GetKind()))
        node->SetFocus();
}

bool CRkTestDriver::Click(CRkHeadlessNode* node)
{
    if (!CanInteract(node) || !IsClickable(node->GetKind()))
        return false;
    Engage(node);
    node->GetHost().OnActivated();
    return true;
}

bool CRkTestDriver::Toggle(CRkHeadlessNode* node)
{
    if (!node || (node->GetKind() != kKindCheckbox && node->GetKind() != kKindRadioButton))
        return false;
    return Click(node);
}

bool CRkTestDriver::TypeText(CRkHeadlessNode* node, const CRkString& text)
{
    if (!CanInteract(node) || !IsTextField(node->GetKind()))
        return false;
    Engage(node);
    bool multiline = node->GetKind() == kKindMultilineTextField;
    const char16_t* units = text.GetChars();
    uint32_t n = text.GetLength();
    for (uint32_t i = 0; i < n; ++i) {
        uint32_t count = IsHighSurrogate(units[i]) && i + 1 < n && IsLowSurrogate(units[i + 1]) ? 2 : 1;
        if (!multiline && (units[i] == u'\r' || units[i] == u'\n'))
            continue;
        CRkString edited(node->GetText());
        edited.Append(units + i, count);
        node->SetText(edited);
        node->GetHost().OnActivated();
        i += count - 1;
    }
    return true;
}

bool CRkTestDriver::ClearText(CRkHeadlessNode* node)
{
    if (!CanInteract(node) || !IsTextField(node->GetKind()))
        return false;
    Engage(node);
    if (!node->GetText().IsEmpty()) {
        node->SetText(CRkString());
        node->GetHost().OnActivated();
    }
    return true;
}

bool CRkTestDriver::Backspace(CRkHeadlessNode* node, uint32_t count)
{
    if (!CanInteract(node) || !IsTextField(node->GetKind()))
        return false;
    Engage(node);
    for (uint32_t k = 0; k < count; ++k) {
        CRkString edited(node->GetText());
        uint32_t length = edited.GetLength();
        if (length == 0)
            break;
        uint32_t cut =
            length >= 2 && IsLowSurrogate(edited.GetAt(length - 1)) && IsHighSurrogate(edited.GetAt(length - 2)) ? 2
                                                                                                                 : 1;
        edited.Crop(0, length - cut);
        node->SetText(edited);
        node->GetHost().OnActivated();
    }
    return true;
}

bool CRkTestDriver::PressKey(uint16_t keyCode, uint8_t modifiers)
{
    return PressKey(GetActiveWindow(), keyCode, modifiers);
}

bool CRkTestDriver::PressKey(CRkHeadlessWindowImp* window, uint16_t keyCode, uint8_t modifiers)
{
    if (!m_loop || !window || !window->IsVisible())
        return false;
    CRkHeadlessNode* focused = window->GetFocusedNode();
    IRkComponentHost& host = focused && CanInteract(focused) ? focused->GetHost() : window->GetHost();
    m_loop->PostKey(&host.GetMessageTarget(), keyCode, modifiers);
    return true;
}

bool CRkTestDriver::MouseClick(CRkHeadlessNode* node, int32_t x, int32_t y, uint32_t clicks)
{
    if (!CanInteract(node))
        return false;
    Engage(node);
    node->GetHost().OnMouse(kMouseDown, clicks, x, y);
    node->GetHost().OnMouse(kMouseUp, clicks, x, y);
    return true;
}

bool CRkTestDriver::MouseEvent(CRkHeadlessNode* node, uint32_t value1, uint32_t clicks, int32_t x, int32_t y)
{
    if (!CanInteract(node))
        return false;
    if (value1 == kMouseDown)
        Engage(node);
    node->GetHost().OnMouse(value1, clicks, x, y);
    return true;
}

bool CRkTestDriver::LineScroll(CRkHeadlessNode* node, bool down, uint32_t notches)
{
    if (!CanInteract(node))
        return false;
    for (uint32_t k = 0; k < notches; ++k)
        node->GetHost().OnLineScroll(down);
    return true;
}

bool CRkTestDriver::ScrollTo(CRkHeadlessNode* node, int32_t value)
{
    if (!CanInteract(node) || node->GetKind() != kKindScrollbar)
        return false;
    int32_t minimum = node->GetProperty(kPropMinimum);
    int32_t last = std::max(minimum, node->GetProperty(kPropMaximum) - std::max(0, node->GetProperty(kPropPage)));
    value = std::clamp(value, minimum, last);
    node->SetProperty(kPropValue, value);
    node->GetHost().OnScrolled(value);
    return true;
}

void CRkTestDriver::SendDrag(CRkHeadlessNode* node, uint16_t message, bool& accepted)
{
    std::vector<RkDragItem> items;
    for (const CRkString& path : m_dragPaths)
        items.push_back(RkDragItem{kDragTypeFile, path});
    CRkDrag drag(std::move(items));
    node->GetHost().OnDrag(message, drag);
    accepted = drag.IsAccepted();
}

bool CRkTestDriver::DragFilesOver(CRkHeadlessNode* node, const std::vector<std::string>& pathsUtf8)
{
    return DragFilesOver(node, FromUtf8List(pathsUtf8));
}

bool CRkTestDriver::DragFilesOver(CRkHeadlessNode* node, const std::vector<CRkString>& paths)
{
    bool live = false;
    if (m_dragNode)
        for (CRkHeadlessWindowImp* window : GetDesktop().GetWindows())
            live = live || IsLive(m_dragNode, window);
    if (!live)
        m_dragNode = nullptr;
    bool accepted = false;
    // A drag over another component, or of other files, leaves first.
    if (m_dragNode && (m_dragNode != node || !SamePaths(paths, m_dragPaths))) {
        if (CanInteract(m_dragNode) && m_dragNode->IsDropTarget())
            SendDrag(m_dragNode, kMsgDragLeave, accepted);
        m_dragNode = nullptr;
    }
    if (!CanInteract(node) || !node->IsDropTarget())
        return false;
    if (!m_dragNode) {
        m_dragNode = node;
        m_dragPaths = paths;
        SendDrag(node, kMsgDragEnter, accepted);
    }
    SendDrag(node, kMsgDragOver, accepted);
    return accepted;
}

bool CRkTestDriver::DragFilesOff(CRkHeadlessNode* node)
{
    if (!node || node != m_dragNode)
        return false;
    m_dragNode = nullptr;
    if (!CanInteract(node) || !node->IsDropTarget())
        return false;
    bool accepted = false;
    SendDrag(node, kMsgDragLeave, accepted);
    return true;
}

bool CRkTestDriver::DropFiles(CRkHeadlessNode* node, const std::vector<std::string>& pathsUtf8)
{
    return DropFiles(node, FromUtf8List(pathsUtf8));
}

bool CRkTestDriver::DropFiles(CRkHeadlessNode* node, const std::vector<CRkString>& paths)
{
    if (!CanInteract(node) || !node->IsDropTarget())
        return false;
    DragFilesOver(node, paths);
    m_dragNode = nullptr;
    bool accepted = false;
    SendDrag(node, kMsgDrop, accepted);
    return accepted;
}
