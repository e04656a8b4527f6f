// The main window: the splash that files are dropped on, the build options
// as check boxes, and the Make Book... and Quit buttons. The options are
// written to the preferences the moment they change.
#pragma once

#include <cstdint>
#include <memory>

#include "app/BuildJob.h"
#include "framework/ui/RkCustomControl.h"
#include "framework/ui/RkWindow.h"

class CRkButton;
class CRkCheckbox;
class CRkFileDropper;
class CRkImage;

// Commands of the main window's controls.
enum : uint32_t {
    kCmdSplash = 325,
    kCmdOverwrite = 326,
    kCmdPrompt = 327,
    kCmdDictionary = 328,
    kCmdPageTables = 334,
};

// Preference keys of the window's position.
inline constexpr char kPrefWindowX[] = "WindowPos.x";
inline constexpr char kPrefWindowY[] = "WindowPos.y";

class CVellumixWindow : public CRkWindow, public IRkMessageHandler {
public:
    // The program's picture with its version and build date. Source files
    // (".lml", ".txt" in any letter case) dragged over it light it up; when
    // dropped they go to the application as one batch of messages 18.
    class Splash : public CRkImagePanel {
    public:
        Splash(CRkContainer* parent, uint32_t id);
        ~Splash() override;
        void Draw(IRkGraphicsContextImp& context) override;

    protected:
        void OnDragFeedback(bool accepting) override;

    private:
        CRkImage* m_normal;
        CRkImage* m_highlight;
        std::unique_ptr<CRkFileDropper> m_dropper;
    };

    CVellumixWindow();
    ~CVellumixWindow() override;

    // Where it was last closed, or centred a third of the way down on the
    // first start; then shown.
    void Show();

    // IRkMessageHandler: the option commands (7) and states (8), and the
    // close request (26), which stores the position.
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override;
    using CRkWindow::HandleMessage;

    void LayoutChildren() override;
    RkSize GetPreferredSize() const override;

private:
    // Positions and the client size the layout gives.
    struct Arrangement;
    Arrangement Arrange() const;
    void SaveOptions();

    uint8_t m_changed = 0;
    BuildSettings m_options;
    CRkButton* m_quit;
    CRkButton* m_makeBook;
    Splash* m_splash;
    CRkCheckbox* m_overwrite;
    CRkCheckbox* m_prompt;
    CRkCheckbox* m_dictionary;
    CRkCheckbox* m_pageTables;
};
