#include "platform/secretstore.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <functional>

namespace platform {

// The half of each system: whether the file is private, the command that
// makes it so, and typing unseen until the returned call when standard
// input is a console (nothing returned when it is not).
bool isPrivateFile(const QString &path);
QString makePrivateCommand(const QString &path);
std::function<void()> hideTyping();

std::optional<QByteArray> secretFromText(QByteArray text) {
    text.truncate(kMaxSecretBytes);
    const qsizetype end = text.indexOf('\n');
    if (end >= 0)
        text.truncate(end);
    if (text.endsWith('\r'))
        text.chop(1);
    if (text.isEmpty() || text.contains('\0'))
        return std::nullopt;
    return text;
}

std::optional<QByteArray> readSecretFile(const QString &path, QString *error) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        *error = QStringLiteral("the password file %1 does not exist").arg(path);
        return std::nullopt;
    }
    if (!isPrivateFile(path)) {
        *error = QStringLiteral("the password file %1 can be read or changed by other users: "
                                "it is not used. Make it yours alone: %2")
                     .arg(path, makePrivateCommand(path));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("cannot read the password file %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    auto secret = secretFromText(file.read(kMaxSecretBytes));
    if (!secret)
        *error =
            QStringLiteral("the password file %1 holds no password on its first line").arg(path);
    return secret;
}

std::optional<QByteArray> readSecretInput(const QString &prompt) {
    const std::function<void()> showTyping = hideTyping();
    if (showTyping) {
        const QByteArray text = prompt.toLocal8Bit();
        std::fwrite(text.constData(), 1, std::size_t(text.size()), stderr);
        std::fflush(stderr);
    }
    QByteArray line;
    int c = 0;
    while (line.size() <= kMaxSecretBytes && (c = std::getchar()) != EOF && c != '\n')
        line.append(char(c));
    if (showTyping) {
        showTyping();
        // The Enter typed was not shown either.
        std::fputc('\n', stderr);
    }
    if (line.isEmpty() && c == EOF)
        return std::nullopt;
    return line;
}

} // namespace platform
