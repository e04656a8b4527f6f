// A component as a native child window: the standard control of its kind
// (class and styles from the kinds table), or a "LUMO_EMPTY_PANEL" that the
// component paints itself. The control id is the component id, so a
// control is found with GetDlgItem. Clicks, edits and scrolling reach the
// host from the parent's notifications; keys from the control itself.
#pragma once

#include <cstdint>
#include <map>

#include "framework/core/RkString.h"
#include "framework/platform/win32/ui/WinNative.h"
#include "framework/ui/RkComponentImp.h"

class CRkWinComponentImp final : public IRkComponentImp, public CRkWinNative {
public:
    CRkWinComponentImp(IRkComponentHost& host, uint32_t kind, uint32_t id, HWND parent);
    ~CRkWinComponentImp() override;

    // IRkComponentImp
    uint32_t GetKind() const override { return m_kind; }
    void SetBounds(const RkRect& bounds) override;
    RkRect GetBounds() const override;
    void SetVisible(bool visible) override;
    bool IsVisible() const override;
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;
    void SetChecked(bool checked) override;
    bool IsChecked() const override { return m_checked; }
    void SetText(const CRkString& text) override;
    void GetText(CRkString& out) const override;
    void SetProperty(uint32_t property, int32_t value) override;
    int32_t GetProperty(uint32_t property) const override;
    RkSize GetNaturalSize(int32_t wrapWidth) const override;
    const IRkFontImp& GetFont() const override;
    void Redraw() override;
    void Update() override;
    void SetFocus() override;
    bool HasFocus() const override;

    // Whether the kind paints through its host (panels).
    static bool IsPanelKind(uint32_t kind);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool IsPanel() const { return IsPanelKind(m_kind); }
    bool IsButton() const;
    bool HasRange() const;
    // Applies range, page and value to the native scroll bar or progress bar.
    void ApplyRange();
    void OnScrollCode(UINT code);
    LRESULT HandleKey(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);
    // A hidden, disabled or departing control gives up the focus, and the
    // focus its window keeps for it.
    void ForgetFocus();
    void GiveFocusAway();

    uint32_t m_kind;
    uint32_t m_id;
    bool m_checked = false;
    bool m_settingText = false;
    bool m_swallowChar = false;
    std::map<uint32_t, int32_t> m_properties;
    // Clicks on panels: what counts the next press as a double click.
    DWORD m_lastDownTime = 0;
    POINT m_lastDown{};
    uint32_t m_clicks = 0;
    int m_wheelRest = 0;
};
