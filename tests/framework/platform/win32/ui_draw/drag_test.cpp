// Files dragged onto a drop target: through the OLE drop target with a
// data object carrying CF_HDROP, and through WM_DROPFILES.
#include "framework/platform/win32/Win32Api.h"

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestComponentWindows.h"
#include "framework/core/RkMessageNumbers.h"
#include "framework/platform/win32/ui/WinDrag.h"
#include "framework/platform/win32/ui/WinOleInterface.h"
#include "framework/platform/win32/ui/WinUiShared.h"

namespace {

// A DROPFILES block with the wide paths, as the shell hands it over.
HGLOBAL BuildDropHandle(const std::vector<std::wstring>& paths)
{
    size_t units = 1;
    for (const std::wstring& path : paths)
        units += path.size() + 1;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + units * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& path : paths) {
        std::memcpy(text, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        text += path.size() + 1;
    }
    ::GlobalUnlock(block);
    return block;
}

// A data object that carries CF_HDROP (or nothing when given no paths).
class FileDataObject final : public IDataObject {
public:
    explicit FileDataObject(std::vector<std::wstring> paths) : m_paths(std::move(paths)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = BuildDropHandle(m_paths);
        medium->pUnkForRelease = nullptr;
        ++gets;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return !m_paths.empty() && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                                                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    int gets = 0;

private:
    std::vector<std::wstring> m_paths;
    ULONG m_references = 1;
};

std::vector<uint16_t> Messages(const TestHost& host)
{
    std::vector<uint16_t> messages;
    for (const auto& drag : host.drags)
        messages.push_back(drag.message);
    return messages;
}

std::vector<std::u16string> U16(const std::vector<std::wstring>& paths)
{
    std::vector<std::u16string> out;
    for (const std::wstring& path : paths)
        out.emplace_back(reinterpret_cast<const char16_t*>(path.c_str()), path.size());
    return out;
}

class WinDrag : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); }
    static void TearDownTestSuite() { ::OleUninitialize(); }
    void SetUp() override
    {
        window = CreateTestWindow(100, 80);
        ASSERT_TRUE(window);
        SetTestWindowHost(window, &host);
    }
    void TearDown() override
    {
        ::DestroyWindow(window);
        PumpMessages();
    }

    HWND window = nullptr;
    TestHost host;
    // A long path (past MAX_PATH) and one beyond Latin-1 among them.
    const std::vector<std::wstring> paths{L"C:\\books\\tale.lml", L"C:\\b\\" + std::wstring(300, L'n') + L".lml",
                                          L"C:\\\u0411\u0443\u043a\u0432\u044b\\\u00e9t\u00e9.txt"};
};

TEST_F(WinDrag, TypesAreNumberedFromThreeInTheOrderTheyCome)
{
    CRkWinDragImp drag;
    EXPECT_EQ(drag.RegisterType(CRkString(u"File")), 3u);
    EXPECT_EQ(drag.RegisterType(CRkString(u"Text")), 4u);
    EXPECT_EQ(drag.RegisterType(CRkString(u"File")), 3u);
    EXPECT_EQ(drag.RegisterType(CRkString(u"Picture")), 5u);
}

