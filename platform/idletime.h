#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace platform {

// How long the desktop has gone without keyboard or pointer input, watched
// against one threshold. After watch(), idle() comes once the desktop has
// had no input for the threshold, then active() at the first input after
// that, then idle() again, always in turn. Reports come from the event loop;
// a receiver may run the event loop inside them.
class IdleMonitor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Starts watching (again) for `threshold` without input; the first report
    // is idle(), at once when the desktop has been left alone that long already.
    virtual void watch(std::chrono::milliseconds threshold) = 0;
    // The desktop's interface that answers, for messages.
    virtual QString sourceName() const = 0;

Q_SIGNALS:
    void idle();
    void active();
};

// The desktop's idle time in milliseconds as a source tells it when asked;
// nothing when the source does not answer.
using IdleTimeQuery = std::function<std::optional<qint64>()>;

// A monitor over a source that only answers when asked. While the person is
// at the desktop it asks once, when the threshold can first have passed
// (never more often than that); once idle, every `returnCheck`, and any
// idle time shorter than the one before means input came between the two.
class PolledIdleMonitor final : public IdleMonitor {
    Q_OBJECT
public:
    // Three times a minute: a return is seen within 20 seconds.
    static constexpr std::chrono::milliseconds kReturnCheck{20000};

    PolledIdleMonitor(QString sourceName, IdleTimeQuery query,
                      std::chrono::milliseconds returnCheck = kReturnCheck,
                      QObject *parent = nullptr);

    void watch(std::chrono::milliseconds threshold) override;
    QString sourceName() const override { return m_name; }

    // The timer's handler: asks the source, reports, and sets the next ask.
    void check();
    // How long after the last ask the next one comes; tests call check()
    // themselves instead of waiting.
    std::chrono::milliseconds nextCheck() const { return m_next; }
    bool isChecking() const { return m_timer.isActive(); }

private:
    void checkIn(std::chrono::milliseconds delay);

    QString m_name;
    IdleTimeQuery m_query;
    std::chrono::milliseconds m_returnCheck;
    std::chrono::milliseconds m_threshold{0};
    std::chrono::milliseconds m_next{0};
    bool m_idle = false;
    std::chrono::milliseconds m_lastIdle{0};
    QTimer m_timer;
};

// The first of the desktop's idle-time sources that answers: on Unix the X
// server's IDLETIME counter with alarms, else its screen-saver extension,
// else the session's D-Bus services (GNOME's IdleMonitor, then
// org.freedesktop.ScreenSaver), and on a Wayland session only the D-Bus
// ones; on Windows the time of the last input. Nothing when none answers.
std::unique_ptr<IdleMonitor> desktopIdleMonitor();

} // namespace platform
