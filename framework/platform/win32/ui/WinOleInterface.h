// The OLE drop target of a component's window: files dragged over it (as
// CF_HDROP) reach the component's host as the drag messages 31 to 34.
#pragma once

#include <vector>

#include "framework/platform/win32/Win32Api.h"

#include <ole2.h>

#include "framework/ui/RkDrag.h"

class CRkWinOleInterface final : public IDropTarget {
public:
    // Starts with one reference, the creator's.
    explicit CRkWinOleInterface(HWND window) : m_window(window) {}
    CRkWinOleInterface(const CRkWinOleInterface&) = delete;
    CRkWinOleInterface& operator=(const CRkWinOleInterface&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDropTarget: enter 31, over 33, leave 32, drop 34. The effect is a
    // copy when the host accepts the drag (and the source allows copying),
    // none otherwise.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    ~CRkWinOleInterface() = default;
    // Gives `message` with the current items to the window's host and sets
    // `effect` from its answer.
    void Deliver(uint16_t message, DWORD* effect);

    HWND m_window;
    LONG m_references = 1;
    // The files of the drag in progress, read when it entered.
    std::vector<RkDragItem> m_items;
};

// The files a data object carries as CF_HDROP, in their order; empty when
// it carries none.
std::vector<RkDragItem> GetDataObjectFiles(IDataObject* data);
