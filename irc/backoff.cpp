#include "backoff.h"

#include <algorithm>

namespace irc {

Backoff::Backoff(std::function<double()> random) : m_random(std::move(random)) {}

qint64 Backoff::nextDelayMs() {
    qint64 delay = kFirstMs;
    for (int i = 0; i < m_failures && delay < kMaxMs; ++i)
        delay *= 2;
    delay = std::min(delay, kMaxMs);
    ++m_failures;
    const double spread = 0.9 + 0.2 * std::clamp(m_random(), 0.0, 1.0);
    return std::min(kMaxMs, qint64(double(delay) * spread));
}

void Backoff::connectionEnded(qint64 heldMs) {
    if (heldMs >= kStableMs)
        m_failures = 0;
}

} // namespace irc
