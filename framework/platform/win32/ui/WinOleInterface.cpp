#include "framework/platform/win32/ui/WinOleInterface.h"

#include "framework/core/RkMessageNumbers.h"
#include "framework/platform/win32/ui/WinDrag.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/ui/RkComponentImp.h"

HRESULT STDMETHODCALLTYPE CRkWinOleInterface::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CRkWinOleInterface::AddRef()
{
    return ULONG(::InterlockedIncrement(&m_references));
}

ULONG STDMETHODCALLTYPE CRkWinOleInterface::Release()
{
    const LONG left = ::InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return ULONG(left);
}

HRESULT STDMETHODCALLTYPE CRkWinOleInterface::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    m_items = GetDataObjectFiles(data);
    Deliver(kMsgDragEnter, effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRkWinOleInterface::DragOver(DWORD, POINTL, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    Deliver(kMsgDragOver, effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRkWinOleInterface::DragLeave()
{
    Deliver(kMsgDragLeave, nullptr);
    m_items.clear();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRkWinOleInterface::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    // What is dropped is what the data object holds now.
    if (data)
        m_items = GetDataObjectFiles(data);
    Deliver(kMsgDrop, effect);
    m_items.clear();
    return S_OK;
}

void CRkWinOleInterface::Deliver(uint16_t message, DWORD* effect)
{
    const DWORD allowed = effect ? *effect : 0;
    bool accepted = false;
    // The host is looked up each time: the component may have gone since
    // the drag entered.
    if (IRkComponentHost* host = FindWinComponentHost(m_window)) {
        CRkDrag drag(m_items);
        host->OnDrag(message, drag);
        accepted = drag.IsAccepted();
    }
    if (effect)
        *effect = accepted && (allowed & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

std::vector<RkDragItem> GetDataObjectFiles(IDataObject* data)
{
    if (!data)
        return {};
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (data->GetData(&format, &medium) != S_OK)
        return {};
    std::vector<RkDragItem> items;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal)
        items = GetDropFiles(static_cast<HDROP>(medium.hGlobal));
    ::ReleaseStgMedium(&medium);
    return items;
}
