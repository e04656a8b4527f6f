#include "framework/platform/headless/HeadlessMenuBarImp.h"

#include "framework/platform/headless/HeadlessDesktop.h"
#include "framework/platform/headless/HeadlessWindowImp.h"

CRkHeadlessMenuBarImp::CRkHeadlessMenuBarImp(IRkMenuBarHost& host, CRkHeadlessWindowImp* window)
    : m_host(host), m_window(window)
{
    CRkHeadlessDesktop::Get().AddMenuBar(this);
}

CRkHeadlessMenuBarImp::~CRkHeadlessMenuBarImp()
{
    if (m_window && m_window->GetMenuBar() == this)
        m_window->SetMenuBar(nullptr);
    CRkHeadlessDesktop::Get().RemoveMenuBar(this);
}

bool CRkHeadlessMenuBarImp::GetItemState(uint32_t command, ItemState& out) const
{
    auto found = m_states.find(command);
    if (found == m_states.end())
        return false;
    out = found->second;
    return true;
}

void CRkHeadlessMenuBarImp::Build(const CRkMenuBar&)
{
    // The model is the framework's: the items become known through their
    // states, which the framework sets after building.
    ++m_buildCount;
}

void CRkHeadlessMenuBarImp::SetItemState(uint32_t command, bool enabled, bool checked)
{
    m_states[command] = ItemState{enabled, checked};
}
