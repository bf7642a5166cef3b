#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// The longest secret read or stored, in bytes.
inline constexpr qsizetype kMaxSecretBytes = 4096;

// The first line of `text` (CR LF or LF), at most kMaxSecretBytes of it, as a
// secret; nothing when that line is empty or holds a NUL byte.
std::optional<QByteArray> secretFromText(QByteArray text);

// The first line of a password file that only its owner may read or change:
// on Unix the file is ours and its mode gives nobody else access; on Windows
// its access list lets nobody but its owner, SYSTEM and the Administrators
// group read or change it. Any other file is refused, with a message saying
// why and how to make it private; no message ever holds the secret.
std::optional<QByteArray> readSecretFile(const QString &path, QString *error);

// Whether the system keeps secrets for us: Windows' Credential Manager. Where
// it does not, nothing is found and nothing can be stored.
bool hasCredentialStore();

// The secret of the user's generic credential `target`. Nothing with `error`
// left empty when none is stored; nothing with the reason when it cannot be
// read.
std::optional<QByteArray> readCredential(const QString &target, QString *error);

// Stores `secret` as the user's generic credential `target`, kept on this
// machine across logons and replacing one of that name. False with the
// reason when it cannot.
bool writeCredential(const QString &target, const QByteArray &secret, QString *error);

// One line of standard input. From a console, `prompt` is shown on standard
// error first and the typing is not shown. Nothing when the input ends
// before any byte.
std::optional<QByteArray> readSecretInput(const QString &prompt);

} // namespace platform
