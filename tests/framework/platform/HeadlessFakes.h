// Fake framework objects for the headless platform's tests: a host that
// writes every call it gets into a trace, and a message target that does
// the same for delivered messages.
#pragma once

#include <functional>
#include <string>

#include "framework/core/RkMessage.h"
#include "framework/core/RkMessageTarget.h"
#include "framework/platform/headless/driver/TestDriver.h"
#include "framework/ui/RkComponentImp.h"
#include "framework/ui/RkDrag.h"
#include "framework/ui/RkGraphicsImp.h"
#include "framework/ui/RkMenuBarImp.h"

class TraceTarget : public IRkMessageTarget {
public:
    TraceTarget(std::string name, std::string& trace) : m_name(std::move(name)), m_trace(trace) {}
    void AddHandler(IRkMessageHandler*, bool) override {}
    void RemoveHandler(IRkMessageHandler*) override {}
    bool HandleMessage(uint16_t message, CRkMessage* payload) override
    {
        m_trace += m_name + ":" + std::to_string(message);
        if (auto* key = dynamic_cast<CRkKeyboardMessage*>(payload))
            m_trace += "/key" + std::to_string(key->keyCode) + "+" + std::to_string(key->modifiers);
        if (auto* command = dynamic_cast<CRkCommand*>(payload))
            m_trace += "/c" + std::to_string(command->GetCommand());
        m_trace += " ";
        return true;
    }
    void PostMessage(uint16_t, CRkMessage* payload, uint32_t) override { delete payload; }

private:
    std::string m_name;
    std::string& m_trace;
};

class FakeHost : public IRkWindowHost {
public:
    FakeHost(std::string name, std::string& trace) : name(std::move(name)), trace(trace), target(this->name, trace) {}

    IRkMessageTarget& GetMessageTarget() override { return target; }
    void OnActivated() override
    {
        Write("activated");
        if (onActivated)
            onActivated();
    }
    void OnScrolled(int32_t value) override { Write("scrolled " + std::to_string(value)); }
    void OnMouse(uint32_t value1, uint32_t clicks, int32_t x, int32_t y) override
    {
        Write("mouse " + std::to_string(value1) + "/" + std::to_string(clicks) + " " + std::to_string(x) + "," +
              std::to_string(y));
    }
    void OnKey(uint16_t keyCode, uint8_t, uint32_t) override { Write("key " + std::to_string(keyCode)); }
    void OnLineScroll(bool down) override { Write(down ? "line down" : "line up"); }
    void OnPaint(IRkGraphicsContextImp& context) override
    {
        Write("paint");
        if (onPaint)
            onPaint(context);
    }
    void OnDrag(uint16_t message, CRkDrag& drag) override
    {
        std::string text = "drag " + std::to_string(message);
        for (const RkDragItem& item : drag.GetItems())
            text += " " + std::to_string(item.type) + ":" + CRkTestDriver::ToUtf8(item.path);
        Write(text);
        drag.SetAccepted(accepts);
    }
    void OnCloseRequest() override { Write("close"); }
    void OnMoved(const RkRect& r) override
    {
        Write("moved " + std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
              std::to_string(r.height));
    }
    void OnWindowActivated(bool active) override { Write(active ? "active" : "inactive"); }

    void Write(const std::string& what) { trace += name + "." + what + " "; }

    std::string name;
    std::string& trace;
    TraceTarget target;
    bool accepts = false;
    std::function<void()> onActivated;
    std::function<void(IRkGraphicsContextImp&)> onPaint;
};

class FakeMenuHost : public IRkMenuBarHost {
public:
    explicit FakeMenuHost(std::string& trace) : trace(trace) {}
    void OnMenuCommand(uint32_t command) override { trace += "menu.command " + std::to_string(command) + " "; }
    void OnMenuOpening() override
    {
        trace += "menu.opening ";
        if (onOpening)
            onOpening();
    }
    std::string& trace;
    std::function<void()> onOpening;
};
