// A network's password the Windows way: what the real chathost.exe
// --store-password stores in the Credential Manager is what the network
// setup reads, and password files are judged by their access lists, on
// descriptors written as SDDL and on files made here (the cases Wine can
// keep on a file: docs/windows.md).
#include "chathost/storedpassword.h"
#include "platform/secretstore_win.h"
#include "tests/windows/winchathost.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sddl.h>
#include <wincred.h>

using namespace Qt::StringLiterals;

namespace {

const QString kNetwork = u"tst net"_s;

LPCWSTR wide(const QString &text) { return reinterpret_cast<LPCWSTR>(text.utf16()); }

PSECURITY_DESCRIPTOR descriptorOf(const QString &sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(wide(sddl), SDDL_REVISION_1, &descriptor,
                                                         nullptr);
    return descriptor;
}

// The owner SID of a descriptor, which lives as long as the descriptor.
PSID ownerOf(PSECURITY_DESCRIPTOR descriptor) {
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    GetSecurityDescriptorOwner(descriptor, &owner, &defaulted);
    return owner;
}

// chathost.exe --store-password NETWORK given `input`: its exit status, or
// -1 when it did not end or said anything of the input (every password here
// holds "Zq").
int storeWithChathost(const QByteArray &input) {
    QByteArray said;
    const int status = WinChatHost::storePassword(kNetwork, input, &said);
    return said.contains("Zq") ? -1 : status;
}

QByteArray passwordOf(const QString &file, const QString &saslUser, QString *error) {
    return chathost::networkPassword(kNetwork, file, saslUser, error).value_or("(none)");
}

} // namespace

class TestSecretStoreWin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        // The Credential Manager is the prefix's own: never a user's.
        if (!qEnvironmentVariableIsSet("ZORVEL_WINE_TEST_PREFIX"))
            QSKIP("runs only in the Wine prefix of scripts/test-windows.sh");
        m_user = win::userSid();
        QVERIFY(!m_user.isEmpty());
    }
    void cleanup() {
        CredDeleteW(wide(chathost::storedPasswordName(kNetwork)), CRED_TYPE_GENERIC, 0);
    }

    void descriptors_data() { // %1 is the test's user
        QTest::addColumn<QString>("sddl");
        QTest::addColumn<bool>("isPrivate");
        QTest::newRow("owner only") << u"O:%1D:P(A;;FA;;;%1)"_s << true;
        QTest::newRow("with SYSTEM, Administrators")
            << u"O:%1D:P(A;;FA;;;%1)(A;;FA;;;SY)(A;;FA;;;BA)"_s << true;
        QTest::newRow("owned by Administrators") << u"O:BAD:P(A;;FA;;;BA)(A;;FR;;;%1)"_s << true;
        QTest::newRow("Everyone reads") << u"O:%1D:P(A;;FA;;;%1)(A;;FR;;;WD)"_s << false;
        QTest::newRow("Users read") << u"O:%1D:P(A;;FA;;;%1)(A;;FR;;;BU)"_s << false;
        QTest::newRow("Authenticated Users read") << u"O:%1D:(A;;FA;;;%1)(A;;FR;;;AU)"_s << false;
        QTest::newRow("another user reads") << u"O:%1D:(A;;FR;;;S-1-5-21-1-2-3-1001)"_s << false;
        QTest::newRow("Users, GENERIC_READ") << u"O:%1D:P(A;;FA;;;%1)(A;;GR;;;BU)"_s << false;
        QTest::newRow("Everyone writes") << u"O:%1D:P(A;;FA;;;%1)(A;;FW;;;WD)"_s << false;
        // Attributes and the access list show nothing of the secret.
        QTest::newRow("Everyone, attributes") << u"O:%1D:(A;;0x120080;;;WD)"_s << true;
        QTest::newRow("Everyone, inherit only") << u"O:%1D:(A;OICIIO;FR;;;WD)"_s << true;
        QTest::newRow("another owner") << u"O:S-1-5-21-1-2-3-1001D:P(A;;FA;;;%1)"_s << false;
    }
    void descriptors() {
        QFETCH(QString, sddl);
        PSECURITY_DESCRIPTOR descriptor = descriptorOf(sddl.arg(m_user));
        PSECURITY_DESCRIPTOR user = descriptorOf(u"O:"_s + m_user);
        QVERIFY(descriptor && user);
        QTEST(platform::isPrivateDescriptor(descriptor, ownerOf(user)), "isPrivate");
        LocalFree(user);
        LocalFree(descriptor);
    }

    // No access list at all lets everyone in. (Made by hand: Wine reads the
    // SDDL "D:NO_ACCESS_CONTROL" as an empty list.)
    void noAccessList() {
        PSECURITY_DESCRIPTOR user = descriptorOf(u"O:"_s + m_user);
        SECURITY_DESCRIPTOR descriptor;
        QVERIFY(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                SetSecurityDescriptorOwner(&descriptor, ownerOf(user), FALSE) &&
                SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE));
        QVERIFY(!platform::isPrivateDescriptor(&descriptor, ownerOf(user)));
        LocalFree(user);
    }

    // Files whose access list the test sets; a password file comes before
    // the stored password.
    void passwordFiles_data() {
        QTest::addColumn<QString>("dacl"); // %1 is the test's user
        QTest::addColumn<QByteArray>("secret");
        QTest::newRow("owner only") << u"D:P(A;;FA;;;%1)"_s << QByteArray("fileZq0");
        QTest::newRow("Everyone reads") << u"D:P(A;;FA;;;%1)(A;;FR;;;WD)"_s << QByteArray("(none)");
    }
    void passwordFiles() {
        QFETCH(QString, dacl);
        QFETCH(QByteArray, secret);
        QCOMPARE(storeWithChathost("keptZq1\n"), 0);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"example.pass"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("fileZq0\r\nrest") == 13);
        file.close();
        QVERIFY(win::setFileAccess(path, dacl.arg(m_user)));
        QString error;
        QCOMPARE(passwordOf(path, {}, &error), secret);
        const bool refused = secret == "(none)";
        QCOMPARE(error.contains(u"icacls"_s) && error.contains(QDir::toNativeSeparators(path)),
                 refused);
        QVERIFY(!error.contains(u"Zq"_s));
    }

    // A second store replaces the first; input without a password stores
    // nothing; a SASL login with no password is refused, saying how to
    // store one.
    void storedPassword() {
        QString error;
        QCOMPARE(passwordOf({}, u"acct"_s, &error), "(none)");
        QVERIFY2(error.contains(u"--store-password"_s), qPrintable(error));
        QCOMPARE(passwordOf({}, {}, &error), "");
        QCOMPARE(storeWithChathost("firstZq2\r\nsecond line\r\n"), 0);
        QCOMPARE(passwordOf({}, u"acct"_s, &error), "firstZq2");
        QCOMPARE(storeWithChathost("otherZq3\n"), 0);
        QCOMPARE(storeWithChathost("\r\nlaterZq4\r\n"), 2);
        QCOMPARE(passwordOf({}, {}, &error), "otherZq3");
    }

private:
    QString m_user;
};

QTEST_GUILESS_MAIN(TestSecretStoreWin)
#include "tst_secretstore_win.moc"
