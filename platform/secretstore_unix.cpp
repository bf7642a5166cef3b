#include "platform/secretstore.h"

#include <QFileInfo>

#include <functional>
#include <termios.h>
#include <unistd.h>

namespace platform {

bool isPrivateFile(const QString &path) {
    const QFileInfo info(path);
    const QFile::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    return !(info.permissions() & others) && info.ownerId() == ::geteuid();
}

QString makePrivateCommand(const QString &path) { return QStringLiteral("chmod 600 ") + path; }

bool hasCredentialStore() { return false; }

std::optional<QByteArray> readCredential(const QString &, QString *) { return std::nullopt; }

bool writeCredential(const QString &, const QByteArray &, QString *error) {
    *error = QStringLiteral("this system has no credential store of ours");
    return false;
}

std::function<void()> hideTyping() {
    termios saved{};
    if (::tcgetattr(STDIN_FILENO, &saved) != 0)
        return {};
    termios hidden = saved;
    hidden.c_lflag &= ~tcflag_t(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    return [saved] { ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved); };
}

} // namespace platform
