// The menus end to end: the lines as a real chathost's transcript holds them,
// from the windows in-process and from the real zorvel told to end by a
// signal.
#include "chathostprocess.h"
#include "chatlink.h"
#include "entrylabel.h"
#include "form1lines.h"
#include "menuprogram.h"
#include "windowsystem_unix.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <functional>
#include <memory>

namespace {
using Records = QList<TranscriptRecord>;

QList<QByteArray> bytesOf(const Records &records) {
    QList<QByteArray> out;
    for (const TranscriptRecord &r : records)
        out << r.bytes;
    return out;
}

// The main window's identity line with the style at its first-start defaults.
QByteArray defaultIdentityLine() {
    settings::PlainRecord record;
    record.setCaption(settings::Field::AsciiColour, QStringLiteral("009900"));
    record.setCaption(settings::Field::FontColour, QStringLiteral("00000C"));
    record.setCaption(settings::Field::FrontAscii, QStringLiteral("/¯\\"));
    record.setCaption(settings::Field::MiddleAscii, QStringLiteral("-:-"));
    record.setCaption(settings::Field::BackAscii, QStringLiteral("/¯\\"));
    return hostlink::toWindows1252(
        app::identityLine(record, QStringLiteral("frobble"), QStringLiteral("defàùlt")));
}

// The real link to chathost, with a hook after each line's Enter: a test acts
// at an exact point of an announcement.
class HookedLink final : public platform::WindowSystem {
public:
    HookedLink() { hostlink::setWindowSystem(this); }
    ~HookedLink() override { hostlink::setWindowSystem(nullptr); }
    HookedLink(const HookedLink &) = delete;
    HookedLink &operator=(const HookedLink &) = delete;

    std::function<void(int lines)> afterLine;

    void beginExchange() override { m_real.beginExchange(); }
    platform::WindowHandle findWindow(const QByteArray &cls) override {
        return m_real.findWindow(cls);
    }
    platform::WindowHandle findWindowEx(platform::WindowHandle parent, platform::WindowHandle after,
                                        const QByteArray &cls) override {
        return m_real.findWindowEx(parent, after, cls);
    }
    void setText(platform::WindowHandle w, const QByteArray &text) override {
        m_real.setText(w, text);
    }
    void sendChar(platform::WindowHandle w, int code) override {
        m_real.sendChar(w, code);
        if (code != 13)
            return;
        ++m_lines;
        if (afterLine)
            afterLine(m_lines);
    }

private:
    platform::UnixWindowSystem m_real;
    int m_lines = 0;
};

// A posting exchange may wait 250 ms for chathost; under this it is within
// the bound even on a loaded machine.
constexpr qint64 kBoundWithMarginMs = 600;
} // namespace

class TestMenusE2E : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<ChatHostProcess> m_host;
    StepClock m_clock;

    // The records after the program's two load lines, once `count` are there.
    Records after(const Records &all) { return all.mid(2); }
    Records waitForLines(int count, int timeoutMs = 15000) {
        return after(m_host->waitForRecords(2 + count, timeoutMs));
    }

