// zorvel.exe and chathost.exe together under the system's own window
// manager: the lines reach the room through the real windows, the settings
// file lies in the user's folder (started from the old one), the load counter
// in the user's registry, and every way of ending zorvel posts its closing lines.
#include "app/programlines.h"
#include "hostlink/chatlink.h"
#include "settings/settingsrecord.h"
#include "tests/defaultstyle.h"
#include "tests/windows/winchathost.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {

const QString kOldFile = QStringLiteral("C:/windows/system/zorvel.ini");

const QByteArray kDefaultFile = "[zorvel]\r\nPRESET=def\xe0\xf9lt\r\nPFCOLOR=00000C\r\n"
                                "PACOLOR=009900\r\nPMASCII=-:-\r\nPFASCII=/\xaf\\\r\n"
                                "PBASCII=/\xaf\\\r\nHANDLE=frobble\r\n";

QByteArrayList bytesOf(const QList<TranscriptRecord> &lines) {
    QByteArrayList out;
    for (const TranscriptRecord &line : lines)
        out.append(line.bytes);
    return out;
}

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The load counter as the registry holds it; empty when absent.
QString storedCount() {
    wchar_t value[64] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\zorvel\\zorvel\\Count", L"stunt", RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return QString::fromWCharArray(value);
}

// zorvel.exe with its settings in a folder of its own.
class Zorvel {
public:
    explicit Zorvel(const QString &appData) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("APPDATA"), QDir::toNativeSeparators(appData));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(WinChatHost::programPath(QStringLiteral("zorvel.exe")), {});
    }
    ~Zorvel() {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
    QProcess &process() { return m_process; }

    // Its main window, once shown.
    bool waitForWindow() {
        return QTest::qWaitFor(
            [this] {
                const QList<HWND> windows = win::topLevelWindows(m_process.processId());
                return std::any_of(windows.cbegin(), windows.cend(), IsWindowVisible);
            },
            30000);
    }

    // Ends zorvel as the system ends a user's session: WM_QUERYENDSESSION,
    // then WM_ENDSESSION, sent to each of its top-level windows. (Wine hands
    // no console control event to a desktop program: tst_termination raises
    // them in a console program instead.)
    bool end() {
        const QList<HWND> windows = win::topLevelWindows(m_process.processId());
        // The closing lines are posted while the first answer is awaited; a
        // window that is gone by then answers nothing.
        for (HWND window : windows)
            SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                30000, nullptr);
        for (HWND window : windows)
            SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000,
                                nullptr);
        return !windows.isEmpty();
    }

private:
    QProcess m_process;
};

} // namespace

class TestPrograms : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void loadLinesAndCounter();
    void sessionEnd();
    void stalledHost();
    void settingsPlace_data();
    void settingsPlace();

private:
    QString newFile() const { return m_appData->path() + QStringLiteral("/zorvel/zorvel.ini"); }
    std::unique_ptr<QTemporaryDir> m_appData;
};

void TestPrograms::initTestCase() {
    // The registry and the system folder are the prefix's own: never a user's.
    if (!qEnvironmentVariableIsSet("ZORVEL_WINE_TEST_PREFIX"))
        QSKIP("runs only in the Wine prefix of scripts/test-windows.sh");
}

void TestPrograms::init() {
    m_appData = std::make_unique<QTemporaryDir>();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\zorvel");
    QFile::remove(kOldFile);
}

void TestPrograms::cleanup() {
    QFile::remove(kOldFile);
    m_appData.reset();
}

void TestPrograms::loadLinesAndCounter() {
    WinChatHost host;
    QVERIFY2(host.start(), qPrintable(host.output()));
    const settings::PlainRecord record = firstStartRecord();
    const QByteArrayList load = {
        hostlink::toWindows1252(app::loadLine(record)),
        hostlink::toWindows1252(
            app::loadIdentityLine(record, QStringLiteral("frobble"), QStringLiteral("defàùlt")))};
    {
        Zorvel zorvel(m_appData->path());
        const QList<TranscriptRecord> lines = host.waitForLines(2);
        QCOMPARE(bytesOf(lines), load);
        // A pause of one whole second between them: half a second to one and a half.
        const qint64 apart = lines[1].ms - lines[0].ms;
        QVERIFY2(apart >= 500 && apart <= 2500, qPrintable(QString::number(apart)));
        QCOMPARE(fileBytes(newFile()), kDefaultFile);
        QCOMPARE(storedCount(), QStringLiteral("1"));
    }
    Zorvel again(m_appData->path());
    QCOMPARE(bytesOf(host.waitForLines(4).mid(2)), load);
    QCOMPARE(storedCount(), QStringLiteral("2"));
}

