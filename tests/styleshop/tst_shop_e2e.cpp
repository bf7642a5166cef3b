// The style shop against a real chathost: what its lines look like in the
// room's transcript, as the user opens, drags, applies styles and closes it.
#include "hostlink/chatlink.h"
#include "session/sessionmodel.h"
#include "settings/settingsfile.h"
#include "styleshop/styleshop.h"
#include "tests/chathostprocess.h"
#include "tests/styleshop/expectedlines.h"
#include "tests/styleshop/shopsession.h"
#include "tests/testenv.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>
#include <memory>

namespace {
QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The room's transcript, read in slices: each slice ends with a line of our
// own, so it holds exactly what was posted before it.
class Transcript {
public:
    explicit Transcript(const ChatHostProcess &host) : m_host(host) {}

    QByteArrayList take() {
        const QByteArray marker = "-- mark " + QByteArray::number(++m_marks) + " --";
        hostlink::chatSend(QString::fromLatin1(marker), hostlink::LineKind::Load);
        const QDeadlineTimer deadline(10000);
        do {
            const QList<TranscriptRecord> records = m_host.waitForRecords(m_seen + 1, 100);
            for (qsizetype i = m_seen; i < records.size(); ++i) {
                if (records.at(i).bytes != marker)
                    continue;
                QByteArrayList lines;
                for (qsizetype j = m_seen; j < i; ++j)
                    lines.append(records.at(j).bytes);
                m_seen = i + 1;
                return lines;
            }
        } while (!deadline.hasExpired());
        return {"(the marker never reached the room)"};
    }

private:
    const ChatHostProcess &m_host;
    qsizetype m_seen = 0;
    int m_marks = 0;
};
} // namespace

class TestShopE2E : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<ChatHostProcess> m_host;
    std::unique_ptr<Transcript> m_transcript;
    std::unique_ptr<ShopSession> m_session;

    QByteArrayList lines() { return m_transcript->take(); }

private Q_SLOTS:
    // A first start's world with a room open; nothing posted yet.
    void init() {
        m_env = std::make_unique<TestEnv>();
        m_host = std::make_unique<ChatHostProcess>();
        QVERIFY2(m_host->start(), qPrintable(m_host->output()));
        m_transcript = std::make_unique<Transcript>(*m_host);
        m_session = std::make_unique<ShopSession>();
        QCOMPARE(lines(), QByteArrayList{});
    }
    void cleanup() {
        m_session.reset();
        m_transcript.reset();
        m_host.reset();
        m_env.reset();
    }

    void openingWithTheDefaults() {
        m_session->open();
        QCOMPARE(lines(), QByteArrayList{kLoadLineDefaults});
        QVERIFY(m_session->shop().isVisible());
        QVERIFY(!m_session->mainStrip().isVisible());
    }

    void closingByTheTitle() {
        m_session->open();
        QVERIFY(m_session->click("Label3"));
        QCOMPARE(lines(), (QByteArrayList{kLoadLineDefaults, kUnloadLineDefaults}));
        QVERIFY(m_session->mainStrip().isVisible());
        QVERIFY(!m_session->shop().isVisible());
    }

    void openDragThenCloseByDoubleClick() {
        m_session->open();
        const QPoint before = m_session->shop().pos();
        m_session->pressMoveRelease(QPoint(100, 5), QPoint(5, 20));
        QCOMPARE(m_session->shop().pos(), before + QPoint(5, 20));
        QVERIFY(m_session->mainStrip().isVisible());
        QVERIFY(m_session->doubleClick("Label3"));
        QCOMPARE(lines(), (QByteArrayList{kLoadLineDefaults, kUnloadLineDefaults}));
        QVERIFY(!m_session->shop().isLoaded());
    }

    void threeStylesThenClose() {
        m_session->open();
        QVERIFY(m_session->click("Label1"));
        QVERIFY(m_session->click("Label12"));
        QVERIFY(m_session->click("Label21"));
        QVERIFY(m_session->click("Label3"));
        QCOMPARE(lines(), (QByteArrayList{kLoadLineDefaults, expectedLine(1), expectedLine(12),
                                          expectedLine(21), kUnloadLineStyle21}));
    }

    // Every entry, one after another, each posting its style's line.
    void everyEntryInTurn() {
        m_session->open();
        QCOMPARE(lines().size(), 1);
        QByteArrayList expected;
        for (const ExpectedStyle &style : kExpectedStyles) {
            const QByteArray name = "Label" + QByteArray::number(style.number);
            QVERIFY2(m_session->click(name.constData()), name.constData());
            expected.append(style.line);
        }
        QCOMPARE(lines(), expected);
    }

    // Style 9 reaches the settings file byte for byte, and the session
    // model the next lines read.
    void styleNine() {
        m_session->open();
        QVERIFY(m_session->click("Label9"));
        QCOMPARE(fileBytes(settings::settingsPath()),
                 QByteArray("[zorvel]\r\nPRESET=KeloVa\r\nPFCOLOR=CCCCCC\r\nPACOLOR=0098FF\r\n"
                            "PMASCII=\xB7\r\nPFASCII=`\xF8\x9B\r\nPBASCII=\x8B\xF8\xB4\r\n"
                            "HANDLE=frobble\r\n"));
        QCOMPARE(lines(), (QByteArrayList{kLoadLineDefaults, expectedLine(9)}));
        session::SessionModel fromFile;
        settings::reloadSettings(fromFile);
        for (const auto field : {settings::Field::StyleName, settings::Field::FontColour,
                                 settings::Field::AsciiColour, settings::Field::FrontAscii,
                                 settings::Field::MiddleAscii, settings::Field::BackAscii})
            QCOMPARE(m_session->session().caption(field), fromFile.caption(field));
    }
};

QTEST_MAIN(TestShopE2E)
#include "tst_shop_e2e.moc"
