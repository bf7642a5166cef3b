// The X server's idle time. Both sources open an Xlib connection of their
// own rather than riding on the toolkit's: they work whichever platform
// plugin draws the windows, the alarm events never pass through the
// toolkit's event dispatch, and nothing depends on its private X handling.
#include "platform/idletime_unix.h"

#include <QList>
#include <QSocketNotifier>

// After the Qt headers: Xlib's macros (Bool, Status, None) would clash with them.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <X11/extensions/sync.h>

#include <cstring>

namespace platform {

namespace {

using std::chrono::milliseconds;

struct DisplayCloser {
    void operator()(Display *display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

DisplayPtr openDisplay(const QString &name) {
    const QByteArray local = name.toLocal8Bit();
    return DisplayPtr(XOpenDisplay(name.isEmpty() ? nullptr : local.constData()));
}

qint64 fromSyncValue(const XSyncValue &value) {
    return (qint64(XSyncValueHigh32(value)) << 32) | qint64(XSyncValueLow32(value));
}

XSyncValue toSyncValue(qint64 value) {
    XSyncValue out;
    XSyncIntsToValue(&out, unsigned(value & 0xffffffff), int(value >> 32));
    return out;
}

class XSyncIdleMonitor final : public IdleMonitor {
public:
    XSyncIdleMonitor(DisplayPtr display, int eventBase, XSyncCounter counter)
        : m_display(std::move(display)), m_eventBase(eventBase), m_counter(counter),
          m_notifier(ConnectionNumber(m_display.get()), QSocketNotifier::Read) {
        connect(&m_notifier, &QSocketNotifier::activated, this, &XSyncIdleMonitor::readEvents);
    }
    ~XSyncIdleMonitor() override {
        if (m_alarm != 0)
            XSyncDestroyAlarm(m_display.get(), m_alarm);
    }

    void watch(milliseconds threshold) override {
        m_threshold = std::max<qint64>(threshold.count(), 1);
        setAlarm(true);
        // Xlib may already hold events it read while waiting for a reply.
        readEvents();
    }
    QString sourceName() const override { return QStringLiteral("the X server's IDLETIME alarms"); }

private:
    // One alarm, set in turn for the idle time reaching the threshold and
    // for input resetting it. Comparisons rather than transitions: an alarm
    // set after the change it waits for fires at once instead of never.
    // A delta of 0 makes it fire once and rest until set again.
    void setAlarm(bool forIdle) {
        m_waitingForIdle = forIdle;
        XSyncAlarmAttributes attributes;
        std::memset(&attributes, 0, sizeof attributes);
        attributes.trigger.counter = m_counter;
        attributes.trigger.value_type = XSyncAbsolute;
        attributes.trigger.test_type = forIdle ? XSyncPositiveComparison : XSyncNegativeComparison;
        attributes.trigger.wait_value = toSyncValue(forIdle ? m_threshold : m_threshold - 1);
        attributes.delta = toSyncValue(0);
        attributes.events = True;
        const unsigned long mask = XSyncCACounter | XSyncCAValueType | XSyncCATestType |
                                   XSyncCAValue | XSyncCADelta | XSyncCAEvents;
        if (m_alarm == 0)
            m_alarm = XSyncCreateAlarm(m_display.get(), mask, &attributes);
        else
            XSyncChangeAlarm(m_display.get(), m_alarm, mask, &attributes);
        XFlush(m_display.get());
    }

    void readEvents() {
        // Every event is taken before any report goes out: a receiver that
        // runs the event loop finds the state already moved on.
        QList<bool> reports; // true: idle
        while (XPending(m_display.get()) > 0) {
            XEvent event;
            XNextEvent(m_display.get(), &event);
            if (event.type != m_eventBase + XSyncAlarmNotify)
                continue;
            const auto &alarm = reinterpret_cast<const XSyncAlarmNotifyEvent &>(event);
            if (alarm.alarm != m_alarm)
                continue;
            // The counter's value decides, not the order of events: a late
            // event of an alarm since changed says nothing.
            const qint64 value = fromSyncValue(alarm.counter_value);
            if (m_waitingForIdle && value >= m_threshold) {
                setAlarm(false);
                reports << true;
            } else if (!m_waitingForIdle && value < m_threshold) {
                setAlarm(true);
                reports << false;
            }
        }
        for (const bool idleNow : std::as_const(reports)) {
            if (idleNow)
                Q_EMIT idle();
            else
                Q_EMIT active();
        }
    }

    DisplayPtr m_display;
    int m_eventBase;
    XSyncCounter m_counter;
    XSyncAlarm m_alarm = 0;
    qint64 m_threshold = 1;
    bool m_waitingForIdle = true;
    QSocketNotifier m_notifier;
};

} // namespace

std::unique_ptr<IdleMonitor> xSyncIdleMonitor(const QString &displayName) {
    DisplayPtr display = openDisplay(displayName);
    if (!display)
        return nullptr;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XSyncQueryExtension(display.get(), &eventBase, &errorBase) ||
        !XSyncInitialize(display.get(), &major, &minor))
        return nullptr;
    int count = 0;
    XSyncSystemCounter *counters = XSyncListSystemCounters(display.get(), &count);
    XSyncCounter idleTime = 0;
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(counters[i].name, "IDLETIME") == 0)
            idleTime = counters[i].counter;
    }
    if (counters)
        XSyncFreeSystemCounterList(counters);
    if (idleTime == 0)
        return nullptr;
    return std::make_unique<XSyncIdleMonitor>(std::move(display), eventBase, idleTime);
}

std::unique_ptr<IdleMonitor> xScreenSaverIdleMonitor(const QString &displayName,
                                                     milliseconds returnCheck) {
    DisplayPtr display = openDisplay(displayName);
    if (!display)
        return nullptr;
    int eventBase = 0, errorBase = 0;
    if (!XScreenSaverQueryExtension(display.get(), &eventBase, &errorBase))
        return nullptr;
    // Shared by the query, which the monitor keeps for its life.
    std::shared_ptr<Display> shared(display.release(), DisplayCloser());
    const auto ask = [shared]() -> std::optional<qint64> {
        XScreenSaverInfo info;
        std::memset(&info, 0, sizeof info);
        if (!XScreenSaverQueryInfo(shared.get(), DefaultRootWindow(shared.get()), &info))
            return std::nullopt;
        return qint64(info.idle);
    };
    if (!ask())
        return nullptr;
    return std::make_unique<PolledIdleMonitor>(
        QStringLiteral("the X server's screen-saver extension"), ask, returnCheck);
}

} // namespace platform
