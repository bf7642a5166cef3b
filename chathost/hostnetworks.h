#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace chathost {

class EchoPrinter;
class HostService;
class HostWindow;
struct HostOptions;
class WindowTree;

// The IRC networks the command line asks chathost to join (--irc,
// --network), whose channels are rooms.
class HostNetworks {
public:
    virtual ~HostNetworks() = default;
    // Joins the window's channel rooms to their channels and connects: lines
    // posted there go to the channel, what the channel says and the
    // connection's status show there (and reach `echo` when given), and the
    // service's SetAway reaches the networks; what is said to the user while
    // away is kept, and shown in a window of `tree` when they are back. What
    // is returned holds the connections and must go before the window does.
    virtual std::unique_ptr<QObject> join(HostWindow &window, WindowTree &tree,
                                          HostService &service, EchoPrinter *echo) = 0;
};

// Reads what the command line names for the networks (the settings file,
// password files) and, when it names any, makes their channels the first of
// `options`' rooms and the nick its screen name. Nothing, with the reason for
// the user, when a network cannot be used.
std::unique_ptr<HostNetworks> prepareHostNetworks(HostOptions &options, QString *error);

} // namespace chathost