private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnv>();
        menus::dialogs::resetScript();
        m_host = std::make_unique<ChatHostProcess>();
        QVERIFY2(m_host->start(), qPrintable(m_host->output()));
    }
    void cleanup() {
        hostlink::setPauseClock(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_host.reset();
        m_env.reset();
    }

    void referenceLinesInTheTranscript() {
        hostlink::setPauseClock(&m_clock);
        MenuProgram program;
        program.forms.form3()->Label1_Click(); // engaged
        program.forms.form3()->Label3_Click(); // disengaged

        program.form1.Label4->setText(QStringLiteral("3"));
        program.form1.minsused->setText(QStringLiteral("42"));
        setSetting("lastidle", QStringLiteral("0:12"));
        program.forms.form3()->Label5_Click();

        menus::dialogs::setNextAnswer(QStringLiteral("frobble"));
        program.forms.form4()->Label4_Click();

        QList<QByteArray> expected{example::kEngaged, example::disengaged()};
        expected << example::kStats << example::kHandle;
        QCOMPARE(bytesOf(waitForLines(expected.size())), expected);
    }

    void statisticsPacedInTheTranscript() {
        MenuProgram program; // on the real clock
        program.forms.form3()->Label5_Click();
        const Records lines = waitForLines(4);
        QCOMPARE(lines.size(), 4);
        for (int i = 1; i < 4; ++i) {
            const qint64 gap = lines.at(i).ms - lines.at(i - 1).ms;
            QVERIFY2(gap >= 400 && gap <= 1600, qPrintable(QString::number(gap)));
        }
    }

    void unloadWhileIdleWithTheShopOpen() {
        hostlink::setPauseClock(&m_clock);
        MenuProgram program;
        program.form1.show();
        program.forms.form3()->Label1_Click();
        program.forms.form4()->Label2_Click(); // the shop opens, the main window hides
        QTest::mouseClick(program.forms.form3()->Label6, Qt::LeftButton);
        QCOMPARE(program.ends, 1);

        const Records lines = waitForLines(5);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.at(0).bytes, example::kEngaged);
        // The shop's lines, then the closing lines and the shop's unload line;
        // no disengaged line.
        QVERIFY(lines.at(1).bytes.contains("> zorvel <font color=#009900>styl\xe8 sh\xf8p"));
        QVERIFY(lines.at(1).bytes.contains(" l\xf8\xe2"
                                           "d\xea"
                                           "d "));
        QCOMPARE(lines.at(2).bytes, example::kUnload);
        QCOMPARE(lines.at(3).bytes, defaultIdentityLine());
        QVERIFY(lines.at(4).bytes.contains(" \xf9\xf1l\xf8\xe2"
                                           "d\xea"
                                           "d "));
        QVERIFY(!bytesOf(lines).join().contains("dis\xe9\xf1g"));
    }

    // chathost dies between the second and third statistics lines: the rest
    // are lost at little cost, and once a sound chathost runs again the next
    // statistics reach the room whole.
    void statisticsWithChathostKilledMidway() {
        hostlink::setPauseClock(&m_clock);
        HookedLink link;
        MenuProgram program;
        program.form1.Label4->setText(QStringLiteral("3"));
        program.form1.minsused->setText(QStringLiteral("42"));
        setSetting("lastidle", QStringLiteral("0:12"));
        link.afterLine = [this](int lines) {
            if (lines == 2 + 2)
                m_host->kill();
        };
        QElapsedTimer timer;
        timer.start();
        program.forms.form3()->Label5_Click();
        // Two lines lost, the pauses on the test's clock.
        QVERIFY2(timer.elapsed() < 2 * kBoundWithMarginMs,
                 qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!m_host->isRunning());
        QCOMPARE(bytesOf(after(m_host->records())), example::kStats.mid(0, 2));

        QVERIFY2(m_host->start(), qPrintable(m_host->output()));
        program.forms.form3()->Label5_Click();
        QCOMPARE(bytesOf(waitForLines(6)), example::kStats.mid(0, 2) + example::kStats);
    }

    void signalEndsTheProgram_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("linesBefore"); // the load lines posted when it comes
        QTest::addColumn<bool>("twice");
        QTest::newRow("SIGTERM") << int(SIGTERM) << 2 << false;
        QTest::newRow("SIGINT") << int(SIGINT) << 2 << false;
        QTest::newRow("SIGTERM during the load") << int(SIGTERM) << 1 << false;
        QTest::newRow("SIGTERM again during the unload") << int(SIGTERM) << 2 << true;
    }
    void signalEndsTheProgram() {
        QFETCH(int, signal);
        QFETCH(int, linesBefore);
        QFETCH(bool, twice);
        QProcess zorvel;
        zorvel.setProcessChannelMode(QProcess::ForwardedChannels);
        zorvel.start(QStringLiteral(ZORVEL_EXE), {});
        QVERIFY(zorvel.waitForStarted());
        QCOMPARE(m_host->waitForRecords(linesBefore, 15000).size(), linesBefore);

        ::kill(pid_t(zorvel.processId()), signal);
        if (twice) {
            // The second comes during the pause between the closing lines.
            QCOMPARE(waitForLines(1).size(), 1);
            ::kill(pid_t(zorvel.processId()), signal);
        }
        QVERIFY(zorvel.waitForFinished(15000));
        QCOMPARE(zorvel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zorvel.exitCode(), 0);
        // The load finishes, then the closing lines come.
        QCOMPARE(m_host->records().size(), 4);
        QCOMPARE(bytesOf(after(m_host->records())),
                 QList<QByteArray>({example::kUnload, defaultIdentityLine()}));
    }
};

QTEST_MAIN(TestMenusE2E)
#include "tst_menus_e2e.moc"
