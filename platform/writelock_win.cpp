#include "writelock.h"

#include <QLockFile>

namespace platform {

struct WriteLock::Os {
    explicit Os(const QString &file) : lock(file + QStringLiteral(".lock")) {}
    QLockFile lock;
    bool held = false;
};

WriteLock::WriteLock(const QString &file) : m_os(std::make_unique<Os>(file)) {
    m_os->held = m_os->lock.tryLock(10000);
}

WriteLock::~WriteLock() = default;

bool WriteLock::isHeld() const { return m_os->held; }

void WriteLock::syncFolder() {}

} // namespace platform
