#include "userstore_os.h"

namespace platform {

// The user's part of the registry.
std::unique_ptr<QSettings> openUserStore(const QString &application) {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       kStoreOrganisation, application);
}

} // namespace platform
