#pragma once

#include <QSettings>
#include <memory>

namespace platform {

inline constexpr const char *kStoreOrganisation = "zorvel";

// The per-user store of one application, opened afresh: each OS keeps it
// in its own place.
std::unique_ptr<QSettings> openUserStore(const QString &application);

} // namespace platform
