// A network's password the Windows way: stored in the Credential Manager by
// the real chathost.exe --store-password and read back as the network setup
// reads it, and password files judged by their access lists: the rules on
// descriptors written as SDDL, and files made here whose access list Wine
// keeps (see docs/windows.md for the ones it cannot).
#include "chathost/storedpassword.h"
#include "platform/secretstore.h"
#include "platform/secretstore_win.h"
#include "tests/windows/winchathost.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sddl.h>
#include <wincred.h>

using namespace Qt::StringLiterals;

namespace {

// The SID of the user the test runs as, as SDDL text.
QString userSid() {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    BYTE buffer[256];
    DWORD size = sizeof buffer;
    const bool ok = GetTokenInformation(token, TokenUser, buffer, size, &size);
    CloseHandle(token);
    LPWSTR text = nullptr;
    if (!ok || !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(buffer)->User.Sid, &text))
        return {};
    const QString sid = QString::fromWCharArray(text);
    LocalFree(text);
    return sid;
}

PSECURITY_DESCRIPTOR descriptorOf(const QString &sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(reinterpret_cast<LPCWSTR>(sddl.utf16()),
                                                         SDDL_REVISION_1, &descriptor, nullptr);
    return descriptor;
}

// chathost.exe --store-password NETWORK with `input` on its standard input.
int storeWithChathost(const QString &network, const QByteArray &input) {
    QProcess chathost;
    chathost.start(WinChatHost::programPath(u"chathost.exe"_s), {u"--store-password"_s, network});
    if (!chathost.waitForStarted(30000))
        return -1;
    chathost.write(input);
    chathost.closeWriteChannel();
    if (!chathost.waitForFinished(30000)) {
        chathost.kill();
        chathost.waitForFinished(5000);
        return -1;
    }
    // The password never shows in what chathost says.
    const QByteArray said = chathost.readAllStandardOutput() + chathost.readAllStandardError();
    if (!input.trimmed().isEmpty() && said.contains(input.trimmed()))
        return -2;
    return chathost.exitStatus() == QProcess::NormalExit ? chathost.exitCode() : -1;
}

const QString kNetwork = u"tst net"_s;

} // namespace

