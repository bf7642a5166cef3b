#pragma once

#include <QString>

namespace settings {

// A setting or count that could not be stored is lost without a word to the
// user, as every write of the program is, but said once on standard error
// with the reason, for whoever looks there.
void reportUnsaved(const QString &what, const QString &reason);

} // namespace settings
