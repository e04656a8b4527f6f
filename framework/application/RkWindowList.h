// The application's open windows, in the order they were opened. Windows
// enter and leave the list as they are created and destroyed; the list
// does not own them.
#pragma once

#include <cstdint>
#include <vector>

class IRkMessageTarget;

// What the list can ask of a window beyond being a message target.
class IRkListedWindow {
public:
    virtual ~IRkListedWindow() = default;
    virtual bool IsShown() const = 0;
};

class CRkWindowList {
public:
    // A window already listed is not added twice.
    void Add(IRkMessageTarget* window);
    // False when the window was not listed.
    bool Remove(IRkMessageTarget* window);
    bool Contains(const IRkMessageTarget* window) const;

    uint32_t GetCount() const { return uint32_t(m_windows.size()); }
    bool IsEmpty() const { return m_windows.empty(); }
    // Null when the list is empty or the index is past its end.
    IRkMessageTarget* GetFirst() const;
    IRkMessageTarget* GetLast() const;
    IRkMessageTarget* GetAt(uint32_t index) const;
    // The windows that are shown (those that say so through IRkListedWindow).
    uint32_t GetVisibleCount() const;

private:
    std::vector<IRkMessageTarget*> m_windows;
};
