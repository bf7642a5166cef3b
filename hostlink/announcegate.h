#pragma once

#include "chatwire/chatwire.h"

#include <optional>

namespace hostlink {

// What a line zorvel posts is, as far as a channel that takes only some of
// them cares.
enum class LineKind {
    Load,       // the two start-up lines
    Handle,     // the handle changed
    Style,      // a ready-made style applied
    StyleShop,  // the style shop opened or closed
    Engaged,    // idle on
    IdleTime,   // an idle tick's first line, with the idle time
    Reason,     // an idle tick's second line, with the reason
    Disengaged, // idle off
    Statistics, // asked for by hand
    Closing,    // the two closing lines
};

// What zorvel has said in one room, and whether the room's announce mode
// lets the next line through. `changes` lets through going idle, the first
// reason after it, coming back (and nothing of that away period after it)
// and statistics; the closing lines only while the room last heard the user
// go idle, so that it is never left believing the user away; nothing else.
class AnnounceGate {
public:
    bool allows(chatwire::AnnounceMode mode, LineKind kind) const;
    // The line was posted in the room.
    void posted(LineKind kind);

private:
    bool m_away = false;       // engaged said, disengaged not yet
    bool m_reasonSaid = false; // in this away period
};

} // namespace hostlink
