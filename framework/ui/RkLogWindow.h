// The log window: the list of reported messages with a scroll bar on the
// right and one along the bottom. With a name, it keeps its placement in
// the preferences under name + ".WindowPos.x", ".y", ".width", ".height".
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/RkString.h"
#include "framework/ui/RkWindow.h"

class CRkLogList;
class CRkScrollbar;

enum : uint32_t {
    kLogHorizontalScrollbarId = 313,
    kLogVerticalScrollbarId = 314,
};

// The outer size of a log window shown for the first time, and the least
// saved size that is taken.
constexpr int32_t kLogWindowWidth = 512;
constexpr int32_t kLogWindowHeight = 384;
constexpr int32_t kLogMinSavedWidth = 100;
constexpr int32_t kLogMinSavedHeight = 50;

class CRkLogWindow : public CRkWindow, public IRkMessageHandler {
public:
    // A null title gives "Log Window", a null name an empty one (nothing
    // saved). `flags` are the log window's own; the frame always has a close
    // box and can be resized. Made hidden.
    CRkLogWindow(const CRkString* title, const CRkString* name, uint32_t flags);
    // The log manager forgets a log window that goes, however it goes.
    ~CRkLogWindow() override;

    CRkLogList& GetList() const { return *m_list; }
    CRkScrollbar& GetHorizontalScrollbar() const { return *m_horizontal; }
    CRkScrollbar& GetVerticalScrollbar() const { return *m_vertical; }
    const CRkString& GetName() const { return m_name; }
    uint32_t GetLogFlags() const { return m_logFlags; }

    // The list fills the window but for the bars' thickness.
    void LayoutChildren() override;

    // IRkMessageHandler: the bars' commands (7), the states of the list and
    // the bars (8), and closing (26), which forgets the log manager's
    // pointer and leaves the closing itself to the standard handler; the
    // arrow keys (5) go to the list.
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override;
    using CRkWindow::HandleMessage;

protected:
    void RestorePlacement() override;
    void SavePlacement() override;
    bool ActivatesOnShow() const override { return false; }

private:
    std::string Key(const char* field) const;

    CRkString m_name;
    uint32_t m_logFlags;
    CRkLogList* m_list = nullptr;
    CRkScrollbar* m_horizontal = nullptr;
    CRkScrollbar* m_vertical = nullptr;
    bool m_shownBefore = false;
    bool m_passingKey = false;
};
