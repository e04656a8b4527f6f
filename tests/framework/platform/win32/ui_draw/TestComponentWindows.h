// Stand-ins for the component windows that the drawing and drag pieces ask
// for: a test says which native window a component has, which host a
// window shows and which framework window is active.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/core/RkString.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/ui/RkComponentImp.h"
#include "framework/ui/RkDrag.h"

// A component implementation that is nothing but its native window.
class TestComponentImp final : public IRkComponentImp {
public:
    explicit TestComponentImp(HWND window) : window(window) {}
    uint32_t GetKind() const override { return 10; }
    void SetBounds(const RkRect&) override {}
    RkRect GetBounds() const override { return RkRect{}; }
    void SetVisible(bool) override {}
    bool IsVisible() const override { return true; }
    void SetEnabled(bool) override {}
    bool IsEnabled() const override { return true; }
    void SetChecked(bool) override {}
    bool IsChecked() const override { return false; }
    void SetText(const CRkString&) override {}
    void GetText(CRkString& out) const override { out.Empty(); }
    void SetProperty(uint32_t, int32_t) override {}
    int32_t GetProperty(uint32_t) const override { return 0; }
    RkSize GetNaturalSize(int32_t) const override { return RkSize{}; }
    const IRkFontImp& GetFont() const override;
    void Redraw() override {}
    void Update() override {}
    void SetFocus() override {}
    bool HasFocus() const override { return false; }

    HWND window;
};

// A host that records the drag messages it gets (with the files) and
// accepts the drag when told to; painting calls `paint` when set.
class TestHost : public IRkComponentHost {
public:
    struct Drag {
        uint16_t message;
        std::vector<std::u16string> files;
    };

    IRkMessageTarget& GetMessageTarget() override;
    void OnActivated() override {}
    void OnScrolled(int32_t) override {}
    void OnMouse(uint32_t, uint32_t, int32_t, int32_t) override {}
    void OnKey(uint16_t, uint8_t, uint32_t) override {}
    void OnLineScroll(bool) override {}
    void OnPaint(IRkGraphicsContextImp& context) override
    {
        ++paints;
        if (paint)
            paint(context);
    }
    void OnDrag(uint16_t message, CRkDrag& drag) override;

    std::function<void(IRkGraphicsContextImp&)> paint;
    bool accept = true;
    int paints = 0;
    std::vector<Drag> drags;
};

// The host `window` shows (null forgets it).
void SetTestWindowHost(HWND window, IRkComponentHost* host);
// What GetActiveFrameworkWindow answers.
void SetTestActiveWindow(HWND window);

// A visible top-level window of a class whose WM_PAINT is PaintWinComponent
// with the window's host and whose WM_DROPFILES is HandleWinDropFiles.
HWND CreateTestWindow(int width, int height);
// Dispatches every waiting message of this thread.
void PumpMessages();
