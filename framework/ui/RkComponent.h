// The root of the component tree. A component has an id (the number its
// commands carry), a parent container that owns it, a platform
// implementation, and a handler chain whose last stop is its parent (and
// for a window, the application).
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/RkMessageHandlerChain.h"
#include "framework/core/RkMessageTarget.h"
#include "framework/ui/RkComponentImp.h"
#include "framework/ui/RkComponentKinds.h"
#include "framework/ui/RkGeometry.h"

class CRkContainer;
class CRkWindow;
class IRkFontImp;

class CRkComponent : public IRkMessageTarget, protected virtual IRkComponentHost {
public:
    // Takes message 9 (command states changed): the component asks for its
    // command's state and shows it (a container for its whole subtree).
    class StandardHandler : public IRkMessageHandler {
    public:
        explicit StandardHandler(CRkComponent& component) : m_component(component) {}
        bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override;

    private:
        CRkComponent& m_component;
    };

    // A component of `kind` inside `parent` (which takes ownership of it);
    // kKindWindow makes no control (windows make their own implementation).
    CRkComponent(CRkContainer* parent, uint32_t kind, uint32_t id);
    CRkComponent(const CRkComponent&) = delete;
    CRkComponent& operator=(const CRkComponent&) = delete;
    ~CRkComponent() override;

    // IRkMessageTarget: the component's own chain.
    void AddHandler(IRkMessageHandler* handler, bool owned) override;
    void RemoveHandler(IRkMessageHandler* handler) override;
    bool HandleMessage(uint16_t message, CRkMessage* payload) override;
    // Through the application's queue, addressed to this component.
    void PostMessage(uint16_t message, CRkMessage* payload, uint32_t flags) override;

    // The operations every component has, in their virtual order.
    virtual void AddMessageHandler(IRkMessageHandler* handler, bool owned) { AddHandler(handler, owned); }
    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible);
    virtual RkInsets GetInsets() const { return {}; }
    virtual RkPoint GetLocation() const;
    virtual void SetLocation(int32_t x, int32_t y);
    virtual RkSize GetSize() const;
    virtual void SetSize(int32_t width, int32_t height);
    virtual void SetBounds(int32_t x, int32_t y, int32_t width, int32_t height);
    virtual RkSize GetMinimumSize() const;
    virtual RkSize GetPreferredSize() const;
    virtual RkSize GetMaximumSize() const;
    virtual void Draw(IRkGraphicsContextImp& context);
    virtual void Redraw();
    // units x the average character width of the component's font / 2.
    virtual int32_t ConvertDistance(int32_t units) const;
    virtual IRkComponentImp* GetImp() const { return m_imp.get(); }

    uint32_t GetId() const { return m_id; }
    uint32_t GetKind() const { return m_kind; }
    CRkContainer* GetParent() const { return m_parent; }
    // The window this component is in (itself for a window), or null.
    virtual CRkWindow* GetWindow() const;
    RkRect GetBounds() const;
    // A preferred size that replaces the natural one (all ones: none).
    void SetPreferredSizeOverride(const RkSize& size) { m_preferredOverride = size; }

    // Makes the component take drops: its chain then gets messages 31 to 34.
    void SetDropTarget(bool on);

    bool IsEnabled() const;
    void SetEnabled(bool enabled);
    void SetText(const CRkString& text);
    void GetText(CRkString& out) const;
    void SetProperty(uint32_t property, int32_t value);
    int32_t GetProperty(uint32_t property) const;
    const IRkFontImp& GetFont() const;

    // Asks the chain for the state of this component's command (message 8)
    // and shows it: enabled and checked. Components without an id are left
    // as they are.
    virtual void RefreshCommandState();
    // Sends this component's command (message 7, id) after asking its state.
    bool SendCommand();

protected:
    // For windows, which make their implementation after the base is built.
    void SetImp(IRkComponentImp* imp);
    CRkMessageHandlerChain& GetChain() { return m_chain; }
    // What the chain passes on when nobody takes a message.
    void SetNextTarget(IRkMessageTarget* next) { m_chain.SetNext(next); }

    // Drag feedback: a dropper tells its view that acceptance changed.
    virtual void OnDragFeedback(bool accepting);
    friend class CRkFileDropper;

    // IRkComponentHost: the default reactions.
    IRkMessageTarget& GetMessageTarget() override { return *this; }
    void OnActivated() override;
    void OnScrolled(int32_t value) override;
    void OnMouse(uint32_t value1, uint32_t clicks, int32_t x, int32_t y) override;
    void OnKey(uint16_t keyCode, uint8_t modifiers, uint32_t value1) override;
    void OnLineScroll(bool down) override;
    void OnPaint(IRkGraphicsContextImp& context) override;
    void OnDrag(uint16_t message, CRkDrag& drag) override;

private:
    uint32_t m_id;
    uint32_t m_kind;
    CRkContainer* m_parent;
    std::unique_ptr<IRkComponentImp> m_imp;
    CRkMessageHandlerChain m_chain;
    RkSize m_preferredOverride{kUnbounded, kUnbounded};
};
