#pragma once

#include "control/sessioncontroller.h"
#include "menus/menuhost.h"
#include "menus/menuwindows.h"
#include "session/sessionmodel.h"
#include "styleshop/styleshop.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

// What the menus reach, without the program's main strip: a session model as
// a first start leaves it (the settings file written with the defaults; or,
// for a test of the writes themselves, the file left as found) with its
// controller, a bare window in the main strip's place, the menus loaded on
// first use as the program loads them, the real style shop, prompts answered
// from the dialogs' script. The program's end is counted and does what the
// program's own does to these windows, in its order: timers stopped, menus
// slid away and gone, the main strip hidden, the shop unloaded; it posts no
// closing lines.
class TestMenuHost final : public QObject, public menus::MenuHost {
    Q_OBJECT
public:
    enum class Start { FirstStart, FileAsFound };
    explicit TestMenuHost(Start start = Start::FirstStart);
    ~TestMenuHost() override;

    session::SessionModel &session() const override { return *m_session; }
    control::SessionController &controller() const override { return *m_controller; }
    QWidget *mainStrip() const override { return m_mainStrip.get(); }
    QTimer *idleTicker() const { return &m_controller->idleTicker(); }
    QTimer *minuteCounter() const { return &m_controller->minuteCounter(); }

    menus::SessionMenu *sessionMenu() { return m_menus.sessionMenu(); }
    menus::OptionsWindow *optionsWindow() override { return m_menus.optionsWindow(); }

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
    std::unique_ptr<control::SessionController> m_controller;
    std::unique_ptr<QWidget> m_mainStrip;
    menus::MenuWindows m_menus{*this};
    QPointer<styleshop::StyleShop> m_styleShop;
    int m_unloadRequests = 0;
};
