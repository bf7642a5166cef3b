#include "announcegate.h"

namespace hostlink {

bool AnnounceGate::allows(chatwire::AnnounceMode mode, LineKind kind) const {
    switch (mode) {
    case chatwire::AnnounceMode::Full:
        return true;
    case chatwire::AnnounceMode::Quiet:
        return false;
    case chatwire::AnnounceMode::Changes:
        break;
    }
    switch (kind) {
    case LineKind::Engaged:
    case LineKind::Disengaged:
    case LineKind::Statistics:
        return true;
    case LineKind::Reason:
        return m_away && !m_reasonSaid;
    case LineKind::Closing:
        return m_away;
    case LineKind::Load:
    case LineKind::Handle:
    case LineKind::Style:
    case LineKind::StyleShop:
    case LineKind::IdleTime:
        break;
    }
    return false;
}

void AnnounceGate::posted(LineKind kind) {
    if (kind == LineKind::Engaged) {
        m_away = true;
        m_reasonSaid = false;
    } else if (kind == LineKind::Reason) {
        m_reasonSaid = true;
    } else if (kind == LineKind::Disengaged) {
        m_away = false;
    }
}

} // namespace hostlink
