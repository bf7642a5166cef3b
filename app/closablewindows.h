#pragma once

namespace app {

// The windows as the program's end closes them, which it does in this order:
// the session menu loaded first when the request came from outside (as a
// click on its own unload entry would have found it), then the menus slid
// away, the main strip closed (its closing lines and slides), the style shop
// unloaded. Each step does nothing for a window that is gone.
class ClosableWindows {
public:
    virtual void loadSessionMenu() = 0;
    virtual void unloadMenus() = 0;
    virtual void closeMainStrip() = 0;
    virtual void unloadStyleShop() = 0;

protected:
    ~ClosableWindows() = default;
};

} // namespace app
