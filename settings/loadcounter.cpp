#include "settings/settingsfile.h"

#include "platform/userstore.h"
#include "settings/unsaved.h"

#include <algorithm>
#include <limits>

namespace settings {

namespace {

const QString kApplication = QStringLiteral("zorvel");
const QString kSectionName = QStringLiteral("Count");
const QString kKey = QStringLiteral("stunt");

} // namespace

std::optional<QString> countLoad() {
    const QString stored = platform::readUserValue(kApplication, kSectionName, kKey);
    // Only plain decimal digits count; anything else (we never store it)
    // starts the count again at 1, and is still shown as it was found.
    const bool digitsOnly =
        std::all_of(stored.begin(), stored.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    bool fits = false;
    const qulonglong count = digitsOnly ? stored.toULongLong(&fits) : 0;
    const bool counts = fits && count < std::numeric_limits<qulonglong>::max();
    const QString next = counts ? QString::number(count + 1) : QStringLiteral("1");
    QString reason;
    if (!platform::writeUserValue(kApplication, kSectionName, kKey, next, &reason))
        reportUnsaved(QStringLiteral("the load count"), reason);
    if (stored.isEmpty())
        return std::nullopt;
    return stored;
}

} // namespace settings
