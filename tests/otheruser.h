#pragma once

// Another user for the tests that need one: run as root, a child process
// becomes uid/gid 65534 before it starts its program, and the folders it must
// reach are handed to that user; run as anyone else, the test's user is
// already not root and nothing switches.

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QString>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace otheruser {

inline constexpr uid_t kUser = 65534;
inline constexpr gid_t kGroup = 65534;

// Whether children run as another user than the test.
inline bool switching() { return ::geteuid() == 0; }

inline void runAs(QProcess &process) {
    process.setChildProcessModifier([] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kGroup) != 0 || ::setuid(kUser) != 0)
            ::_exit(126);
    });
}

// Hands the folder and all below it to the other user.
inline bool giveAway(const QString &folder) {
    if (::chown(QFile::encodeName(folder).constData(), kUser, kGroup) != 0)
        return false;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (::lchown(QFile::encodeName(it.next()).constData(), kUser, kGroup) != 0)
            return false;
    }
    return true;
}

} // namespace otheruser
