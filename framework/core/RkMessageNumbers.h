// The framework's message numbers, command numbers and message kinds.
// The numbers are the contract between the platform layer, the framework
// and the program, so they are spelled out here once.
#pragma once

#include <cstdint>

// Message numbers (the first argument of HandleMessage and PostMessage).
enum : uint16_t {
    kMsgMouse = 1,             // CRkMouseMessage, from the platform layer
    kMsgLineDown = 2,          // scroll one line down (the mouse wheel)
    kMsgLineUp = 3,            // scroll one line up
    kMsgKeyDown = 5,           // CRkKeyboardMessage, from the platform layer
    kMsgCommand = 7,           // perform a command: CRkCommand
    kMsgCommandStatus = 8,     // report a command's state: CRkCommand
    kMsgCommandsChanged = 9,   // command states changed: refresh menus
    kMsgApplicationTimer = 10, // the application's own timer fired
    kMsgQuitRequest = 13,      // CRkQuitMessage
    kMsgStarted = 14,          // the application has started
    kMsgEnding = 15,           // the application is ending
    kMsgStartedWithoutFiles = 16,
    kMsgCommandLine = 17, // CRkCommandLineMessage
    kMsgOpenFile = 18,    // CRkFileMessage
    kMsgQuitIfNoWindow = 20,
    kMsgCloseWindow = 26, // sent to a window
    kMsgCloseAllWindows = 27,
    kMsgWindowClosed = 28, // sent to the application after a window deleted itself
    kMsgCloseRefused = 29, // a window refused to close: closing down is cancelled
    kMsgDragEnter = 31,
    kMsgDragLeave = 32,
    kMsgDragOver = 33,
    kMsgDrop = 34,
};

// Command numbers (CRkCommand::command).
enum : uint32_t {
    kCmdQuit = 2,
    kCmdFileMenu = 5,
    kCmdEditMenu = 6,
    kCmdShowMainWindow = 9,
    kCmdOpen = 12,
    kCmdClose = 13,
    kCmdCloseAll = 14,
    kCmdRecentFilesMenu = 18,
    kCmdRecentFile1 = 19, // 19 to 28: recent file 1 to 10
    kCmdRecentFile10 = 28,
    kCmdClearRecentFiles = 29,
    kCmdQuitItem = 30, // the "Quit" menu item and button
    kCmdUndo = 258,
    kCmdCut = 260,
    kCmdCopy = 261,
    kCmdPaste = 262,
    kCmdDelete = 263,
    kCmdPreferences = 265,
    kCmdMainWindowFirst = 325, // 325 to 335: the main window's option controls
    kCmdMainWindowLast = 335,
};

// Message kinds (CRkMessage::GetKind).
enum : uint16_t {
    kMessageKindPlain = 0,
    kMessageKindMouse = 1,
    kMessageKindKeyboard = 5,
    kMessageKindCommand = 6,
    kMessageKindQuit = 13,
};

// Modifier bits of CRkKeyboardMessage and of the keyboard shortcut tables.
enum : uint8_t {
    kKeyModifierCtrl = 1,
    kKeyModifierShift = 2,
    kKeyModifierAlt = 4,
};
