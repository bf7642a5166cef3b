// chathost.exe as an IRC client under the system's own TLS (Schannel), on
// Debian's ngircd started beside the test by with-ngircd.sh, with a bare
// observer in the channel: it refuses the server's certificate while its CA
// is one the system does not trust (given --ca-file of another CA, too),
// joins over plain IRC, and over TLS once the test's CA is in the user's
// trusted roots, named in networks.ini in the user's roaming application
// data. The server wants a password, which chathost takes from the
// Credential Manager. With zorvel beside it, the channel hears zorvel's load
// lines, and the server marks the user away with the idle reason and back as
// idle mode goes on and off; while away, a private message is kept in the
// away log in the user's local application data and answered once. (Wine
// takes no CA from --ca-file: docs/windows.md.)
#include "tests/irc/expectedirc.h"
#include "tests/irc/ircobserver.h"
#include "tests/waitfor.h"
#include "tests/windows/winchathost.h"

#include <QDir>
#include <QFile>
#include <QSslCertificate>
#include <QTemporaryDir>
#include <QTest>

#include <shlobj.h>
#include <wincrypt.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kChannel = "#zorvel";

// zorvel's settings at a first start, with an idle reason, and idle mode
// going on by itself after 3 s without input (zorvel_fastidle reads the
// minutes as seconds).
const QByteArray kSettings = "[zorvel]\r\nPRESET=def\xe0\xf9lt\r\nPFCOLOR=00000C\r\n"
                             "PACOLOR=009900\r\nPMASCII=-:-\r\nPFASCII=/\xaf\\\r\n"
                             "PBASCII=/\xaf\\\r\nHANDLE=frobble\r\nREASON=gone fishing\r\n"
                             "AUTOIDLE=3\r\n";

// A folder of the user's as the older shell call names it.
QString shellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return QDir::fromNativeSeparators(QString::fromWCharArray(path));
}

QString roamingFolder() { return shellFolder(CSIDL_APPDATA); }

// What every room's transcript shows, as plain text.
QByteArray roomsText(const WinChatHost &host) {
    QByteArray text;
    HWND area = FindWindowExA(host.frame(), nullptr, "MDIClient", nullptr);
    for (HWND document : win::children(area))
        text += win::text(FindWindowExA(document, nullptr, "RICHCNTL", nullptr));
    return text;
}

// Puts the CA among the current user's trusted roots, as a user imports a
// private CA (in the test's own Wine prefix).
bool trustCa(const QString &file) {
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(file);
    if (certificates.size() != 1)
        return false;
    const QByteArray der = certificates.first().toDer();
    HCERTSTORE store =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
    if (!store)
        return false;
    const BOOL added = CertAddEncodedCertificateToStore(
        store, X509_ASN_ENCODING, reinterpret_cast<const BYTE *>(der.constData()),
        DWORD(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertCloseStore(store, 0);
    return added;
}

// Moves the pointer a little, through the system's own input queue.
void moveThePointer() {
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = 3;
    move.mi.dy = 3;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof move);
}

} // namespace

class TestIrcPrograms : public QObject {
    Q_OBJECT

    quint16 m_port = 0;
    quint16 m_tlsPort = 0;
    QString m_ca;
    QString m_otherCa;
    QByteArray m_password;

private slots:
    void initTestCase() {
        // networks.ini lies in the prefix's own user folder: never a user's.
        if (!qEnvironmentVariableIsSet("ZORVEL_WINE_TEST_PREFIX"))
            QSKIP("runs only in the Wine prefix of scripts/test-windows.sh");
        m_port = quint16(qEnvironmentVariableIntValue("ZORVEL_IRC_PORT"));
        m_tlsPort = quint16(qEnvironmentVariableIntValue("ZORVEL_IRC_TLS_PORT"));
        m_ca = qEnvironmentVariable("ZORVEL_IRC_CA");
        m_otherCa = qEnvironmentVariable("ZORVEL_IRC_OTHER_CA");
        m_password = qgetenv("ZORVEL_IRC_PASSWORD");
        QVERIFY2(m_port != 0 && m_tlsPort != 0 && QFile::exists(m_ca) && !m_password.isEmpty(),
                 "no IRC server: tests/windows/with-ngircd.sh starts one for this test");
        QVERIFY(!roamingFolder().isEmpty());
        // The server's password, as the user stores it: for an --irc address
        // by its host, for a group of networks.ini by its name. No other way
        // to the server is given, so each join shows it reached the server.
        QCOMPARE(WinChatHost::storePassword(u"127.0.0.1"_s, m_password + "\r\n"), 0);
        QCOMPARE(WinChatHost::storePassword(u"test"_s, m_password + "\r\n"), 0);
    }
    void cleanup() { QFile::remove(roamingFolder() + u"/chathost/networks.ini"_s); }

