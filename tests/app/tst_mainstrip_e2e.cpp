// The main window's idle tick and closing announcement as a real chathost
// hears them: byte for byte, and paced a second apart.
#include "app/mainstrip.h"
#include "app/programlines.h"
#include "app/startup.h"
#include "control/sessioncontroller.h"
#include "settings/settingsfile.h"
#include "tests/chathostprocess.h"
#include "tests/ownedmainstrip.h"
#include "tests/testenv.h"

#include <QFile>
#include <QTest>
#include <memory>

namespace {
// The worked example: the defaults, the handle frobble, the reason brb, 0:1.
const QByteArray kIdleLine =
    "</b></u></i><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C>  zorvel  "
    "-:-<font color=#009900> frobble is idl\xe8 <font color=#00000C>-:-<font color=#00000C> "
    "tim\xe9: <font color=#009900>0:1 <font color=#009900> /\xaf\\<font color=#FFFFFC>";
const QByteArray kMessageLine =
    "</b></u></i><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C> msg: <font "
    "color=#009900>brb -:- <font color=#00000C> styl\xe9: <font color=#009900>def\xe0\xf9lt<font "
    "color=#00000C> .. <font color=#009900>/\xaf\\<font color=#FFFFFC>";
const QByteArray kUnloadLine =
    "</b></i></u><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C>  zorvel -:- "
    "<font color=#009900>brondel<font color=#00000C> -:- <u>\xf9\xf1l\xf8\xe0"
    "d\xe9"
    "d</u> <font color=#009900>-:- <font color=#00000C>quibbet  <font color=#009900>/\xaf\\<font "
    "color=#FFFFFC>";
const QByteArray kIdentityLine =
    "</b></i></u><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C>  id: <font "
    "color=#009900><u>frobble</u><font color=#00000C> -:- styl\xe8:<font color=#009900> "
    "<u>def\xe0\xf9lt</u> <font color=#00000C>-:- <a href=" +
    QByteArray(app::kDownloadPage) +
    ">dl h\xe9r\xe8</a> <font color=#009900>/\xaf\\<font color=#FFFFFC>";
} // namespace

class TestMainStripE2E : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<ChatHostProcess> m_host;
    std::unique_ptr<app::MainStrip> m_form;
    std::unique_ptr<control::SessionController> m_controller;

    void expectPair(const QByteArray &first, const QByteArray &second) {
        const auto records = m_host->waitForRecords(4, 5000);
        QCOMPARE(records.size(), 4);
        QCOMPARE(records.at(2).bytes, first);
        QCOMPARE(records.at(3).bytes, second);
        const qint64 apart = records.at(3).ms - records.at(2).ms;
        QVERIFY2(apart >= 500 && apart <= 1500, qPrintable(QString::number(apart)));
    }

private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnv>();
        m_host = std::make_unique<ChatHostProcess>();
        QVERIFY2(m_host->start(), qPrintable(m_host->output()));
        app::prepareStart();
        m_form = makeMainStrip();
        m_form->load();
        m_controller = std::make_unique<control::SessionController>(m_form->session());
        QCOMPARE(m_host->waitForRecords(2).size(), 2);
    }
    void cleanup() {
        m_controller.reset();
        m_form.reset();
        m_host.reset();
        m_env.reset();
    }

    void idleTick() {
        settings::writeToIni(settings::kSection, QStringLiteral("reason"), QStringLiteral("brb"),
                             settings::settingsPath());
        m_controller->tick();
        expectPair(kIdleLine, kMessageLine);
    }

    // A tick after the style shop's style 9: the style comes from the file
    // the shop wrote, not from what the session model holds now.
    void idleTickAfterStyleNine() {
        QFile file(settings::settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[zorvel]\r\nPRESET=KeloVa\r\nPFCOLOR=CCCCCC\r\nPACOLOR=0098FF\r\n"
                   "PMASCII=\xB7\r\nPFASCII=`\xF8\x9B\r\nPBASCII=\x8B\xF8\xB4\r\n"
                   "HANDLE=frobble\r\n");
        file.close();
        settings::writeToIni(settings::kSection, QStringLiteral("reason"), QStringLiteral("brb"),
                             settings::settingsPath());
        for (const auto field : {settings::Field::StyleName, settings::Field::FontColour,
                                 settings::Field::AsciiColour, settings::Field::FrontAscii,
                                 settings::Field::MiddleAscii, settings::Field::BackAscii})
            m_form->session().setCaption(field, QStringLiteral("x"));
        m_controller->tick();

        // clang-format off
        expectPair(
            "</b></u></i><font face=\"arial narrow\" color=#0098FF>`\xF8\x9B"
            "<font color=#CCCCCC>  zorvel  \xB7<font color=#0098FF> frobble is idl\xE8 "
            "<font color=#CCCCCC>\xB7<font color=#CCCCCC> tim\xE9: <font color=#0098FF>0:1 "
            "<font color=#0098FF> \x8B\xF8\xB4<font color=#FFFFFC>",
            "</b></u></i><font face=\"arial narrow\" color=#0098FF>`\xF8\x9B"
            "<font color=#CCCCCC> msg: <font color=#0098FF>brb \xB7 "
            "<font color=#CCCCCC> styl\xE9: <font color=#0098FF>KeloVa"
            "<font color=#CCCCCC> .. <font color=#0098FF>\x8B\xF8\xB4<font color=#FFFFFC>");
        // clang-format on
    }

    void closingAnnouncement() {
        m_form->show();
        m_form->close();
        expectPair(kUnloadLine, kIdentityLine);
    }
};

QTEST_MAIN(TestMainStripE2E)
#include "tst_mainstrip_e2e.moc"
