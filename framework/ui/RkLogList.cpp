#include "framework/ui/RkLogList.h"

#include <algorithm>

#include "framework/core/Report.h"
#include "framework/core/RkColor.h"
#include "framework/core/RkMessage.h"
#include "framework/ui/RkControls.h"
#include "framework/ui/RkGraphicsImp.h"
#include "framework/ui/RkImage.h"
#include "framework/ui/RkUiPlatform.h"
#include "framework/ui/resources/UiResourceIds.h"

namespace {

// The icon resources of the three levels.
constexpr uint32_t kIconResources[3] = {kResourceLogIconStatus, kResourceLogIconWarning, kResourceLogIconError};
// Room for 256 rows before the record buffer first grows.
constexpr uint32_t kInitialRowBytes = 256 * sizeof(RkLogRow);

int32_t ClampOrigin(int32_t origin, int32_t content, int32_t visible)
{
    return std::max(0, std::min(origin, content - visible));
}

} // namespace

CRkLogWindowEntry::CRkLogWindowEntry(uint32_t level, const CRkString* text) : m_level(level)
{
    if (text)
        m_text.Assign(*text);
}

CRkLogList::CRkLogList(CRkContainer* parent, uint32_t id)
    : CRkCustomControl(parent, id), m_rows(kInitialRowBytes), m_font(&GetUiPlatform().GetFont(kFontLogList))
{
    m_rows.SetElementSize(sizeof(RkLogRow));
    for (uint32_t level = 0; level < 3; ++level)
        m_icons[level] = CRkImage::FromResource(kIconResources[level]);
    AddHandler(this, false);
}

CRkLogList::~CRkLogList()
{
    DeleteEntries();
    for (CRkImage* icon : m_icons)
        if (icon)
            icon->Release();
}

void CRkLogList::SetScrollbars(CRkScrollbar* horizontal, CRkScrollbar* vertical)
{
    m_horizontal = horizontal;
    m_vertical = vertical;
    UpdateScrollbars();
}

void CRkLogList::MeasureText(const CRkString& text, const IRkFontImp& font, int32_t& width, uint32_t& lines)
{
    width = 0;
    lines = 1;
    const char16_t* units = text.GetChars();
    const uint32_t length = text.GetLength();
    uint32_t start = 0;
    for (uint32_t i = 0; i <= length; ++i) {
        if (i < length && units[i] != u'\r' && units[i] != u'\n')
            continue;
        if (i > start)
            width = std::max(width, font.MeasureText(CRkString(units + start, i - start)));
        if (i < length)
            ++lines;
        start = i + 1;
    }
}

void CRkLogList::AddEntry(CRkLogWindowEntry* entry)
{
    if (!entry)
        return;
    int32_t textWidth = 0;
    uint32_t lines = 0;
    MeasureText(entry->GetText(), *m_font, textWidth, lines);
    const int32_t textHeight = int32_t(lines) * m_font->GetLineHeight();

    RkLogRow row{entry, 0, m_content.height, textWidth + kLogTextIndent,
                 std::max(textHeight, kLogIconSize) + kLogRowPadding};
    m_rows.AppendElement(&row);
    m_content.width = std::max(m_content.width, row.width);
    m_content.height += row.height;
    UpdateScrollbars();
    Redraw();
}

void CRkLogList::Clear()
{
    DeleteEntries();
    m_rows.SetCount(0);
    m_selection = kLogNoSelection;
    m_content = {};
    m_origin = {};
    UpdateScrollbars();
    Redraw();
}

void CRkLogList::DeleteEntries()
{
    for (uint32_t i = 0; i < m_rows.GetCount(); ++i)
        delete RowAt(i)->entry;
}

const RkLogRow* CRkLogList::RowAt(uint32_t index) const
{
    return reinterpret_cast<const RkLogRow*>(m_rows.ElementAt(index));
}

bool CRkLogList::GetRow(uint32_t index, RkLogRow& out) const
{
    if (index >= m_rows.GetCount())
        return false;
    m_rows.GetElement(index, &out);
    return true;
}

void CRkLogList::SetSelection(uint32_t index)
{
    if (index != kLogNoSelection && index >= m_rows.GetCount())
        index = kLogNoSelection;
    if (index == m_selection)
        return;
    m_selection = index;
    Redraw();
}

void CRkLogList::SetOrigin(int32_t x, int32_t y)
{
    const RkSize visible = GetSize();
    const RkPoint origin{ClampOrigin(x, m_content.width, visible.width),
                         ClampOrigin(y, m_content.height, visible.height)};
    const bool moved = origin != m_origin;
    m_origin = origin;
    UpdateScrollbars();
    if (moved)
        Redraw();
}

void CRkLogList::ScrollIntoView(uint32_t index)
{
    const RkLogRow* row = index < m_rows.GetCount() ? RowAt(index) : nullptr;
    if (!row)
        return;
    const int32_t visible = GetSize().height;
    int32_t y = m_origin.y;
    if (row->top < y)
        y = row->top;
    else if (row->top + row->height > y + visible)
        y = row->top + row->height - visible;
    SetOrigin(m_origin.x, y);
}

