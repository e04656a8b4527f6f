#include "app/VellumixWindow.h"

#include <algorithm>

#include "app/VellumixApplication.h"
#include "framework/core/Prefs.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkMessage.h"
#include "framework/core/RkSystemImp.h"
#include "framework/text/LocalStrings.h"
#include "framework/ui/RkControls.h"

namespace {

CRkString Local(uint32_t id)
{
    const CRkString* text = GetLocalString(id);
    return text ? CRkString(*text) : CRkString();
}

bool ReadOption(const char* key)
{
    bool value = false;
    GetBool(key, value);
    return value;
}

RkRect ScreenRect()
{
    RkRect screen{0, 0, 1024, 768};
    CRkGlobalVars* globals = CRkGlobalVars::Get();
    if (globals && globals->system)
        globals->system->GetScreenRect(screen.x, screen.y, screen.width, screen.height);
    return screen;
}

} // namespace

struct CVellumixWindow::Arrangement {
    RkRect splash, overwrite, prompt, pageTables, dictionary, makeBook, quit;
    RkSize client;
};

CVellumixWindow::CVellumixWindow() : CRkWindow(Local(300), kWindowCloseBox)
{
    m_options.overwrite = ReadOption(kPrefOverwrite);
    m_options.prompt = ReadOption(kPrefPrompt);
    m_options.dictionary = ReadOption(kPrefDictionary);
    m_options.excludePageTables = ReadOption(kPrefExcludePageTables);

    m_quit = new CRkButton(this, kCmdQuitItem, Local(121));
    m_makeBook = new CRkButton(this, kCmdOpen, Local(117));
    m_splash = new Splash(this, kCmdSplash);
    m_overwrite = new CRkCheckbox(this, kCmdOverwrite, Local(291));
    m_prompt = new CRkCheckbox(this, kCmdPrompt, Local(292));
    m_dictionary = new CRkCheckbox(this, kCmdDictionary, Local(296));
    m_pageTables = new CRkCheckbox(this, kCmdPageTables, Local(297));
    for (CRkComponent* control : {static_cast<CRkComponent*>(m_quit), static_cast<CRkComponent*>(m_makeBook),
                                  static_cast<CRkComponent*>(m_splash), static_cast<CRkComponent*>(m_overwrite),
                                  static_cast<CRkComponent*>(m_prompt), static_cast<CRkComponent*>(m_dictionary),
                                  static_cast<CRkComponent*>(m_pageTables)})
        AddChild(control, nullptr);
    AddHandler(this, false);
    Pack();
    LayoutChildren();
}

CVellumixWindow::~CVellumixWindow()
{
    if (CVellumixApplication* app = dynamic_cast<CVellumixApplication*>(CRkApplication::Get()))
        app->WindowGone(this);
}

CVellumixWindow::Arrangement CVellumixWindow::Arrange() const
{
    const int32_t s2 = ConvertDistance(2), s5 = ConvertDistance(5), s8 = ConvertDistance(8);
    Arrangement a;
    RkSize splash = m_splash->GetPreferredSize();
    RkSize overwrite = m_overwrite->GetPreferredSize();
    RkSize prompt = m_prompt->GetPreferredSize();
    RkSize pageTables = m_pageTables->GetPreferredSize();
    RkSize dictionary = m_dictionary->GetPreferredSize();
    RkSize makeBook = m_makeBook->GetPreferredSize();
    RkSize quit = m_quit->GetPreferredSize();
    const int32_t buttonWidth = std::max(makeBook.width, quit.width);
    const int32_t buttonHeight = std::max(makeBook.height, quit.height);
    const int32_t pairWidth = 2 * buttonWidth + s5;

    a.overwrite = {s5, s5 + splash.height + s5, overwrite.width, overwrite.height};
    a.prompt = {s5 + s8, a.overwrite.Bottom() + s2, prompt.width, prompt.height};
    a.pageTables = {s5, a.prompt.Bottom() + s5, pageTables.width, pageTables.height};
    a.dictionary = {s5, a.pageTables.Bottom() + s5, dictionary.width, dictionary.height};
    int32_t width = splash.width + 2 * s5;
    for (const RkRect& box : {a.overwrite, a.prompt, a.pageTables, a.dictionary})
        width = std::max(width, box.Right() + s5);
    width = std::max(width, pairWidth + 2 * s5);
    a.client = {width, a.dictionary.Bottom() + s5 + buttonHeight + s5};

    // The window keeps the size its layout needs; the arrangement follows
    // the actual client area should the platform give another.
    RkSize actual = GetSize();
    const int32_t contentWidth = actual.width > 0 ? actual.width : a.client.width;
    const int32_t contentHeight = actual.height > 0 ? actual.height : a.client.height;
    a.splash = {(contentWidth - splash.width) / 2, s5, splash.width, splash.height};
    const int32_t buttonTop = contentHeight - s5 - buttonHeight;
    const int32_t pairLeft = (contentWidth - pairWidth) / 2;
    a.makeBook = {pairLeft, buttonTop, buttonWidth, buttonHeight};
    a.quit = {pairLeft + buttonWidth + s5, buttonTop, buttonWidth, buttonHeight};
    return a;
}

