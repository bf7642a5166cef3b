// The program end to end: a real chathost and the real zorvel, as separate
// processes, in fresh settings and runtime folders.
#include "app/programlines.h"
#include "platform/userstore.h"
#include "tests/chathostprocess.h"
#include "tests/testenv.h"
#include "tests/waitfor.h"
#include "tests/zorvelprocess.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The two load lines of a first start, as the room receives them.
const QByteArray kLoadLine1 =
    "</i></u></b><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C>  zorvel  "
    "-:-<font color=#009900> brondel <font color=#00000C>-:- <u>l\xf8\xe0"
    "d\xe9"
    "d</u> <font "
    "color=#009900>-:- <font color=#00000C>quibbet <font color=#009900> /\xaf\\<font "
    "color=#FFFFFC>";
const QByteArray kLoadLine2 =
    "</i></u></b><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C>  id: <font "
    "color=#009900><u>frobble</u><font color=#00000C> -:- styl\xe8: <font "
    "color=#009900><u>def\xe0\xf9lt</u> <font color=#00000C>-:- <a href=" +
    QByteArray(app::kDownloadPage) +
    ">dl h\xe9r\xe8</a> <font color=#009900>/\xaf\\<font color=#ffFfFc>";

const QByteArray kDefaultFile = "[zorvel]\r\nPRESET=def\xe0\xf9lt\r\nPFCOLOR=00000C\r\n"
                                "PACOLOR=009900\r\nPMASCII=-:-\r\nPFASCII=/\xaf\\\r\n"
                                "PBASCII=/\xaf\\\r\nHANDLE=frobble\r\n";

using Zorvel = ZorvelProcess;
} // namespace

class TestStartupE2E : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> m_env;

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnv>(); }
    void cleanup() { m_env.reset(); }

    void firstAndSecondStart() {
        ChatHostProcess host;
        QVERIFY2(host.start(), qPrintable(host.output()));
        {
            Zorvel zorvel;
            const auto records = host.waitForRecords(2, 15000);
            QCOMPARE(records.size(), 2);
            QCOMPARE(records.at(0).bytes, kLoadLine1);
            QCOMPARE(records.at(1).bytes, kLoadLine2);
            // The pause lasts half a second to a second and a half; the room
            // stamps each line once its exchange is done, later on a loaded machine.
            const qint64 apart = records.at(1).ms - records.at(0).ms;
            QVERIFY2(apart >= 500 && apart <= 1600, qPrintable(QString::number(apart)));
            QCOMPARE(fileBytes(m_env->settingsFile()), kDefaultFile);
            QCOMPARE(platform::readUserValue(u"zorvel"_s, u"Count"_s, u"stunt"_s),
                     QStringLiteral("1"));
            QCOMPARE(zorvel.process().state(), QProcess::Running);
        }
        Zorvel again;
        QVERIFY(waitFor(
            [] { return platform::readUserValue(u"zorvel"_s, u"Count"_s, u"stunt"_s) == u"2"_s; },
            15000));
        QCOMPARE(host.waitForRecords(4, 15000).size(), 4);
        QCOMPARE(fileBytes(m_env->settingsFile()), kDefaultFile);
    }

    void noChatRoom() {
        Zorvel zorvel;
        QVERIFY(waitFor(
            [] { return platform::readUserValue(u"zorvel"_s, u"Count"_s, u"stunt"_s) == u"1"_s; },
            15000));
        QCOMPARE(fileBytes(m_env->settingsFile()), kDefaultFile);
        // Its lines were lost, silently, and it runs on.
        QTest::qWait(1500);
        QCOMPARE(zorvel.process().state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestStartupE2E)
#include "tst_startup_e2e.moc"
