// A headless menu bar. It cannot read the framework's menu model, so it
// keeps what the platform is told: how often the bar was built and the
// state of every item by command. The test driver opens a menu (the host's
// OnMenuOpening, which asks for the states) and chooses an item.
#pragma once

#include <cstdint>
#include <map>

#include "framework/ui/RkMenuBarImp.h"

class CRkHeadlessWindowImp;

class CRkHeadlessMenuBarImp final : public IRkMenuBarImp {
public:
    struct ItemState {
        bool enabled = true;
        bool checked = false;
    };

    CRkHeadlessMenuBarImp(IRkMenuBarHost& host, CRkHeadlessWindowImp* window);
    CRkHeadlessMenuBarImp(const CRkHeadlessMenuBarImp&) = delete;
    CRkHeadlessMenuBarImp& operator=(const CRkHeadlessMenuBarImp&) = delete;
    ~CRkHeadlessMenuBarImp() override;

    IRkMenuBarHost& GetHost() const { return m_host; }
    // The window the bar was made for; null once that window is gone.
    CRkHeadlessWindowImp* GetWindow() const { return m_window; }
    void ForgetWindow() { m_window = nullptr; }
    uint32_t GetBuildCount() const { return m_buildCount; }
    // False when the command's state was never set.
    bool GetItemState(uint32_t command, ItemState& out) const;
    const std::map<uint32_t, ItemState>& GetItemStates() const { return m_states; }

    // IRkMenuBarImp
    void Build(const CRkMenuBar& model) override;
    void SetItemState(uint32_t command, bool enabled, bool checked) override;

private:
    IRkMenuBarHost& m_host;
    CRkHeadlessWindowImp* m_window;
    uint32_t m_buildCount = 0;
    std::map<uint32_t, ItemState> m_states;
};
