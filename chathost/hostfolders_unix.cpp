#include "chathost/hostfolders.h"

#include "irc/networkconfig.h"

namespace chathost {

QString networksFile() { return irc::networksFilePath(); }

} // namespace chathost
