// Drag and drop on Win32: the type names, and the components that take
// drops through an OLE drop target and through WM_DROPFILES.
#pragma once

#include <utility>
#include <vector>

#include "framework/core/RkString.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/ui/RkDrag.h"
#include "framework/ui/RkDragImp.h"

#include <shellapi.h>

class CRkWinOleInterface;

class CRkWinDragImp final : public IRkDragImp {
public:
    CRkWinDragImp() = default;
    ~CRkWinDragImp() override;
    CRkWinDragImp(const CRkWinDragImp&) = delete;
    CRkWinDragImp& operator=(const CRkWinDragImp&) = delete;

    // IRkDragImp
    // A name registered again keeps its number; the first is number 3.
    uint32_t RegisterType(const CRkString& name) override;
    // Registers (or revokes) the OLE drop target of the component's window
    // and lets it accept (or refuse) WM_DROPFILES.
    void SetDropTarget(IRkComponentImp& target, bool on) override;

    // Stops `window` being a drop target (it is being destroyed).
    void Forget(HWND window);
    bool IsDropTarget(HWND window) const;

private:
    void Revoke(HWND window);

    std::vector<CRkString> m_types;
    // Each drop target's window with the drop target registered for it
    // (null when OLE refused it and only WM_DROPFILES is taken).
    std::vector<std::pair<HWND, CRkWinOleInterface*>> m_targets;
};

// The files of a drop handle, in their order, as file drag items.
std::vector<RkDragItem> GetDropFiles(HDROP drop);

// The window is being destroyed: it is no drop target any longer.
void ForgetWinDropTarget(HWND window);
