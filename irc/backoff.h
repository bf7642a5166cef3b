#pragma once

#include <QtGlobal>
#include <functional>

namespace irc {

// How long to wait before connecting again: 2 s, doubling after each failed
// try up to 5 min, each delay spread by up to a tenth either way so that many
// clients cut off together do not come back together. A connection that held
// for a minute starts the count afresh.
class Backoff {
public:
    static constexpr qint64 kFirstMs = 2000;
    static constexpr qint64 kMaxMs = 5 * 60 * 1000;
    static constexpr qint64 kStableMs = 60 * 1000;

    // `random` gives a number in [0, 1); tests own it.
    explicit Backoff(std::function<double()> random);

    // The delay before the next try, counting it.
    qint64 nextDelayMs();
    // A connection ended after it had been registered for `heldMs`.
    void connectionEnded(qint64 heldMs);
    void reset() { m_failures = 0; }

private:
    std::function<double()> m_random;
    int m_failures = 0;
};

} // namespace irc
