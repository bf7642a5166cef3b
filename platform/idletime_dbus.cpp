// The session's idle time over D-Bus, where the desktop offers it: what a
// Wayland session has, whose X server (if any) sees only X programs' input.
#include "platform/idletime_unix.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>

namespace platform {

namespace {

using std::chrono::milliseconds;

const QString kMutterService = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString kMutterPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString kFreedesktopService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kFreedesktopPath = QStringLiteral("/org/freedesktop/ScreenSaver");

// A desktop service answers at once or not at all: the user interface waits
// for it at most this long.
constexpr int kCallTimeoutMs = 1000;

// A call without the proxy classes, which would first ask the service to
// describe itself and wait for the answer.
QDBusMessage methodCall(const QString &service, const QString &path, const QString &method,
                        const QVariantList &arguments = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, service, method);
    call.setArguments(arguments);
    return call;
}

bool serviceAnswers(const QDBusConnection &bus, const QString &service) {
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(service);
    return registered.isValid() && registered.value();
}

// Mutter's watches: one for the threshold, which fires each time the idle
// time reaches it, and one for the next input, set each time the first has
// fired (it fires once and goes). Calls are asynchronous, so the user
// interface never waits for the compositor.
class MutterIdleMonitor final : public IdleMonitor {
    Q_OBJECT
public:
    explicit MutterIdleMonitor(const QDBusConnection &bus) : m_bus(bus) {
        m_bus.connect(kMutterService, kMutterPath, kMutterService, QStringLiteral("WatchFired"),
                      this, SLOT(onWatchFired(uint)));
    }
    ~MutterIdleMonitor() override {
        m_bus.disconnect(kMutterService, kMutterPath, kMutterService, QStringLiteral("WatchFired"),
                         this, SLOT(onWatchFired(uint)));
        removeWatches();
    }

    void watch(milliseconds threshold) override {
        removeWatches();
        m_idle = false;
        addWatch(QStringLiteral("AddIdleWatch"),
                 {QVariant::fromValue(quint64(std::max<qint64>(threshold.count(), 1)))},
                 &m_idleWatch);
    }
    QString sourceName() const override { return QStringLiteral("GNOME's IdleMonitor"); }

private Q_SLOTS:
    void onWatchFired(uint id) {
        if (id == 0)
            return;
        if (!m_idle && id == m_idleWatch) {
            m_idle = true;
            addWatch(QStringLiteral("AddUserActiveWatch"), {}, &m_activeWatch);
            Q_EMIT idle();
        } else if (m_idle && id == m_activeWatch) {
            m_idle = false;
            m_activeWatch = 0;
            Q_EMIT active();
        }
    }

private:
    // Calls `method` and keeps the watch's id in `slot` once it answers.
    void addWatch(const QString &method, const QVariantList &arguments, uint *slot) {
        *slot = 0;
        const QDBusPendingCall call = m_bus.asyncCall(
            methodCall(kMutterService, kMutterPath, method, arguments), kCallTimeoutMs);
        auto *watcher = new QDBusPendingCallWatcher(call, this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [slot](QDBusPendingCallWatcher *done) {
                    const QDBusPendingReply<uint> reply = *done;
                    if (reply.isValid())
                        *slot = reply.value();
                    done->deleteLater();
                });
    }

    void removeWatches() {
        for (uint *id : {&m_idleWatch, &m_activeWatch}) {
            if (*id != 0)
                m_bus.asyncCall(
                    methodCall(kMutterService, kMutterPath, QStringLiteral("RemoveWatch"), {*id}),
                    kCallTimeoutMs);
            *id = 0;
        }
    }

    QDBusConnection m_bus;
    uint m_idleWatch = 0;
    uint m_activeWatch = 0;
    bool m_idle = false;
};

} // namespace

std::unique_ptr<IdleMonitor> mutterIdleMonitor() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!serviceAnswers(bus, kMutterService))
        return nullptr;
    return std::make_unique<MutterIdleMonitor>(bus);
}

std::unique_ptr<IdleMonitor> freedesktopIdleMonitor(milliseconds returnCheck) {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!serviceAnswers(bus, kFreedesktopService))
        return nullptr;
    const auto ask = [bus]() -> std::optional<qint64> {
        const QDBusReply<uint> reply = QDBusConnection(bus).call(
            methodCall(kFreedesktopService, kFreedesktopPath, QStringLiteral("GetSessionIdleTime")),
            QDBus::Block, kCallTimeoutMs);
        if (!reply.isValid())
            return std::nullopt;
        return qint64(reply.value());
    };
    // GNOME registers the service but does not implement the call.
    if (!ask())
        return nullptr;
    return std::make_unique<PolledIdleMonitor>(QStringLiteral("org.freedesktop.ScreenSaver"), ask,
                                               returnCheck);
}

} // namespace platform

#include "idletime_dbus.moc"