    // What chathost says and does on one network: its arguments (%PORT%,
    // %TLS%, %CA% and %OTHER% filled in), networks.ini, its nick, whether it
    // joins and a line its room shows. The refusals come first: the test's
    // CA is then put among the user's trusted roots.
    void networks_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("networksIni");
        QTest::addColumn<QByteArray>("nick");
        QTest::addColumn<bool>("joined");
        QTest::addColumn<QByteArray>("roomSays");
        const QByteArray untrusted = "the server's certificate is not trusted: ";
        QTest::newRow("a CA the system does not trust")
            << QStringList{u"--irc"_s, u"ircs://127.0.0.1:%TLS%/#zorvel"_s} << QByteArray()
            << QByteArray("untrusted") << false << untrusted;
        QTest::newRow("--ca-file of another CA")
            << QStringList{u"--irc"_s, u"ircs://127.0.0.1:%TLS%/#zorvel"_s, u"--ca-file"_s,
                           u"%OTHER%"_s}
            << QByteArray() << QByteArray("otherca") << false << untrusted;
        QTest::newRow("plain, --insecure")
            << QStringList{u"--irc"_s, u"irc://127.0.0.1:%PORT%/#zorvel"_s, u"--insecure"_s}
            << QByteArray() << QByteArray("plain") << true
            << QByteArray("is a plain connection: what is said there can be read");
        QTest::newRow("TLS, from networks.ini")
            << QStringList{u"--network"_s, u"test"_s}
            << QByteArray("[test]\r\nhost=127.0.0.1\r\nport=%TLS%\r\nchannels=#zorvel\r\n")
            << QByteArray("byfile") << true << QByteArray("announce mode changes: ");
        // Nothing stored for this network: the server turns chathost away.
        QTest::newRow("no password stored")
            << QStringList{u"--network"_s, u"nopassword"_s}
            << QByteArray("[nopassword]\r\nhost=127.0.0.1\r\nport=%TLS%\r\nchannels=#zorvel\r\n")
            << QByteArray("nopass") << false << QByteArray("password");
    }
    void networks() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, networksIni);
        QFETCH(QByteArray, nick);
        QFETCH(bool, joined);
        QFETCH(QByteArray, roomSays);
        if (!roomSays.contains("not trusted"))
            QVERIFY(trustCa(m_ca));
        IrcObserver observer;
        QVERIFY(observer.join(m_port, "observer", kChannel, 10000, m_password));
        const auto fill = [this](QString text) {
            return text.replace(u"%PORT%"_s, QString::number(m_port))
                .replace(u"%TLS%"_s, QString::number(m_tlsPort))
                .replace(u"%CA%"_s, m_ca)
                .replace(u"%OTHER%"_s, m_otherCa);
        };
        if (!networksIni.isEmpty()) {
            const QString file = roamingFolder() + u"/chathost/networks.ini"_s;
            QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
            QFile ini(file);
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write(fill(QString::fromLatin1(networksIni)).toUtf8());
        }
        for (QString &argument : arguments)
            argument = fill(argument);
        WinChatHost host(arguments + QStringList{u"--nick"_s, QString::fromLatin1(nick)});
        QVERIFY2(host.start(), qPrintable(host.output()));
        QVERIFY2(waitFor([&] { return roomsText(host).contains(roomSays); }, 30000),
                 roomsText(host).constData());
        const QByteArray joinLine = ':' + nick + '!';
        if (joined)
            QVERIFY(observer.waitFor(joinLine) >= 0);
        else
            QCOMPARE(observer.waitFor(joinLine, 0, 0), -1);
    }

    void zorvelBeside() {
        IrcObserver observer;
        QVERIFY(observer.join(m_port, "observer", kChannel, 10000, m_password));
        QVERIFY(trustCa(m_ca));
        WinChatHost host({u"--irc"_s, u"ircs://127.0.0.1:%1/#zorvel"_s.arg(m_tlsPort), u"--nick"_s,
                          u"zorvel"_s, u"--announce"_s, u"full"_s});
        QVERIFY2(host.start(), qPrintable(host.output()));
        QVERIFY(observer.waitFor(":zorvel!") >= 0);
        const qsizetype start = observer.lines().size();

        QTemporaryDir appData;
        QVERIFY(QDir().mkpath(appData.filePath(u"zorvel"_s)));
        QFile settings(appData.filePath(u"zorvel/zorvel.ini"_s));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        QCOMPARE(settings.write(kSettings), kSettings.size());
        settings.close();
        QProcess zorvel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"APPDATA"_s, QDir::toNativeSeparators(appData.path()));
        zorvel.setProcessEnvironment(environment);
        zorvel.start(WinChatHost::programPath(u"zorvel_fastidle.exe"_s), {});

        // The load lines reach the channel as IRC text, byte for byte.
        QVERIFY(waitFor([&] { return observer.messagesFrom("zorvel", start).size() >= 2; }, 30000));
        const QList<IrcObserver::Line> load = observer.messagesFrom("zorvel", start).mid(0, 2);
        QCOMPARE(load.at(0).text, kLoadLine1Irc);
        QCOMPARE(load.at(1).text, kLoadLine2Irc);
        // Idle mode goes on by itself on an untouched desktop: away with the reason.
        std::optional<QByteArray> away;
        QVERIFY(
            waitFor([&] { return (away = observer.awayOf("zorvel")) == "gone fishing"; }, 30000));
        qInfo("WHOIS zorvel while idle: away \"%s\"", away->constData());
        // Said to the user while away: kept in the local application data,
        // and answered once.
        const qsizetype asked = observer.lines().size();
        observer.sendLine("PRIVMSG zorvel :are you there?");
        QVERIFY(observer.waitFor("NOTICE observer :zorvel is away: gone fishing (away for 0:0",
                                 asked) >= 0);
        // In the local folder, not the roaming one (networks.ini's).
        QFile log(shellFolder(CSIDL_LOCAL_APPDATA) + u"/chathost/away.log"_s);
        QVERIFY(waitFor([&] { return log.exists(); }, 10000));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY2(log.readAll().contains("\t-\tobserver\tare you there?\n"),
                 qPrintable(log.fileName()));
        // The pointer moves: idle mode off, and back.
        QVERIFY(waitFor(
            [&] {
                moveThePointer();
                return (away = observer.awayOf("zorvel")) == QByteArray();
            },
            30000));
        observer.logLinesFrom("zorvel", start, " (wine)");
        zorvel.kill();
        zorvel.waitForFinished(10000);
    }
};

QTEST_GUILESS_MAIN(TestIrcPrograms)
#include "tst_ircprograms.moc"
