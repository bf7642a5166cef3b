#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace chathost {

class WindowTree;

// How other programs reach chathost's rooms: on Unix its local socket
// (PROTOCOL.md); on Windows the real window tree, which the system's own
// window calls find and drive.
class HostService {
public:
    virtual ~HostService() = default;
    // Takes the user's one place for a chathost and serves the tree's windows,
    // those published later included. False, with a message for the user,
    // when another chathost runs or the place cannot be taken.
    virtual bool start(QString *message) = 0;
    // Where it serves, for the start-up message.
    virtual QString where() const = 0;
    // Who takes the user's away text (empty: back): true when a network took
    // it. Without one, or where clients have no way to send it, nobody does.
    virtual void setAwayHandler(std::function<bool(const QString &)> handler) = 0;
};

std::unique_ptr<HostService> createHostService(WindowTree &tree);

// --ping: whether a chathost answers, with a line for the user; true when one does.
bool pingHost(QString *message);

} // namespace chathost
