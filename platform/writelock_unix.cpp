#include "platform/writelock.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

// The folder is locked rather than the file, which each write replaces; the
// kernel drops the lock when its holder dies, so a killed writer never blocks
// the next one.
struct WriteLock::Os {
    int folder = -1;
    bool held = false;
};

WriteLock::WriteLock(const QString &file) : m_os(std::make_unique<Os>()) {
    m_os->folder = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_os->folder < 0)
        return;
    int result;
    while ((result = ::flock(m_os->folder, LOCK_EX)) != 0 && errno == EINTR) {
    }
    m_os->held = result == 0;
}

WriteLock::~WriteLock() {
    if (m_os->folder >= 0)
        ::close(m_os->folder);
}

bool WriteLock::isHeld() const { return m_os->held; }

void WriteLock::syncFolder() {
    if (m_os->folder >= 0)
        ::fsync(m_os->folder);
}

} // namespace platform
