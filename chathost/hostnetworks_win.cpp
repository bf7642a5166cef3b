#include "chathost/hostnetworks.h"

#include "chathost/hostoptions.h"

namespace chathost {

namespace {

class NoNetworks final : public HostNetworks {
public:
    std::unique_ptr<QObject> join(HostWindow &, WindowTree &, HostService &,
                                  EchoPrinter *) override {
        return nullptr;
    }
};

} // namespace

std::unique_ptr<HostNetworks> prepareHostNetworks(HostOptions &options, QString *error) {
    // Asking for a network and getting only local rooms would post the
    // user's lines where nobody reads them: a mistake, said at once.
    if (options.joinsIrc()) {
        *error = QStringLiteral("this chathost joins no IRC networks (--irc, --network): "
                                "channels are rooms in the Linux build only");
        return nullptr;
    }
    return std::make_unique<NoNetworks>();
}

} // namespace chathost
