#include "windowroutines.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace hostlink {

namespace {
// Follows the pointer with the window until the button is released: the move
// loop for window systems that offer none (an X server without a window
// manager refuses the system move).
class PointerFollower final : public QObject {
public:
    explicit PointerFollower(QWidget *window)
        : m_window(window), m_grabOffset(QCursor::pos() - window->pos()) {}

    void run() {
        qApp->installEventFilter(this);
        m_window->grabMouse();
        m_loop.exec();
        if (m_window)
            m_window->releaseMouse();
        qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        (void)watched;
        switch (event->type()) {
        case QEvent::MouseMove:
            if (m_window) {
                auto *me = static_cast<QMouseEvent *>(event);
                m_window->move(me->globalPosition().toPoint() - m_grabOffset);
            }
            return true;
        case QEvent::MouseButtonRelease:
            m_loop.quit();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            return false;
        }
    }

private:
    QPointer<QWidget> m_window;
    QPoint m_grabOffset;
    QEventLoop m_loop;
};

// After the system's own move has started, the window system holds the
// pointer and may keep the release to itself: the button is up once Qt says
// so, once a release arrives, or once the pointer moves with no button down.
class ButtonWatcher final : public QObject {
public:
    void run() {
        qApp->installEventFilter(this);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &m_loop, [this] {
            if (QGuiApplication::mouseButtons() == Qt::NoButton)
                m_loop.quit();
        });
        poll.start(30);
        m_loop.exec();
        qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        (void)watched;
        if (event->type() == QEvent::MouseButtonRelease ||
            (event->type() == QEvent::MouseMove &&
             static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton))
            m_loop.quit();
        return false;
    }

private:
    QEventLoop m_loop;
};
} // namespace

void stayOnTop(QWidget *window) {
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return;
    // Changing the flags re-creates a shown window: keep its place and size.
    const bool visible = window->isVisible();
    const QPoint pos = window->pos();
    const QSize size = window->size();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    window->move(pos);
    window->resize(size);
    if (visible)
        window->show();
}

void dragWindow(QWidget *window) {
    if (!window)
        return;
    QWindow *handle = window->windowHandle();
    if (handle && handle->startSystemMove()) {
        ButtonWatcher().run();
        return;
    }
    PointerFollower follower(window);
    follower.run();
}

} // namespace hostlink
