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
// pointer; wait until no button is down any more.
void waitForButtonsUp() {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&loop] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            loop.quit();
    });
    poll.start(30);
    loop.exec();
}
} // namespace

void StayOnTop(QWidget *window) {
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

void FormDrag(QWidget *window) {
    if (!window)
        return;
    QWindow *handle = window->windowHandle();
    if (handle && handle->startSystemMove()) {
        waitForButtonsUp();
        return;
    }
    PointerFollower follower(window);
    follower.run();
}

} // namespace hostlink
