// The goodbye rule on the test's clock and a recording room: once the
// program ends, the announcement under way stops, the closing lines alone go
// out at their own pace, and nothing follows them.
#include "hostlink/goodbye.h"
#include "hostlink/pause.h"
#include "tests/recordingroom.h"
#include "tests/stepclock.h"

#include <QTest>
#include <QTimer>

namespace {
using Lines = QList<QByteArray>;

// A closing pause lasts half a second to a second and a half; each look at
// the test's clock moves it on a tenth.
constexpr double kLongestGap = 1.5 + 2 * 0.1;

// The closing announcement of the tests: "bye", a pause of a second, "id".
void sayBye() {
    hostlink::sayGoodbye(QStringLiteral("bye"), 1, [] { return QStringLiteral("id"); });
}
} // namespace

class TestGoodbye : public QObject {
    Q_OBJECT

    StepClock m_clock;
    std::unique_ptr<RecordingRoom> m_room;
    QList<double> m_postedAt; // the clock at each line

    // Runs `during` from the event loop of the first pause that comes.
    void soon(std::function<void()> during) { QTimer::singleShot(0, this, std::move(during)); }

private Q_SLOTS:
    void init() {
        m_clock.setNow(1000.2);
        hostlink::setPauseClock(&m_clock);
        m_room = std::make_unique<RecordingRoom>();
        m_postedAt.clear();
        m_room->onPost = [this](const QByteArray &) { m_postedAt << m_clock.now(); };
    }
    void cleanup() {
        m_room.reset();
        hostlink::setPauseClock(nullptr);
    }

    // What reaches the room, and how long the pauses of an announcement take,
    // when the program is told to end at various points of it.
    void announcementStopsWhereItStands_data() {
        QTest::addColumn<int>("endAfter"); // lines of the four posted before the end; -1: never
        QTest::addColumn<Lines>("lines");
        QTest::newRow("never told") << -1 << Lines{"1", "2", "3", "4", "bye", "id"};
        QTest::newRow("in the pause after line 1") << 1 << Lines{"1", "bye", "id"};
        QTest::newRow("in the pause after line 3") << 3 << Lines{"1", "2", "3", "bye", "id"};
    }
    void announcementStopsWhereItStands() {
        QFETCH(int, endAfter);
        QFETCH(Lines, lines);
        hostlink::Goodbye goodbye;
        double announcementEnd = 0;
        for (int line = 1; line <= 4; ++line) {
            hostlink::chatSend(QString::number(line), hostlink::LineKind::Load);
            if (line == endAfter)
                soon([] { sayBye(); }); // the unload, run from inside the pause
            if (line < 4)
                hostlink::pause(1);
        }
        announcementEnd = m_clock.now();
        if (endAfter < 0)
            sayBye();
        QCOMPARE(m_room->lines, lines);
        // The closing lines kept their pause; the rest of the announcement
        // took no more time once they were out.
        const qsizetype bye = lines.indexOf("bye");
        const double gap = m_postedAt.at(bye + 1) - m_postedAt.at(bye);
        QVERIFY2(gap >= 0.5 && gap <= kLongestGap, qPrintable(QString::number(gap)));
        if (endAfter > 0)
            QVERIFY2(announcementEnd - m_postedAt.last() < 0.2,
                     qPrintable(QString::number(announcementEnd - m_postedAt.last())));
    }

    // Whoever posts once the program is ending, between the closing lines or
    // after them, reaches nobody; a second goodbye included.
    void nothingButTheClosingLines() {
        hostlink::Goodbye goodbye;
        goodbye.begin();
        hostlink::chatSend(QStringLiteral("once ending has begun"), hostlink::LineKind::Load);
        soon([] {
            hostlink::chatSend(QStringLiteral("between the closing lines"),
                               hostlink::LineKind::Load);
            hostlink::pause(5); // ends at once: the closing pause is not stretched
        });
        sayBye();
        hostlink::chatSend(QStringLiteral("after them"), hostlink::LineKind::Load);
        sayBye();
        QCOMPARE(m_room->lines, (Lines{"bye", "id"}));
        const double gap = m_postedAt.at(1) - m_postedAt.at(0);
        QVERIFY2(gap >= 0.5 && gap <= kLongestGap, qPrintable(QString::number(gap)));
    }

    // Without a run's goodbye (a window tested on its own) nothing is held back.
    void withoutAGoodbyeNothingIsHeldBack() {
        sayBye();
        hostlink::chatSend(QStringLiteral("after"), hostlink::LineKind::Load);
        QCOMPARE(m_room->lines, (Lines{"bye", "id", "after"}));
        {
            hostlink::Goodbye run;
            sayBye();
            hostlink::chatSend(QStringLiteral("dropped"), hostlink::LineKind::Load);
        }
        hostlink::chatSend(QStringLiteral("a new run talks again"), hostlink::LineKind::Load);
        QCOMPARE(m_room->lines.mid(3), (Lines{"bye", "id", "a new run talks again"}));
    }
};

QTEST_MAIN(TestGoodbye)
#include "tst_goodbye.moc"