TEST_F(WinDrag, ADropTargetIsRegisteredWithOleAndTakesDroppedFiles)
{
    TestComponentImp component(window);
    IRkDragImp& drag = GetWinDrag();
    drag.SetDropTarget(component, true);
    EXPECT_TRUE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    auto* other = new CRkWinOleInterface(window);
    EXPECT_EQ(::RegisterDragDrop(window, other), DRAGDROP_E_ALREADYREGISTERED);
    // Turning it on again keeps one registration.
    drag.SetDropTarget(component, true);
    EXPECT_EQ(::RegisterDragDrop(window, other), DRAGDROP_E_ALREADYREGISTERED);

    // OLE keeps the registered target in the window's property, with a
    // reference of its own besides the drag layer's.
    auto* registered = static_cast<IDropTarget*>(::GetPropW(window, L"OleDropTargetInterface"));
    ASSERT_TRUE(registered);
    EXPECT_EQ(registered->AddRef(), 3u);
    registered->Release();
    FileDataObject data(paths);
    DWORD effect = DROPEFFECT_COPY;
    registered->DragEnter(&data, MK_LBUTTON, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY;
    registered->Drop(&data, MK_LBUTTON, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    ASSERT_EQ(Messages(host), (std::vector<uint16_t>{kMsgDragEnter, kMsgDrop}));
    EXPECT_EQ(host.drags[1].files, U16(paths));

    drag.SetDropTarget(component, false);
    EXPECT_FALSE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(::RevokeDragDrop(window), DRAGDROP_E_NOTREGISTERED);
    EXPECT_FALSE(static_cast<CRkWinDragImp&>(drag).IsDropTarget(window));

    // A window that goes while it is a drop target is forgotten.
    drag.SetDropTarget(component, true);
    EXPECT_TRUE(static_cast<CRkWinDragImp&>(drag).IsDropTarget(window));
    ::DestroyWindow(window);
    EXPECT_FALSE(static_cast<CRkWinDragImp&>(drag).IsDropTarget(window));
    window = CreateTestWindow(10, 10);
    other->Release();

    // A component without a native window is left alone.
    TestComponentImp none(nullptr);
    drag.SetDropTarget(none, true);
    EXPECT_FALSE(static_cast<CRkWinDragImp&>(drag).IsDropTarget(nullptr));
}

TEST_F(WinDrag, TheOleTargetDeliversEnterOverAndDropWithTheFilesInOrder)
{
    auto* target = new CRkWinOleInterface(window);
    FileDataObject data(paths);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragEnter(&data, MK_LBUTTON, POINTL{5, 5}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, POINTL{6, 6}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(&data, MK_LBUTTON, POINTL{6, 6}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    ASSERT_EQ(Messages(host), (std::vector<uint16_t>{kMsgDragEnter, kMsgDragOver, kMsgDrop}));
    for (const auto& seen : host.drags)
        EXPECT_EQ(seen.files, U16(paths)) << seen.message;
    target->Release();
}

TEST_F(WinDrag, ARefusedDragHasNoEffect)
{
    auto* target = new CRkWinOleInterface(window);
    FileDataObject data(paths);
    host.accept = false;
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(&data, 0, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    target->DragOver(0, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_EQ(Messages(host), (std::vector<uint16_t>{kMsgDragEnter, kMsgDragOver, kMsgDragLeave}));

    // Accepted, but the source allows only moving: nothing is copied.
    host.accept = true;
    effect = DROPEFFECT_MOVE;
    target->DragEnter(&data, 0, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    target->DragLeave();

    // No files in the data object.
    host.drags.clear();
    FileDataObject empty({});
    effect = DROPEFFECT_COPY;
    target->DragEnter(&empty, 0, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    ASSERT_EQ(host.drags.size(), 1u);
    EXPECT_TRUE(host.drags[0].files.empty());
    target->DragLeave();

    // The component went away during the drag.
    host.drags.clear();
    effect = DROPEFFECT_COPY;
    target->DragEnter(&data, 0, POINTL{}, &effect);
    SetTestWindowHost(window, nullptr);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(&data, 0, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(Messages(host), (std::vector<uint16_t>{kMsgDragEnter}));
    EXPECT_EQ(target->DragEnter(&data, 0, POINTL{}, nullptr), E_INVALIDARG);
    target->Release();
}

TEST_F(WinDrag, TheOleTargetCountsItsReferences)
{
    auto* target = new CRkWinOleInterface(window);
    EXPECT_EQ(target->AddRef(), 2u);
    void* asked = nullptr;
    ASSERT_EQ(target->QueryInterface(IID_IDropTarget, &asked), S_OK);
    EXPECT_EQ(asked, static_cast<IDropTarget*>(target));
    ASSERT_EQ(target->QueryInterface(IID_IUnknown, &asked), S_OK);
    EXPECT_EQ(target->QueryInterface(IID_IDataObject, &asked), E_NOINTERFACE);
    EXPECT_EQ(asked, nullptr);
    EXPECT_EQ(target->Release(), 3u);
    EXPECT_EQ(target->Release(), 2u);
    EXPECT_EQ(target->Release(), 1u);
    EXPECT_EQ(target->Release(), 0u);
}

TEST_F(WinDrag, AWmDropFilesDeliversEnterThenDropAndFreesTheHandle)
{
    HGLOBAL drop = BuildDropHandle(paths);
    ASSERT_TRUE(::PostMessageW(window, WM_DROPFILES, WPARAM(drop), 0));
    PumpMessages();
    ASSERT_EQ(Messages(host), (std::vector<uint16_t>{kMsgDragEnter, kMsgDrop}));
    EXPECT_EQ(host.drags[0].files, U16(paths));
    EXPECT_EQ(host.drags[1].files, U16(paths));
    EXPECT_EQ(::GlobalSize(drop), 0u) << "the drop handle was not freed";

    // A window without a framework component frees it too, and nothing
    // else happens.
    SetTestWindowHost(window, nullptr);
    HGLOBAL unclaimed = BuildDropHandle(paths);
    ::PostMessageW(window, WM_DROPFILES, WPARAM(unclaimed), 0);
    PumpMessages();
    EXPECT_EQ(host.drags.size(), 2u);
    EXPECT_EQ(::GlobalSize(unclaimed), 0u);
}

} // namespace
