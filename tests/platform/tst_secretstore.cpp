// Password files on Unix: the first line of a file that only its owner may
// read or change; any other file is refused, saying how to make it private.
#include "platform/secretstore.h"
#include "tests/testenv.h"

#include <QFile>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class TestSecretStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void passwordFiles_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("secret"); // empty: refused
        QTest::newRow("owner only") << QByteArray("s3cret\n") << 0600 << QByteArray("s3cret");
        QTest::newRow("owner read only, CR LF")
            << QByteArray("pw\r\nrest") << 0400 << QByteArray("pw");
        QTest::newRow("group can read") << QByteArray("pw") << 0640 << QByteArray();
        QTest::newRow("anyone can read") << QByteArray("pw") << 0644 << QByteArray();
        QTest::newRow("others can write") << QByteArray("pw") << 0602 << QByteArray();
        QTest::newRow("empty") << QByteArray("\n") << 0600 << QByteArray();
    }
    void passwordFiles() {
        QFETCH(QByteArray, contents);
        QFETCH(int, mode);
        QFETCH(QByteArray, secret);
        TestEnv env;
        const QString path = env.homeDir() + u"/pass"_s;
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        QString error;
        const auto read = platform::readSecretFile(path, &error);
        QCOMPARE(read.value_or(QByteArray()), secret);
        if (secret.isEmpty())
            QVERIFY(error.contains(path));
        if (mode & 0066)
            QVERIFY(error.endsWith(u"chmod 600 "_s + path));
        // The message never shows the password itself.
        QVERIFY(!error.contains(u"pw"_s));
    }
};

QTEST_GUILESS_MAIN(TestSecretStore)
#include "tst_secretstore.moc"
