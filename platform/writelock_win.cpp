#include "platform/writelock.h"

#include <QDir>
#include <windows.h>

namespace platform {

// A lock file beside the settings file, locked with LockFileEx: the system
// drops the lock when its holder dies, so a killed writer never blocks the
// next one, and the file itself is only ever created, never removed (a
// removal could race with another writer's open).
struct WriteLock::Os {
    HANDLE file = INVALID_HANDLE_VALUE;
    bool held = false;
};

WriteLock::WriteLock(const QString &file) : m_os(std::make_unique<Os>()) {
    const QString lockName = QDir::toNativeSeparators(file + QStringLiteral(".lock"));
    m_os->file =
        CreateFileW(reinterpret_cast<LPCWSTR>(lockName.utf16()), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (m_os->file == INVALID_HANDLE_VALUE)
        return;
    OVERLAPPED whole{};
    m_os->held = LockFileEx(m_os->file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole);
}

WriteLock::~WriteLock() {
    if (m_os->file == INVALID_HANDLE_VALUE)
        return;
    if (m_os->held) {
        OVERLAPPED whole{};
        UnlockFileEx(m_os->file, 0, MAXDWORD, MAXDWORD, &whole);
    }
    CloseHandle(m_os->file);
}

bool WriteLock::isHeld() const { return m_os->held; }

// The rename is made durable by the system's own journal.
void WriteLock::syncFolder() {}

} // namespace platform
