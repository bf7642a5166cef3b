#include "chathost/hostnetworks.h"

#include "chathost/awaykeeper.h"
#include "chathost/echoprinter.h"
#include "chathost/hostoptions.h"
#include "chathost/hostservice.h"
#include "chathost/hostwindow.h"
#include "chathost/ircrooms.h"
#include "platform/statepaths.h"

#include <QCoreApplication>
#include <QPointer>

namespace chathost {

namespace {

class IrcNetworks final : public HostNetworks {
public:
    explicit IrcNetworks(QList<NetworkSetup> networks) : m_networks(std::move(networks)) {}

    std::unique_ptr<QObject> join(HostWindow &window, WindowTree &tree, HostService &service,
                                  EchoPrinter *echo) override {
        auto rooms =
            std::make_unique<IrcRooms>(m_networks, window.rooms(), [&window](const QString &name) {
                return window.addRoom(name, ChatRoom::Kind::Conversation);
            });
        IrcRooms *ircRooms = rooms.get();
        if (echo) {
            QObject::connect(ircRooms, &IrcRooms::heard, ircRooms,
                             [echo](const QString &room, const QString &speaker,
                                    const QString &html) { echo->print(room, speaker, html); });
            QObject::connect(ircRooms, &IrcRooms::statusShown, ircRooms,
                             [echo](const QString &room, const QString &text) {
                                 echo->printStatus(room, text);
                             });
        }
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, ircRooms, &IrcRooms::stop);
        // Only the rooms of a network have anyone to keep lines from.
        if (!m_networks.isEmpty()) {
            // A child of the rooms: it goes before their connections do.
            auto *keeper = new AwayKeeper(
                *ircRooms, tree, platform::userStateFolder() + QStringLiteral("/chathost"),
                [] { return QDateTime::currentDateTimeUtc(); }, ircRooms);
            // A client's request that comes while chathost closes finds the keeper gone.
            service.setAwayHandler([keeper = QPointer<AwayKeeper>(keeper)](const QString &text) {
                return keeper && keeper->setAway(text);
            });
            keeper->resume();
        } else {
            service.setAwayHandler([ircRooms = QPointer<IrcRooms>(ircRooms)](const QString &text) {
                return ircRooms && ircRooms->setAway(text);
            });
        }
        ircRooms->start();
        return rooms;
    }

private:
    QList<NetworkSetup> m_networks;
};

} // namespace

std::unique_ptr<HostNetworks> prepareHostNetworks(HostOptions &options, QString *error) {
    QList<NetworkSetup> networks;
    if (options.joinsIrc()) {
        auto found = networksFromOptions(options, error);
        if (!found)
            return nullptr;
        networks = std::move(*found);
        // The channels' rooms come first, so the first channel's is in front.
        options.roomNames = channelRoomNames(networks) +
                            (options.localRoomsAsked ? options.roomNames : QStringList());
        options.roomAnnounce = channelRoomAnnounce(networks);
        if (!options.nick.isEmpty())
            options.screenName = options.nick;
    }
    return std::make_unique<IrcNetworks>(std::move(networks));
}

} // namespace chathost
