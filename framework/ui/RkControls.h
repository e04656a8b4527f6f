// The native controls the program uses: push button, check box, label,
// single-line text field, progress bar, scroll bar, and the plain panel.
// Each is a thin layer over its platform control; the command it sends is
// its id.
#pragma once

#include <cstdint>

#include "framework/core/RkString.h"
#include "framework/ui/RkContainer.h"

class CRkButton : public CRkComponent {
public:
    CRkButton(CRkContainer* parent, uint32_t id, const CRkString& text);
};

// A click sends the command; the box then shows the state its command
// reports, whatever the click did, so the framework alone decides it.
class CRkCheckbox : public CRkComponent {
public:
    CRkCheckbox(CRkContainer* parent, uint32_t id, const CRkString& text);
    bool IsChecked() const;
    void SetChecked(bool checked);

protected:
    void OnActivated() override;
};

class CRkLabel : public CRkComponent {
public:
    CRkLabel(CRkContainer* parent, uint32_t id, const CRkString& text);
    // A width > 0 wraps the text to it; the preferred height follows.
    void SetWrapWidth(int32_t width) { m_wrapWidth = width; }
    RkSize GetPreferredSize() const override;

private:
    int32_t m_wrapWidth = 0;
};

// Reports every edit as its command (the text changed).
class CRkTextField : public CRkComponent {
public:
    CRkTextField(CRkContainer* parent, uint32_t id, bool border = true);
};

class CRkProgressbar : public CRkComponent {
public:
    CRkProgressbar(CRkContainer* parent, uint32_t id);
    // Clamped to the range, 0 to 100 unless set otherwise.
    void SetValue(int32_t value);
    int32_t GetValue() const { return GetProperty(kPropValue); }
    void SetRange(int32_t minimum, int32_t maximum);
};

// Moving the bar sends a CRkScrollbarCommand with the new value.
class CRkScrollbar : public CRkComponent {
public:
    CRkScrollbar(CRkContainer* parent, uint32_t id, bool vertical);
    bool IsVertical() const { return m_vertical; }
    // The range runs from 0 to `maximum`; `page` is the visible part. The
    // value is clamped to [0, maximum - page].
    void SetRange(int32_t maximum, int32_t page);
    void SetValue(int32_t value);
    int32_t GetValue() const { return GetProperty(kPropValue); }
    // The bar's thickness, the width of a vertical bar.
    int32_t GetThickness() const;

private:
    bool m_vertical;
};

// A container with a native panel of its own.
class CRkPanel : public CRkContainer {
public:
    CRkPanel(CRkContainer* parent, uint32_t id);
};
