// What the component and window implementations share: the native window,
// its window procedure, and a record that outlives both for as long as
// either needs it. The implementation can go while the window is still
// handling one of its messages (a handler deletes the component): the
// native window is then destroyed once those messages are done, and the
// procedure never reaches the implementation again.
#pragma once

#include <cstdint>

#include "framework/platform/win32/Win32Api.h"

class IRkComponentHost;
class CRkWinNative;

// Lives from Attach until both the implementation and the window are gone.
struct RkWinNode {
    HWND window = nullptr;
    CRkWinNative* imp = nullptr; // null once the implementation is gone
    IRkComponentHost* host = nullptr;
    WNDPROC original = nullptr; // a native control's own procedure
    int depth = 0;              // messages of the window being handled
    bool destroying = false;
};

// Holds a node for the length of a call into the framework: the node stays
// valid however the call ends, and an implementation deleted meanwhile is
// finished off (its window destroyed) when the last holder lets go.
class CRkWinNodeHold {
public:
    explicit CRkWinNodeHold(RkWinNode* node);
    ~CRkWinNodeHold();
    CRkWinNodeHold(const CRkWinNodeHold&) = delete;
    CRkWinNodeHold& operator=(const CRkWinNodeHold&) = delete;
    // The implementation, or null when it went during the call.
    CRkWinNative* Imp() const { return m_node ? m_node->imp : nullptr; }
    RkWinNode* Node() const { return m_node; }

private:
    RkWinNode* m_node;
};

class CRkWinNative {
public:
    CRkWinNative() = default;
    CRkWinNative(const CRkWinNative&) = delete;
    CRkWinNative& operator=(const CRkWinNative&) = delete;
    virtual ~CRkWinNative();

    // The native window; null when it could not be made or is gone.
    HWND GetHandle() const { return m_node ? m_node->window : nullptr; }
    IRkComponentHost* GetNativeHost() const { return m_node ? m_node->host : nullptr; }
    // The implementation that shows `window`, or null.
    static CRkWinNative* FromHandle(HWND window);
    static RkWinNode* NodeOf(HWND window);
    // The procedure of the layer's own window classes.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Takes over `window`: its messages come to HandleMessage from now on.
    // `subclass` replaces the window's procedure (native controls, and
    // classes that another part of the program registered).
    void Attach(HWND window, IRkComponentHost& host, bool subclass);
    // Called first thing by the destructor of the most derived class: the
    // procedure stops calling it, and the window goes now or after the
    // messages it is handling.
    void Detach();

    // A message of the window; call Default for what is not taken.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;
    // The record of this implementation: held by the procedure while a
    // message is handled, so that after a call into the framework
    // `node->imp` tells whether this object still exists.
    RkWinNode* GetNode() const { return m_node; }

    // A notification of a child control (WM_COMMAND, WM_HSCROLL,
    // WM_VSCROLL) passed on to that child's implementation; true when the
    // child is one of the framework's.
    static bool ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    // The notification, reflected from the parent; false leaves it alone.
    virtual bool OnReflected(UINT, WPARAM, LPARAM) { return false; }

private:
    RkWinNode* m_node = nullptr;
};
