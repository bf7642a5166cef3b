// Which of zorvel's lines a room takes: each run of lines posted with
// chatSend into rooms whose announce child says each mode, or is missing,
// unknown or unreadable.
#include "hostlink/chatlink.h"
#include "tests/fakewindowsystem.h"
#include "tests/testenv.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestAnnounce : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Kinds: L load, H handle, Y ready-made style, S style shop, E engaged,
    // T idle time, R reason, D disengaged, A statistics, C closing. `changes`
    // marks with + what that mode posts; full posts all, quiet nothing.
    void linesPosted_data() {
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QString>("changes");
        QTest::newRow("load, handle, style, shop") << u"LLHYSS"_s << u"------"_s;
        QTest::newRow("away period, three ticks") << u"ETRTRTRD"_s << u"+-+----+"_s;
        QTest::newRow("tick in its pause at idle off") << u"ETDR"_s << u"+-+-"_s;
        QTest::newRow("two away periods") << u"ETRDETRTRD"_s << u"+-+++-+--+"_s;
        QTest::newRow("statistics, idle or not") << u"AAEAA"_s << u"+++++"_s;
        QTest::newRow("closing after the reason") << u"ETRTCC"_s << u"+-+-++"_s;
        QTest::newRow("closing after statistics while idle") << u"EACC"_s << u"++++"_s;
        QTest::newRow("closing after disengaged") << u"ETRDCC"_s << u"+-++--"_s;
        QTest::newRow("closing, never idle") << u"LACC"_s << u"-+--"_s;
    }
    void linesPosted() {
        QFETCH(QString, kinds);
        QFETCH(QString, changes);
        using K = hostlink::LineKind;
        const QHash<QChar, K> kind = {
            {u'L', K::Load},       {u'H', K::Handle},   {u'Y', K::Style},  {u'S', K::StyleShop},
            {u'E', K::Engaged},    {u'T', K::IdleTime}, {u'R', K::Reason}, {u'D', K::Disengaged},
            {u'A', K::Statistics}, {u'C', K::Closing}};
        const QString all(kinds.size(), u'+'), none(kinds.size(), u'-');
        struct Room {
            const char *child; // nullptr: none
            bool readable;
            QString expected;
        };
        for (const Room &room : {Room{nullptr, true, all}, Room{"full", true, all},
                                 Room{"changes", true, changes}, Room{"quiet", true, none},
                                 Room{"Full", true, changes}, Room{"full", false, changes}}) {
            TestEnv env;
            FakeWindowSystem fake;
            hostlink::setWindowSystem(&fake);
            const auto area = fake.add(fake.add(0, "AOL Frame25"), "MDIClient");
            const auto document = fake.addDocument(
                area, {"_AOL_Static", "RICHCNTL", "_AOL_Listbox", "RICHCNTL", "_AOL_Icon"});
            if (room.child)
                fake.add(document, "_zorvel_Announce", room.child, room.readable);
            QString got;
            for (const QChar k : kinds) {
                const qsizetype before = fake.posts().size();
                hostlink::chatSend(k, kind.value(k));
                got += fake.posts().size() > before ? u'+' : u'-';
            }
            hostlink::setWindowSystem(nullptr);
            QVERIFY2(got == room.expected,
                     qPrintable(QStringLiteral("child %1 (readable %2): %3 posted %4, not %5")
                                    .arg(QLatin1String(room.child ? room.child : "none"))
                                    .arg(room.readable)
                                    .arg(kinds, got, room.expected)));
        }
    }
};

QTEST_MAIN(TestAnnounce)
#include "tst_announce.moc"
