#pragma once

// Another user for the tests that need one: run as root, a child process
// becomes uid/gid 65534 before it starts its program, and the folders it must
// reach are handed to that user; run as anyone else, the test's user is
// already not root and nothing switches.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
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

// A copy of `program` in `folder` that the other user may run: the build may
// lie where that user cannot enter (a checkout in a private temporary folder,
// as mktemp -d makes). `folder` must be one that user reaches; empty when the
// copy failed.
inline QString runnableCopy(const QString &program, const QString &folder) {
    const QString copy = folder + QLatin1Char('/') + QFileInfo(program).fileName();
    QFile::remove(copy);
    if (!QDir().mkpath(folder) || !QFile::copy(program, copy) ||
        !QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                         QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                         QFile::ExeOther))
        return {};
    return copy;
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
