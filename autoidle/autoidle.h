#pragma once

#include "platform/idletime.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <optional>

namespace autoidle {

// A longer wait than a year is no wait a person means.
inline constexpr int kMostMinutes = 366 * 24 * 60;

// The minutes a value of the key sets; nothing (auto-idle off) for an empty
// value, 0, or anything but a whole number from 1 up to kMostMinutes.
std::optional<int> minutesFrom(const QString &value);
// The minutes a person may give for the key: digits only, 0 (off) or what
// minutesFrom takes; nothing for anything else.
std::optional<int> givenMinutes(const QString &value);

// The idle mode that auto-idle switches, as the session menu's commands do.
class IdleSession {
public:
    virtual ~IdleSession() = default;
    // Idle mode is on, whoever switched it on.
    virtual bool isIdle() const = 0;
    // What the session menu's "idle on" and "idle off" do.
    virtual void goIdle() = 0;
    virtual void comeBack() = 0;
};

// Switches idle mode on when the desktop has been left alone for the
// threshold while idle mode is off, and off again at the first input after
// that, but only an idle mode it switched on itself: one switched by hand
// stays as the person left it.
class AutoIdle final : public QObject {
    Q_OBJECT
public:
    // Starts the monitor watching for `threshold` without input.
    AutoIdle(IdleSession &session, platform::IdleMonitor &monitor,
             std::chrono::milliseconds threshold, QObject *parent = nullptr);

    // Idle mode was switched on or off. Unless this object is switching it
    // now, the switch is the person's, and never undone automatically.
    void switched();
    // Idle mode is on because this object switched it on.
    bool isAutomatic() const { return m_automatic; }

private:
    enum class Report { None, Idle, Active };
    void report(Report report);

    IdleSession &m_session;
    bool m_automatic = false;
    bool m_switching = false;
    Report m_pending = Report::None;
};

} // namespace autoidle
