#include "testmenuhost.h"

#include "menus/dialogs.h"
#include "tests/firststart.h"
#include "widgets/unloadwindow.h"

TestMenuHost::TestMenuHost(Start start)
    : m_session(std::make_unique<session::SessionModel>()),
      m_controller(std::make_unique<control::SessionController>(*m_session)),
      m_mainStrip(std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint)) {
    if (start == Start::FirstStart)
        startAsAtFirstStart(*m_session);
}

TestMenuHost::~TestMenuHost() { delete m_styleShop.data(); }

void TestMenuHost::showStyleShop() {
    if (!m_styleShop) {
        m_styleShop = new styleshop::StyleShop(*m_session, m_mainStrip.get());
        connect(m_styleShop, &styleshop::StyleShop::unloadRequested, this,
                &TestMenuHost::unloadStyleShop);
        m_styleShop->load();
    }
    m_styleShop->show();
}

void TestMenuHost::unloadStyleShop() {
    widgets::unloadWindow(m_styleShop, &styleshop::StyleShop::unload);
}

std::optional<QString> TestMenuHost::ask(const QString &prompt) {
    QString answer = menus::dialogs::askText(prompt);
    if (isEnding())
        return std::nullopt;
    return answer;
}

void TestMenuHost::unloadProgram() {
    if (m_unloadRequests++ > 0)
        return;
    m_controller->stopTimers();
    m_menus.unloadSessionMenu();
    m_menus.unloadOptionsWindow();
    m_mainStrip->hide();
    unloadStyleShop();
}
