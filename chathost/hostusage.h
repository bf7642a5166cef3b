#pragma once

#include <QString>

namespace chathost {

// The --help text: what this build of chathost takes, and where it keeps
// the user's files.
QString usageText();

} // namespace chathost
