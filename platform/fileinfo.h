#pragma once

#include <QString>

namespace platform {

// True when `path` names an existing ordinary file: not a directory, not a
// device, not hidden (on Unix, a name starting with "."), not a system file.
bool isOrdinaryFile(const QString &path);

} // namespace platform
