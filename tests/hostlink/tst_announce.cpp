// Which of zorvel's lines a room takes: the room's announce child read
// through the link, and each kind of line in each mode, a run of lines at a
// time, as chatSend posts them or holds them back.
#include "hostlink/chatlink.h"
#include "tests/fakewindowsystem.h"
#include "tests/testenv.h"

#include <QtTest>

using hostlink::LineKind;
using namespace Qt::StringLiterals;
using Mode = chatwire::AnnounceMode;

namespace {

// One letter a kind, for the table.
const QHash<QChar, LineKind> kKinds = {
    {u'L', LineKind::Load},      {u'H', LineKind::Handle},     {u'Y', LineKind::Style},
    {u'S', LineKind::StyleShop}, {u'E', LineKind::Engaged},    {u'T', LineKind::IdleTime},
    {u'R', LineKind::Reason},    {u'D', LineKind::Disengaged}, {u'A', LineKind::Statistics},
    {u'C', LineKind::Closing},
};

} // namespace

class TestAnnounce : public QObject {
    Q_OBJECT

    TestEnv m_env;
    FakeWindowSystem m_fake;

    // A room whose last child is an announce child with the text, unless
    // `withChild` is false.
    void addRoom(bool withChild, const QByteArray &text = {}, bool readable = true) {
        const auto area =
            m_fake.add(m_fake.add(0, chatwire::kFrameClass), chatwire::kDocumentAreaClass);
        const auto room = m_fake.addDocument(
            area, {chatwire::kStaticClass, chatwire::kRichTextClass, chatwire::kListBoxClass,
                   chatwire::kRichTextClass, chatwire::kIconClass});
        if (withChild)
            m_fake.add(room, chatwire::kAnnounceClass, text, readable);
    }

private Q_SLOTS:
    void init() { hostlink::setWindowSystem(&m_fake); }
    void cleanup() {
        hostlink::setWindowSystem(nullptr);
        m_fake = FakeWindowSystem();
    }

    void modeOfTheRoom_data() {
        QTest::addColumn<bool>("withChild");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<Mode>("mode");
        QTest::newRow("no announce child: a client that knows no modes")
            << false << QByteArray() << true << Mode::Full;
        QTest::newRow("full") << true << QByteArray("full") << true << Mode::Full;
        QTest::newRow("changes") << true << QByteArray("changes") << true << Mode::Changes;
        QTest::newRow("quiet") << true << QByteArray("quiet") << true << Mode::Quiet;
        QTest::newRow("unknown text") << true << QByteArray("loud") << true << Mode::Changes;
        QTest::newRow("another case") << true << QByteArray("Full") << true << Mode::Changes;
        QTest::newRow("empty text") << true << QByteArray() << true << Mode::Changes;
        QTest::newRow("text not read") << true << QByteArray("full") << false << Mode::Changes;
    }
    void modeOfTheRoom() {
        QFETCH(bool, withChild);
        QFETCH(QByteArray, text);
        QFETCH(bool, readable);
        QFETCH(Mode, mode);
        addRoom(withChild, text, readable);
        QCOMPARE(hostlink::announceMode(hostlink::findRoom()), mode);
    }

    // Kinds: L load, H handle, Y ready-made style, S style shop, E engaged,
    // T idle time, R reason, D disengaged, A statistics, C closing. `changes`
    // marks with + what that mode posts; full posts all, quiet nothing.
    void linesPosted_data() {
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QString>("changes");
        QTest::newRow("load, handle, style, shop") << u"LLHYSS"_s << u"------"_s;
        QTest::newRow("away period, three ticks") << u"ETRTRTRD"_s << u"+-+----+"_s;
        QTest::newRow("tick in its pause at idle off") << u"ETDR"_s << u"+-+-"_s;
        QTest::newRow("double click: no tick") << u"ED"_s << u"++"_s;
        QTest::newRow("two away periods") << u"ETRDETRTRD"_s << u"+-+++-+--+"_s;
        QTest::newRow("statistics, idle or not") << u"AAAAEAAAA"_s << u"+++++++++"_s;
        QTest::newRow("closing after engaged") << u"ECC"_s << u"+++"_s;
        QTest::newRow("closing after the reason") << u"ETRTCC"_s << u"+-+-++"_s;
        QTest::newRow("closing after statistics while idle") << u"EACC"_s << u"++++"_s;
        QTest::newRow("closing after disengaged") << u"ETRDCC"_s << u"+-++--"_s;
        QTest::newRow("closing, never idle") << u"LLACC"_s << u"--+--"_s;
    }
    void linesPosted() {
        QFETCH(QString, kinds);
        QFETCH(QString, changes);
        QCOMPARE(changes.size(), kinds.size());
        for (const auto &[mode, name] :
             {std::pair{Mode::Full, "full"}, {Mode::Changes, "changes"}, {Mode::Quiet, "quiet"}}) {
            cleanup();
            init();
            addRoom(true, name);
            QString got;
            for (qsizetype i = 0; i < kinds.size(); ++i) {
                const qsizetype before = m_fake.posts().size();
                hostlink::chatSend(QString::number(i), kKinds.value(kinds[i]));
                got += m_fake.posts().size() > before ? u'+' : u'-';
            }
            const QString expected = mode == Mode::Full    ? QString(kinds.size(), u'+')
                                     : mode == Mode::Quiet ? QString(kinds.size(), u'-')
                                                           : changes;
            QVERIFY2(got == expected,
                     qPrintable(QStringLiteral("%1: %2 posted %3, not %4")
                                    .arg(QLatin1String(name), kinds, got, expected)));
        }
    }
};

QTEST_MAIN(TestAnnounce)
#include "tst_announce.moc"
