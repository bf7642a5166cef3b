#include "userstore.h"

#include "userstore_os.h"

#include <QSettings>
#include <memory>

namespace platform {

QString readUserValue(const QString &application, const QString &section, const QString &key) {
    return openUserStore(application)->value(section + u'/' + key).toString();
}

void writeUserValue(const QString &application, const QString &section, const QString &key,
                    const QString &value) {
    const auto store = openUserStore(application);
    store->setValue(section + u'/' + key, value);
    store->sync();
}

} // namespace platform
