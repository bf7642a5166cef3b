#include "platform/secretstore_win.h"
#include "platform/secretstore.h"

#include <QDir>

#include <aclapi.h>
#include <functional>
#include <memory>
#include <wincred.h>

namespace platform {

namespace {

// What another may not be allowed to do to a password file.
constexpr ACCESS_MASK kReadOrChange =
    FILE_READ_DATA | FILE_WRITE_DATA | FILE_APPEND_DATA | WRITE_DAC | WRITE_OWNER;

LPCWSTR wide(const QString &text) { return reinterpret_cast<LPCWSTR>(text.utf16()); }

QString systemMessage(DWORD code) { return qt_error_string(int(code)); }

bool isSystemOrAdministrators(PSID sid) {
    return IsWellKnownSid(sid, WinLocalSystemSid) ||
           IsWellKnownSid(sid, WinBuiltinAdministratorsSid);
}

// Whom an entry may allow: the user, the owner (also by the owner-rights
// SID), SYSTEM and the Administrators group.
bool isTrusted(PSID sid, PSID owner, PSID user) {
    return EqualSid(sid, user) || EqualSid(sid, owner) ||
           IsWellKnownSid(sid, WinCreatorOwnerRightsSid) || isSystemOrAdministrators(sid);
}

// Whether the entry lets someone untrusted read or change the file.
bool allowsOthers(const ACE_HEADER *header, PSID owner, PSID user) {
    if (header->AceFlags & INHERIT_ONLY_ACE)
        return false; // for what is made in a folder, not for the file itself
    switch (header->AceType) {
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_ACE_TYPE: {
        // Both are laid out alike: a mask, then the SID.
        const auto *ace = reinterpret_cast<const ACCESS_ALLOWED_ACE *>(header);
        ACCESS_MASK mask = ace->Mask;
        GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                                FILE_ALL_ACCESS};
        MapGenericMask(&mask, &mapping);
        PSID sid = const_cast<DWORD *>(&ace->SidStart);
        return (mask & kReadOrChange) && !isTrusted(sid, owner, user);
    }
    case ACCESS_ALLOWED_COMPOUND_ACE_TYPE:
    case ACCESS_ALLOWED_OBJECT_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE:
        return true;
    default:
        // Denials only take access away; audits and labels give none.
        return false;
    }
}

// The SID of the user this process runs as, in `buffer`.
PSID currentUser(std::unique_ptr<BYTE[]> &buffer) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return nullptr;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    buffer = std::make_unique<BYTE[]>(size);
    const bool ok = size && GetTokenInformation(token, TokenUser, buffer.get(), size, &size);
    CloseHandle(token);
    return ok ? reinterpret_cast<TOKEN_USER *>(buffer.get())->User.Sid : nullptr;
}

} // namespace

bool isPrivateDescriptor(PSECURITY_DESCRIPTOR descriptor, PSID user) {
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || !owner ||
        !(EqualSid(owner, user) || isSystemOrAdministrators(owner)))
        return false;
    BOOL present = FALSE;
    PACL dacl = nullptr;
    // No access list at all lets everyone do everything.
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present || !dacl)
        return false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void *ace = nullptr;
        if (!GetAce(dacl, i, &ace) || allowsOthers(static_cast<ACE_HEADER *>(ace), owner, user))
            return false;
    }
    return true;
}

bool isPrivateFile(const QString &path) {
    std::unique_ptr<BYTE[]> userBuffer;
    PSID user = currentUser(userBuffer);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!user ||
        GetNamedSecurityInfoW(wide(QDir::toNativeSeparators(path)), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const bool isPrivate = isPrivateDescriptor(descriptor, user);
    LocalFree(descriptor);
    return isPrivate;
}

QString makePrivateCommand(const QString &path) {
    return QStringLiteral("icacls \"%1\" /inheritance:r /grant:r \"%USERNAME%:F\"")
        .arg(QDir::toNativeSeparators(path));
}

bool hasCredentialStore() { return true; }

std::optional<QByteArray> readCredential(const QString &target, QString *error) {
    PCREDENTIALW credential = nullptr;
    if (!CredReadW(wide(target), CRED_TYPE_GENERIC, 0, &credential)) {
        const DWORD code = GetLastError();
        if (code != ERROR_NOT_FOUND)
            *error = QStringLiteral("cannot read the stored password %1: %2")
                         .arg(target, systemMessage(code));
        return std::nullopt;
    }
    QByteArray secret(reinterpret_cast<const char *>(credential->CredentialBlob),
                      qsizetype(credential->CredentialBlobSize));
    SecureZeroMemory(credential->CredentialBlob, credential->CredentialBlobSize);
    CredFree(credential);
    return secret;
}

bool writeCredential(const QString &target, const QByteArray &secret, QString *error) {
    CREDENTIALW credential{};
    credential.Type = CRED_TYPE_GENERIC;
    QString name = target; // CREDENTIALW wants writable text
    credential.TargetName = reinterpret_cast<LPWSTR>(name.data());
    QByteArray blob = secret;
    credential.CredentialBlob = reinterpret_cast<LPBYTE>(blob.data());
    credential.CredentialBlobSize = DWORD(blob.size());
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    if (CredWriteW(&credential, 0))
        return true;
    const DWORD code = GetLastError();
    *error = QStringLiteral("cannot store the password %1: %2").arg(target, systemMessage(code));
    return false;
}

std::function<void()> hideTyping() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(input, &mode))
        return {};
    SetConsoleMode(input, mode & ~DWORD(ENABLE_ECHO_INPUT));
    return [input, mode] { SetConsoleMode(input, mode); };
}

} // namespace platform
