// What the application needs of a menu bar: it owns the installed bar and
// installs it again whenever command states change, so that the menus
// show the current states.
#pragma once

class IRkMenuBar {
public:
    virtual ~IRkMenuBar() = default;
    // Puts the bar on the platform (again), asking every item's state.
    virtual void Install() = 0;
    // Takes the bar off the platform.
    virtual void Uninstall() = 0;
};
