#include "framework/application/RkWindowList.h"

#include "framework/core/RkMessageTarget.h"

#include <algorithm>

void CRkWindowList::Add(IRkMessageTarget* window)
{
    if (window && !Contains(window))
        m_windows.push_back(window);
}

bool CRkWindowList::Remove(IRkMessageTarget* window)
{
    auto found = std::find(m_windows.begin(), m_windows.end(), window);
    if (found == m_windows.end())
        return false;
    m_windows.erase(found);
    return true;
}

bool CRkWindowList::Contains(const IRkMessageTarget* window) const
{
    return std::find(m_windows.begin(), m_windows.end(), window) != m_windows.end();
}

IRkMessageTarget* CRkWindowList::GetFirst() const
{
    return m_windows.empty() ? nullptr : m_windows.front();
}

IRkMessageTarget* CRkWindowList::GetLast() const
{
    return m_windows.empty() ? nullptr : m_windows.back();
}

IRkMessageTarget* CRkWindowList::GetAt(uint32_t index) const
{
    return index < m_windows.size() ? m_windows[index] : nullptr;
}

uint32_t CRkWindowList::GetVisibleCount() const
{
    uint32_t count = 0;
    for (IRkMessageTarget* window : m_windows) {
        const IRkListedWindow* listed = dynamic_cast<const IRkListedWindow*>(window);
        if (listed && listed->IsShown())
            ++count;
    }
    return count;
}
