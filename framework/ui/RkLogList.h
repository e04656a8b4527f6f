// The log window's list: one row per reported message, each with the icon
// of its level and its text lines, in a content area larger than the list
// that scrolls by its origin. Rows are selected by mouse and arrow keys.
#pragma once

#include <cstdint>

#include "framework/core/MemBuffer.h"
#include "framework/core/RkString.h"
#include "framework/ui/RkCustomControl.h"

class CRkImage;
class CRkKeyboardMessage;
class CRkScrollbar;

// One message of the log: its level (kReportStatus, kReportWarning or
// kReportError) and its text.
class CRkLogWindowEntry {
public:
    // A null text gives an empty one.
    CRkLogWindowEntry(uint32_t level, const CRkString* text);
    virtual ~CRkLogWindowEntry() = default;

    uint32_t GetLevel() const { return m_level; }
    const CRkString& GetText() const { return m_text; }

private:
    uint32_t m_level;
    CRkString m_text;
};

// Where a row sits in the content: left is always 0, top the sum of the
// heights of the rows before it.
struct RkLogRow {
    CRkLogWindowEntry* entry; // owned by the list
    int32_t left;
    int32_t top;
    int32_t width;  // text width + 22
    int32_t height; // max(text height, 16) + 6
};

enum : uint32_t {
    kLogListId = 312,
    kLogNoSelection = 0xFFFFFFFF,
};

// Pixels: the icon column, the icon's size, the padding around a row's
// contents, and one line of wheel scrolling.
constexpr int32_t kLogTextIndent = 22;
constexpr int32_t kLogIconSize = 16;
constexpr int32_t kLogRowPadding = 6;
constexpr int32_t kLogLineScroll = 22;

class CRkLogList : public CRkCustomControl, public IRkMessageHandler {
public:
    explicit CRkLogList(CRkContainer* parent, uint32_t id = kLogListId);
    ~CRkLogList() override;

    // The bars that show and move the origin (not owned; either may be null).
    void SetScrollbars(CRkScrollbar* horizontal, CRkScrollbar* vertical);

    // Appends a row for `entry`, which the list owns from now on, and redraws.
    void AddEntry(CRkLogWindowEntry* entry);
    // Deletes every entry; content size, origin and selection start again.
    void Clear();

    uint32_t GetRowCount() const { return m_rows.GetCount(); }
    // The row record; false when there is no row `index`.
    bool GetRow(uint32_t index, RkLogRow& out) const;
    uint32_t GetSelection() const { return m_selection; }
    // Selects a row (kLogNoSelection for none), redrawing on a change.
    void SetSelection(uint32_t index);

    RkPoint GetOrigin() const { return m_origin; }
    RkSize GetContentSize() const { return m_content; }
    // Moves the origin, clamped to [0, content - visible], and the bars with it.
    void SetOrigin(int32_t x, int32_t y);
    // Moves the origin just enough for the row to be seen: a row above the
    // visible part comes to its top, a row below it to its bottom.
    void ScrollIntoView(uint32_t index);

    // Width of the widest line and the number of lines: every CR and every
    // LF ends a line.
    static void MeasureText(const CRkString& text, const IRkFontImp& font, int32_t& width, uint32_t& lines);

    // CRkComponent
    void SetBounds(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void Draw(IRkGraphicsContextImp& context) override;
    const IRkFontImp& GetListFont() const { return *m_font; }

    // IRkMessageHandler: the mouse (1), line scrolling (2, 3) and the arrow keys (5).
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override;
    using CRkCustomControl::HandleMessage;

private:
    const RkLogRow* RowAt(uint32_t index) const;
    // The row whose vertical extent holds content position y, or none.
    uint32_t RowAtY(int32_t y) const;
    bool HandleKey(const CRkKeyboardMessage& key);
    void UpdateScrollbars();
    void DeleteEntries();

    CMemBuffer m_rows;
    uint32_t m_selection = kLogNoSelection;
    const IRkFontImp* m_font;
    CRkImage* m_icons[3] = {nullptr, nullptr, nullptr}; // by level
    RkPoint m_origin;
    RkSize m_content;
    CRkScrollbar* m_horizontal = nullptr;
    CRkScrollbar* m_vertical = nullptr;
};
