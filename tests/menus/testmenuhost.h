#pragma once

#include "menus/menuhost.h"
#include "menus/optionswindow.h"
#include "menus/sessionmenu.h"
#include "session/sessionmodel.h"
#include "styleshop/styleshop.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

// What the menus reach, without the program's main strip: a session model as
// a first start leaves it (the settings file written with the defaults; or,
// for a test of the writes themselves, the file left as found), a
// bare window in the main strip's place with its two timers, the menus loaded
// on first use, the real style shop, prompts answered from the dialogs'
// script. The program's end is counted and does what the program's own does
// to these windows, in its order: timers stopped, menus slid away and gone,
// the main strip hidden, the shop unloaded; it posts no closing lines.
class TestMenuHost final : public QObject, public menus::MenuHost {
    Q_OBJECT
public:
    enum class Start { FirstStart, FileAsFound };
    explicit TestMenuHost(Start start = Start::FirstStart);
    ~TestMenuHost() override;

    session::SessionModel &session() const override { return *m_session; }
    QWidget *mainStrip() const override { return m_mainStrip.get(); }
    QTimer *idleTicker() const override { return m_idleTicker; }
    QTimer *minuteCounter() const { return m_minuteCounter; }

    menus::SessionMenu *sessionMenu();
    menus::OptionsWindow *optionsWindow() override;

    void showStyleShop() override;
    bool isStyleShopLoaded() const { return m_styleShop != nullptr; }
    void unloadStyleShop();

    std::optional<QString> ask(const QString &prompt) override;
    bool isEnding() const override { return m_unloadRequests > 0; }
    void unloadProgram() override;
    // Every request to end, the first one included.
    int unloadRequests() const { return m_unloadRequests; }

private:
    std::unique_ptr<session::SessionModel> m_session;
    std::unique_ptr<QWidget> m_mainStrip;
    QTimer *m_minuteCounter;
    QTimer *m_idleTicker;
    QPointer<menus::SessionMenu> m_sessionMenu;
    QPointer<menus::OptionsWindow> m_optionsWindow;
    QPointer<styleshop::StyleShop> m_styleShop;
    int m_unloadRequests = 0;
};
