#include "testmenuhost.h"

#include "hostlink/pacing.h"
#include "menus/dialogs.h"
#include "tests/firststart.h"

namespace {
// As the program unloads a window: its handler, then it hides and goes once
// the events run; nothing touches it after, as its own handler may be the caller.
template <typename Window> void unload(QPointer<Window> &slot, void (Window::*handler)()) {
    Window *window = slot;
    if (!window)
        return;
    (window->*handler)();
    slot = nullptr;
    window->hide();
    window->deleteLater();
}

QTimer *makeTimer(QObject *owner, int intervalMs) {
    auto *timer = new QTimer(owner);
    timer->setInterval(intervalMs);
    timer->setTimerType(Qt::PreciseTimer);
    return timer;
}
} // namespace

TestMenuHost::TestMenuHost(Start start)
    : m_session(std::make_unique<session::SessionModel>()),
      m_mainStrip(std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint)),
      m_minuteCounter(makeTimer(m_mainStrip.get(), hostlink::pacing::kMinuteCounterMs)),
      m_idleTicker(makeTimer(m_mainStrip.get(), hostlink::pacing::kIdleTickMs)) {
    if (start == Start::FirstStart)
        startAsAtFirstStart(*m_session);
    m_minuteCounter->start();
}

TestMenuHost::~TestMenuHost() {
    delete m_styleShop.data();
    delete m_sessionMenu.data();
    delete m_optionsWindow.data();
}

menus::SessionMenu *TestMenuHost::sessionMenu() {
    if (!m_sessionMenu) {
        m_sessionMenu = new menus::SessionMenu(*this);
        m_sessionMenu->load();
    }
    return m_sessionMenu;
}

menus::OptionsWindow *TestMenuHost::optionsWindow() {
    if (!m_optionsWindow) {
        m_optionsWindow = new menus::OptionsWindow(*this);
        m_optionsWindow->load();
    }
    return m_optionsWindow;
}

void TestMenuHost::showStyleShop() {
    if (!m_styleShop) {
        m_styleShop = new styleshop::StyleShop(*m_session, m_mainStrip.get());
        connect(m_styleShop, &styleshop::StyleShop::unloadRequested, this,
                &TestMenuHost::unloadStyleShop);
        m_styleShop->load();
    }
    m_styleShop->show();
}

void TestMenuHost::unloadStyleShop() { unload(m_styleShop, &styleshop::StyleShop::unload); }

std::optional<QString> TestMenuHost::ask(const QString &prompt) {
    QString answer = menus::dialogs::askText(prompt);
    if (isEnding())
        return std::nullopt;
    return answer;
}

void TestMenuHost::unloadProgram() {
    if (m_unloadRequests++ > 0)
        return;
    m_minuteCounter->stop();
    m_idleTicker->stop();
    unload(m_sessionMenu, &menus::SessionMenu::slideAway);
    unload(m_optionsWindow, &menus::OptionsWindow::slideAway);
    m_mainStrip->hide();
    unloadStyleShop();
}