uint32_t CRkLogList::RowAtY(int32_t y) const
{
    const uint32_t count = m_rows.GetCount();
    if (count == 0 || y < 0 || y >= m_content.height)
        return kLogNoSelection;
    // Tops rise with the index: find the last row that starts at or above y.
    uint32_t low = 0, high = count;
    while (high - low > 1) {
        const uint32_t middle = low + (high - low) / 2;
        if (RowAt(middle)->top <= y)
            low = middle;
        else
            high = middle;
    }
    const RkLogRow* row = RowAt(low);
    return y >= row->top && y < row->top + row->height ? low : kLogNoSelection;
}

void CRkLogList::UpdateScrollbars()
{
    const RkSize visible = GetSize();
    if (m_horizontal) {
        m_horizontal->SetRange(m_content.width, visible.width);
        m_horizontal->SetValue(m_origin.x);
    }
    if (m_vertical) {
        m_vertical->SetRange(m_content.height, visible.height);
        m_vertical->SetValue(m_origin.y);
    }
}

void CRkLogList::SetBounds(int32_t x, int32_t y, int32_t width, int32_t height)
{
    CRkCustomControl::SetBounds(x, y, width, height);
    // A larger list may leave the origin past the end of the content.
    SetOrigin(m_origin.x, m_origin.y);
}

bool CRkLogList::HandleKey(const CRkKeyboardMessage& key)
{
    if (key.value1 != kKeyPress && key.value1 != kKeyRepeat)
        return false;
    if (key.keyCode != kKeyUp && key.keyCode != kKeyDown)
        return false;
    const uint32_t count = m_rows.GetCount();
    if (count == 0)
        return true;
    uint32_t next = m_selection;
    if (key.keyCode == kKeyUp)
        next = m_selection == kLogNoSelection ? count - 1 : (m_selection > 0 ? m_selection - 1 : 0);
    else
        next = m_selection == kLogNoSelection ? 0 : std::min(m_selection + 1, count - 1);
    if (next != m_selection) {
        m_selection = next;
        ScrollIntoView(next);
        Redraw();
    }
    return true;
}

bool CRkLogList::HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget&)
{
    switch (message) {
    case kMsgMouse: {
        const CRkMouseMessage* mouse = dynamic_cast<const CRkMouseMessage*>(payload);
        if (!mouse || mouse->value1 != kMouseDown)
            return false;
        // The arrow keys go where the user clicked.
        if (GetImp() && !GetImp()->HasFocus())
            GetImp()->SetFocus();
        SetSelection(RowAtY(mouse->y + m_origin.y));
        return true;
    }
    case kMsgLineDown:
        SetOrigin(m_origin.x, m_origin.y + kLogLineScroll);
        return true;
    case kMsgLineUp:
        SetOrigin(m_origin.x, m_origin.y - kLogLineScroll);
        return true;
    case kMsgKeyDown: {
        const CRkKeyboardMessage* key = dynamic_cast<const CRkKeyboardMessage*>(payload);
        return key && HandleKey(*key);
    }
    default:
        return false;
    }
}

void CRkLogList::Draw(IRkGraphicsContextImp& context)
{
    const RkSize visible = GetSize();
    context.Erase({0, 0, visible.width, visible.height});
    const CRkColor grid(192, 192, 192);
    const CRkColor text(kSysColorWindowText);
    const CRkColor selectedText(kSysColorSelectedText);
    const int32_t lineHeight = m_font->GetLineHeight();

    const uint32_t count = m_rows.GetCount();
    uint32_t first = RowAtY(m_origin.y);
    if (first == kLogNoSelection)
        first = count;
    for (uint32_t i = first; i < count; ++i) {
        const RkLogRow& row = *RowAt(i);
        const int32_t x = row.left - m_origin.x;
        const int32_t y = row.top - m_origin.y;
        if (y >= visible.height)
            break;
        const bool selected = i == m_selection;
        if (selected)
            context.FillRect({x, y, row.width, row.height}, CRkColor(kSysColorSelection));
        context.DrawLine(0, y + row.height - 1, visible.width, y + row.height - 1, grid);
        const uint32_t level = row.entry->GetLevel();
        if (level < 3 && m_icons[level]) {
            const CRkImage& icon = *m_icons[level];
            context.DrawImage(icon.GetImp(), {x + 3, y + 3, icon.GetWidth(), icon.GetHeight()});
        }
        // The text lines, split as they were measured.
        const CRkString& message = row.entry->GetText();
        const char16_t* units = message.GetChars();
        const uint32_t length = message.GetLength();
        int32_t lineY = y + 3;
        uint32_t start = 0;
        for (uint32_t k = 0; k <= length; ++k) {
            if (k < length && units[k] != u'\r' && units[k] != u'\n')
                continue;
            if (k > start)
                context.DrawText(x + kLogTextIndent, lineY, CRkString(units + start, k - start),
                                 selected ? selectedText : text, *m_font);
            lineY += lineHeight;
            start = k + 1;
        }
    }
}