class TestSecretStoreWin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        // The Credential Manager is the prefix's own: never a user's.
        if (!qEnvironmentVariableIsSet("ZORVEL_WINE_TEST_PREFIX"))
            QSKIP("runs only in the Wine prefix of scripts/test-windows.sh");
        m_user = userSid();
        QVERIFY(!m_user.isEmpty());
    }
    void cleanup() {
        CredDeleteW(reinterpret_cast<LPCWSTR>(chathost::storedPasswordName(kNetwork).utf16()),
                    CRED_TYPE_GENERIC, 0);
    }

    // %1 is the test's user.
    void descriptors_data() {
        QTest::addColumn<QString>("sddl");
        QTest::addColumn<bool>("isPrivate");
        QTest::newRow("owner only") << u"O:%1D:P(A;;FA;;;%1)"_s << true;
        QTest::newRow("owner, SYSTEM, Administrators")
            << u"O:%1D:P(A;;FA;;;%1)(A;;FA;;;SY)(A;;FA;;;BA)"_s << true;
        QTest::newRow("owned by Administrators") << u"O:BAD:P(A;;FA;;;BA)(A;;FR;;;%1)"_s << true;
        QTest::newRow("Everyone reads") << u"O:%1D:P(A;;FA;;;%1)(A;;FR;;;WD)"_s << false;
        QTest::newRow("Users read") << u"O:%1D:P(A;;FA;;;%1)(A;;FR;;;BU)"_s << false;
        QTest::newRow("Authenticated Users read") << u"O:%1D:P(A;;FA;;;%1)(A;;FR;;;AU)"_s << false;
        QTest::newRow("another user reads")
            << u"O:%1D:P(A;;FA;;;%1)(A;;FR;;;S-1-5-21-1-2-3-1001)"_s << false;
        QTest::newRow("Users read by GENERIC_READ")
            << u"O:%1D:P(A;;FA;;;%1)(A;;GR;;;BU)"_s << false;
        QTest::newRow("Everyone writes only") << u"O:%1D:P(A;;FA;;;%1)(A;;FW;;;WD)"_s << false;
        QTest::newRow("Everyone changes the access list")
            << u"O:%1D:P(A;;FA;;;%1)(A;;WD;;;WD)"_s << false;
        // Attributes and the access list itself show nothing of the secret.
        QTest::newRow("Everyone reads attributes")
            << u"O:%1D:P(A;;FA;;;%1)(A;;0x120080;;;WD)"_s << true;
        QTest::newRow("Everyone, for what the folder makes only")
            << u"O:%1D:P(A;;FA;;;%1)(A;OICIIO;FR;;;WD)"_s << true;
        QTest::newRow("owned by another user")
            << u"O:S-1-5-21-1-2-3-1001D:P(A;;FA;;;%1)"_s << false;
    }
    void descriptors() {
        QFETCH(QString, sddl);
        QFETCH(bool, isPrivate);
        PSECURITY_DESCRIPTOR descriptor = descriptorOf(sddl.arg(m_user));
        QVERIFY(descriptor);
        PSECURITY_DESCRIPTOR user = descriptorOf(u"O:%1"_s.arg(m_user));
        PSID userSid = nullptr;
        BOOL defaulted = FALSE;
        GetSecurityDescriptorOwner(user, &userSid, &defaulted);
        QCOMPARE(platform::isPrivateDescriptor(descriptor, userSid), isPrivate);
        LocalFree(user);
        LocalFree(descriptor);
    }

    // No access list at all lets everyone in. (Made by hand: Wine reads the
    // SDDL "D:NO_ACCESS_CONTROL" as an empty list, which lets nobody in.)
    void noAccessList() {
        PSECURITY_DESCRIPTOR user = descriptorOf(u"O:%1"_s.arg(m_user));
        PSID userSid = nullptr;
        BOOL defaulted = FALSE;
        GetSecurityDescriptorOwner(user, &userSid, &defaulted);
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorOwner(&descriptor, userSid, FALSE);
        SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
        QVERIFY(!platform::isPrivateDescriptor(&descriptor, userSid));
        LocalFree(user);
    }

    // Files whose access list the test sets with SetFileSecurityW.
    void passwordFiles_data() {
        QTest::addColumn<QString>("dacl");      // %1 is the test's user
        QTest::addColumn<QByteArray>("secret"); // empty: refused
        QTest::newRow("owner only") << u"D:P(A;;FA;;;%1)"_s << QByteArray("s3cret");
        QTest::newRow("owner and SYSTEM")
            << u"D:P(A;;FA;;;%1)(A;;FA;;;SY)"_s << QByteArray("s3cret");
        QTest::newRow("Everyone reads") << u"D:P(A;;FA;;;%1)(A;;FR;;;WD)"_s << QByteArray();
    }
    void passwordFiles() {
        QFETCH(QString, dacl);
        QFETCH(QByteArray, secret);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"example.pass"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("s3cret\r\nrest");
        file.close();
        PSECURITY_DESCRIPTOR descriptor = descriptorOf(dacl.arg(m_user));
        QVERIFY(SetFileSecurityW(reinterpret_cast<LPCWSTR>(path.utf16()), DACL_SECURITY_INFORMATION,
                                 descriptor));
        LocalFree(descriptor);
        QString error;
        const auto read = chathost::networkPassword(kNetwork, path, {}, &error);
        QCOMPARE(read.value_or(QByteArray()), secret);
        if (secret.isEmpty())
            QVERIFY2(error.contains(u"icacls"_s) && error.contains(u"example.pass"_s),
                     qPrintable(error));
        QVERIFY(!error.contains(u"s3cret"_s));
    }

    // What chathost.exe --store-password stores is what the network setup
    // reads; a second store replaces it, and input without a password
    // stores nothing.
    void storedPassword() {
        QString error;
        QCOMPARE(chathost::networkPassword(kNetwork, {}, {}, &error), QByteArray());
        QVERIFY(error.isEmpty());
        QCOMPARE(storeWithChathost(kNetwork, "first pass\r\nsecond line\r\n"), 0);
        QCOMPARE(chathost::networkPassword(kNetwork, {}, u"acct"_s, &error),
                 QByteArray("first pass"));
        QCOMPARE(storeWithChathost(kNetwork, "other\n"), 0);
        QCOMPARE(chathost::networkPassword(kNetwork, {}, {}, &error), QByteArray("other"));
        QCOMPARE(storeWithChathost(kNetwork, "\r\nlater\r\n"), 2);
        QCOMPARE(chathost::networkPassword(kNetwork, {}, {}, &error), QByteArray("other"));
    }

    // A password file, when one is named, comes before the stored password;
    // a SASL login with neither is refused, saying how to store one.
    void precedence() {
        QCOMPARE(storeWithChathost(kNetwork, "kept pass\n"), 0);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"pass"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("from file\n");
        file.close();
        PSECURITY_DESCRIPTOR descriptor = descriptorOf(u"D:P(A;;FA;;;%1)"_s.arg(m_user));
        QVERIFY(SetFileSecurityW(reinterpret_cast<LPCWSTR>(path.utf16()), DACL_SECURITY_INFORMATION,
                                 descriptor));
        LocalFree(descriptor);
        QString error;
        QCOMPARE(chathost::networkPassword(kNetwork, path, {}, &error), QByteArray("from file"));
        cleanup();
        QVERIFY(!chathost::networkPassword(kNetwork, {}, u"acct"_s, &error));
        QVERIFY2(error.contains(u"--store-password"_s), qPrintable(error));
    }

private:
    QString m_user;
};

QTEST_GUILESS_MAIN(TestSecretStoreWin)
#include "tst_secretstore_win.moc"
