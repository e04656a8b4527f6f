#include "framework/platform/win32/ui/WinDrag.h"

#include <algorithm>
#include <string>

#include "framework/core/RkMessageNumbers.h"
#include "framework/platform/win32/Win32Text.h"
#include "framework/platform/win32/ui/WinOleInterface.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/ui/RkComponentImp.h"

CRkWinDragImp::~CRkWinDragImp()
{
    // The windows are gone by now; only the references are given back.
    for (auto& [window, target] : m_targets)
        if (target)
            target->Release();
}

uint32_t CRkWinDragImp::RegisterType(const CRkString& name)
{
    for (size_t i = 0; i < m_types.size(); ++i)
        if (m_types[i].Compare(name, true) == 0)
            return kDragTypeFile + uint32_t(i);
    m_types.push_back(name);
    return kDragTypeFile + uint32_t(m_types.size() - 1);
}

void CRkWinDragImp::SetDropTarget(IRkComponentImp& target, bool on)
{
    HWND window = GetWinComponentHandle(target);
    if (!window)
        return;
    // A window registered before is registered afresh: its handle may be
    // a new window's that reuses the number of one that is gone.
    Revoke(window);
    if (on) {
        auto* dropTarget = new CRkWinOleInterface(window);
        if (FAILED(::RegisterDragDrop(window, dropTarget))) {
            dropTarget->Release();
            dropTarget = nullptr;
        }
        m_targets.emplace_back(window, dropTarget);
    }
    ::DragAcceptFiles(window, on ? TRUE : FALSE);
}

void CRkWinDragImp::Revoke(HWND window)
{
    auto found =
        std::find_if(m_targets.begin(), m_targets.end(), [window](const auto& t) { return t.first == window; });
    if (found == m_targets.end())
        return;
    if (found->second) {
        ::RevokeDragDrop(window);
        found->second->Release();
    }
    m_targets.erase(found);
}

void CRkWinDragImp::Forget(HWND window)
{
    Revoke(window);
}

bool CRkWinDragImp::IsDropTarget(HWND window) const
{
    return std::any_of(
        m_targets.begin(), m_targets.end(), [window](const auto& t) { return t.first == window; });
}

std::vector<RkDragItem> GetDropFiles(HDROP drop)
{
    std::vector<RkDragItem> items;
    if (!drop)
        return items;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    items.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        std::wstring path(size_t(length) + 1, L'\0');
        const UINT copied = ::DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(std::min(copied, length));
        RkDragItem item;
        item.type = kDragTypeFile;
        AssignWide(item.path, path);
        items.push_back(std::move(item));
    }
    return items;
}

IRkDragImp& GetWinDrag()
{
    static CRkWinDragImp drag;
    return drag;
}

void ForgetWinDropTarget(HWND window)
{
    static_cast<CRkWinDragImp&>(GetWinDrag()).Forget(window);
}

void HandleWinDropFiles(HWND window, HDROP drop)
{
    std::vector<RkDragItem> items = GetDropFiles(drop);
    if (drop)
        ::DragFinish(drop);
    // A drop that arrives this way had no enter before it: the host hears
    // the enter (and answers whether it takes the files), then the drop.
    if (IRkComponentHost* host = FindWinComponentHost(window)) {
        CRkDrag enter(items);
        host->OnDrag(kMsgDragEnter, enter);
    }
    if (IRkComponentHost* host = FindWinComponentHost(window)) {
        CRkDrag dropped(std::move(items));
        host->OnDrag(kMsgDrop, dropped);
    }
}