RkSize CVellumixWindow::GetPreferredSize() const
{
    return Arrange().client;
}

void CVellumixWindow::LayoutChildren()
{
    const Arrangement a = Arrange();
    auto place = [](CRkComponent* control, const RkRect& r) { control->SetBounds(r.x, r.y, r.width, r.height); };
    place(m_splash, a.splash);
    place(m_overwrite, a.overwrite);
    place(m_prompt, a.prompt);
    place(m_pageTables, a.pageTables);
    place(m_dictionary, a.dictionary);
    place(m_makeBook, a.makeBook);
    place(m_quit, a.quit);
}

void CVellumixWindow::Show()
{
    int32_t x = 0, y = 0;
    bool stored = GetInt(kPrefWindowX, x) && GetInt(kPrefWindowY, y);
    RkRect outer = GetOuterBounds();
    RkRect there{x, y, outer.width, outer.height};
    // A stored point that would put the window off the screen is not used.
    if (stored && there.Intersects(ScreenRect()))
        SetPosition(x, y);
    else
        Place(kPlaceUpperThird);
    SetVisible(true);
}

void CVellumixWindow::SaveOptions()
{
    SetBool(kPrefOverwrite, m_options.overwrite != 0);
    SetBool(kPrefPrompt, m_options.prompt != 0);
    SetBool(kPrefDictionary, m_options.dictionary != 0);
    SetBool(kPrefExcludePageTables, m_options.excludePageTables != 0);
}

bool CVellumixWindow::HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget&)
{
    if (message == kMsgCloseWindow) {
        // Where the window is when neither minimized nor maximized.
        RkRect outer = GetWindowImp() ? GetWindowImp()->GetRestoredBounds() : GetOuterBounds();
        SetInt(kPrefWindowX, outer.x);
        SetInt(kPrefWindowY, outer.y);
        return false; // the standard handler closes the window
    }
    if (message != kMsgCommand && message != kMsgCommandStatus)
        return false;
    CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
    if (!command)
        return false;
    uint8_t* option = nullptr;
    switch (command->GetCommand()) {
    case kCmdSplash:
        if (message == kMsgCommandStatus)
            command->SetEnabled(true);
        return message == kMsgCommandStatus;
    case kCmdOverwrite:
        option = &m_options.overwrite;
        break;
    case kCmdPrompt:
        option = &m_options.prompt;
        break;
    case kCmdDictionary:
        option = &m_options.dictionary;
        break;
    case kCmdPageTables:
        option = &m_options.excludePageTables;
        break;
    default:
        return false;
    }
    if (message == kMsgCommandStatus) {
        const uint32_t number = command->GetCommand();
        command->SetEnabled(number != kCmdPrompt || m_options.overwrite);
        command->SetChecked(number == kCmdPageTables ? !m_options.excludePageTables : *option != 0);
        return true;
    }
    *option = *option ? 0 : 1;
    m_changed = 1;
    SaveOptions();
    CRkWindow::HandleMessage(kMsgCommandsChanged, nullptr);
    return true;
}