void TestPrograms::sessionEnd() {
    WinChatHost host;
    QVERIFY2(host.start(), qPrintable(host.output()));
    Zorvel zorvel(m_appData->path());
    QCOMPARE(host.waitForLines(2).size(), 2);
    QVERIFY(zorvel.waitForWindow());
    QVERIFY2(zorvel.end(), qPrintable(QString::number(GetLastError())));
    QVERIFY2(zorvel.process().waitForFinished(30000),
             qPrintable(QStringLiteral("%1 lines").arg(host.lines().size())));
    QCOMPARE(zorvel.process().exitStatus(), QProcess::NormalExit);
    const settings::PlainRecord record = firstStartRecord();
    QCOMPARE(bytesOf(host.lines().mid(2)),
             QByteArrayList({hostlink::toWindows1252(app::unloadLine(record)),
                             hostlink::toWindows1252(app::unloadIdentityLine(
                                 record, QStringLiteral("frobble"), QStringLiteral("defàùlt")))}));
}

void TestPrograms::stalledHost() {
    // chathost takes the first load line, then its window thread stops: the
    // rest is lost at the cost of the bound per line, and zorvel ends as asked.
    WinChatHost host({QStringLiteral("--test-stall-after"), QStringLiteral("1")});
    QVERIFY2(host.start(), qPrintable(host.output()));
    Zorvel zorvel(m_appData->path());
    QCOMPARE(host.waitForLines(1).size(), 1);
    QVERIFY(zorvel.waitForWindow());
    QVERIFY(zorvel.end());
    QVERIFY(zorvel.process().waitForFinished(30000));
    QCOMPARE(host.lines().size(), 1);
}

void TestPrograms::settingsPlace_data() {
    QTest::addColumn<QByteArray>("oldFile"); // empty: none
    QTest::addColumn<QByteArray>("newFile"); // empty: none
    QTest::addColumn<QByteArray>("handle");  // the handle the load line shows
    QTest::addColumn<QByteArray>("after");   // the user's file after the start

    const QByteArray old =
        QByteArray(kDefaultFile).replace("HANDLE=frobble", "HANDLE=\xf8ldh\xe0nd");
    const QByteArray mine = QByteArray(kDefaultFile).replace("HANDLE=frobble", "HANDLE=mine");
    QTest::newRow("none: the defaults")
        << QByteArray() << QByteArray() << QByteArray("frobble") << kDefaultFile;
    QTest::newRow("only the old one: copied")
        << old << QByteArray() << QByteArray("\xf8ldh\xe0nd") << old;
    QTest::newRow("both: the user's kept") << old << mine << QByteArray("mine") << mine;
}

void TestPrograms::settingsPlace() {
    QFETCH(QByteArray, oldFile);
    QFETCH(QByteArray, newFile);
    QFETCH(QByteArray, handle);
    QFETCH(QByteArray, after);
    if (!oldFile.isEmpty())
        writeFile(kOldFile, oldFile);
    if (!newFile.isEmpty())
        writeFile(this->newFile(), newFile);
    WinChatHost host;
    QVERIFY2(host.start(), qPrintable(host.output()));
    Zorvel zorvel(m_appData->path());
    const QList<TranscriptRecord> lines = host.waitForLines(2);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[1].bytes.contains(QByteArray("<u>" + handle + "</u>")),
             lines[1].bytes.constData());
    QCOMPARE(fileBytes(this->newFile()), after);
    // The old file is only ever read.
    QCOMPARE(QFileInfo::exists(kOldFile), !oldFile.isEmpty());
    if (!oldFile.isEmpty())
        QCOMPARE(fileBytes(kOldFile), oldFile);
}

QTEST_GUILESS_MAIN(TestPrograms)
#include "tst_programs.moc"
