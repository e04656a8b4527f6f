#include "framework/platform/headless/HeadlessDesktop.h"

#include <algorithm>

#include "framework/core/RkSystemImp.h"
#include "framework/platform/headless/HeadlessMenuBarImp.h"
#include "framework/platform/headless/HeadlessWindowImp.h"
#include "framework/ui/RkDrag.h"

namespace {

bool IsOwnedBy(const CRkHeadlessWindowImp* window, const CRkHeadlessWindowImp* owner)
{
    // Bounded: an owner cycle cannot hang the walk.
    size_t depth = 0;
    for (const CRkHeadlessWindowImp* up = window->GetOwner(); up && depth < 1000; up = up->GetOwner(), ++depth)
        if (up == owner)
            return true;
    return false;
}

} // namespace

CRkHeadlessDesktop& CRkHeadlessDesktop::Get()
{
    static CRkHeadlessDesktop desktop;
    return desktop;
}

CRkHeadlessDesktop::CRkHeadlessDesktop()
{
    Reset();
}

void CRkHeadlessDesktop::Reset()
{
    m_boxAnswers.clear();
    m_boxes.clear();
    m_dialogAnswers.clear();
    m_dialogs.clear();
    m_dragTypes.assign(1, CRkString(u"File"));
    m_dragRegistrations = 0;
}

std::vector<CRkHeadlessWindowImp*> CRkHeadlessDesktop::GetVisibleWindows() const
{
    std::vector<CRkHeadlessWindowImp*> visible;
    for (CRkHeadlessWindowImp* window : m_windows)
        if (window->IsVisible())
            visible.push_back(window);
    return visible;
}

int32_t CRkHeadlessDesktop::GetZIndex(const CRkHeadlessWindowImp* window) const
{
    auto found = std::find(m_windows.begin(), m_windows.end(), window);
    return found == m_windows.end() ? -1 : int32_t(found - m_windows.begin());
}

void CRkHeadlessDesktop::QueueMessageBoxAnswer(uint32_t answer)
{
    m_boxAnswers.push_back(answer);
}

uint32_t CRkHeadlessDesktop::ShowMessageBox(const CRkString& text, const CRkString& caption, uint32_t buttons)
{
    uint32_t answer = buttons == kMessageBoxOK ? kMessageBoxAnswerOK : kMessageBoxAnswerCancel;
    if (!m_boxAnswers.empty()) {
        if (buttons != kMessageBoxOK)
            answer = m_boxAnswers.front() == kMessageBoxAnswerOK ? kMessageBoxAnswerOK : kMessageBoxAnswerCancel;
        m_boxAnswers.pop_front();
    }
    m_boxes.push_back(RkMessageBoxRecord{text, caption, buttons, answer});
    return answer;
}

void CRkHeadlessDesktop::QueueFileDialogAnswer(const CRkString& path)
{
    m_dialogAnswers.emplace_back(path);
}

void CRkHeadlessDesktop::QueueFileDialogCancel()
{
    m_dialogAnswers.emplace_back(std::nullopt);
}

bool CRkHeadlessDesktop::RunFileDialog(uint32_t kind, const CRkString& title, const std::vector<RkFileFilter>& filters,
                                       uint32_t preselected, CRkString& chosenPath)
{
    RkFileDialogRecord record{kind, title, filters, preselected, false, CRkString()};
    if (!m_dialogAnswers.empty()) {
        if (m_dialogAnswers.front()) {
            record.confirmed = true;
            record.path = *m_dialogAnswers.front();
        }
        m_dialogAnswers.pop_front();
    }
    chosenPath.Assign(record.path);
    m_dialogs.push_back(std::move(record));
    return m_dialogs.back().confirmed;
}

uint32_t CRkHeadlessDesktop::RegisterDragType(const CRkString& name)
{
    ++m_dragRegistrations;
    for (size_t i = 0; i < m_dragTypes.size(); ++i)
        if (m_dragTypes[i].Compare(name, true) == 0)
            return kDragTypeFile + uint32_t(i);
    m_dragTypes.push_back(name);
    return kDragTypeFile + uint32_t(m_dragTypes.size() - 1);
}

void CRkHeadlessDesktop::AddWindow(CRkHeadlessWindowImp* window)
{
    m_windows.push_back(window);
}

void CRkHeadlessDesktop::RemoveWindow(CRkHeadlessWindowImp* window)
{
    std::erase(m_windows, window);
    for (CRkHeadlessWindowImp* other : m_windows)
        if (other->GetOwner() == window)
            other->ForgetOwner();
    for (CRkHeadlessMenuBarImp* menuBar : m_menuBars)
        if (menuBar->GetWindow() == window)
            menuBar->ForgetWindow();
    if (m_active == window) {
        // The window is going: it hears nothing more, the next one is told.
        m_active = nullptr;
        ActivateNext(window);
    }
}

void CRkHeadlessDesktop::Raise(CRkHeadlessWindowImp* window)
{
    if (GetZIndex(window) < 0)
        return;
    // The window, then the windows it owns above it, in their order.
    std::vector<CRkHeadlessWindowImp*> moved, rest;
    for (CRkHeadlessWindowImp* other : m_windows)
        if (other != window && IsOwnedBy(other, window))
            moved.push_back(other);
        else if (other != window)
            rest.push_back(other);
    moved.push_back(window);
    moved.insert(moved.end(), rest.begin(), rest.end());
    m_windows = std::move(moved);
}

void CRkHeadlessDesktop::Activate(CRkHeadlessWindowImp* window)
{
    if (window == m_active)
        return;
    CRkHeadlessWindowImp* previous = m_active;
    m_active = window;
    if (previous)
        previous->GetWindowHost().OnWindowActivated(false);
    // The previous host may have changed the active window while it heard.
    if (window && m_active == window)
        window->GetWindowHost().OnWindowActivated(true);
}

void CRkHeadlessDesktop::ActivateNext(CRkHeadlessWindowImp* leaving)
{
    if (m_active && m_active != leaving)
        return;
    CRkHeadlessWindowImp* next = nullptr;
    for (CRkHeadlessWindowImp* window : m_windows) {
        if (window != leaving && window->IsVisible()) {
            next = window;
            break;
        }
    }
    Activate(next);
}

void CRkHeadlessDesktop::AddMenuBar(CRkHeadlessMenuBarImp* menuBar)
{
    m_menuBars.push_back(menuBar);
}

void CRkHeadlessDesktop::RemoveMenuBar(CRkHeadlessMenuBarImp* menuBar)
{
    std::erase(m_menuBars, menuBar);
}
