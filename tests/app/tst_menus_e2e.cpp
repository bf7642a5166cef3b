// The menus end to end: the lines as a real chathost's transcript holds them,
// from the windows in-process and from the real zorvel told to end by a
// signal; what the user types, as far as the file and the room.
#include "app/programlines.h"
#include "control/idlelines.h"
#include "hostlink/chatlink.h"
#include "menus/menulines.h"
#include "platform/cp1252.h"
#include "platform/windowsystem_unix.h"
#include "tests/chathostprocess.h"
#include "tests/defaultstyle.h"
#include "tests/menuprogram.h"
#include "widgets/entrylabel.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

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
    return hostlink::toWindows1252(app::unloadIdentityLine(
        firstStartRecord(), QStringLiteral("frobble"), QStringLiteral("defàùlt")));
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

// The longest value a read gives back.
constexpr qsizetype kReadLimit = 749;

// The raw value of the key's line in the file, as the bytes stand there.
QByteArray storedBytes(const QByteArray &key) {
    for (QByteArray line : settingsBytes().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith(QByteArray(key + '=')))
            return line.mid(key.size() + 1);
    }
    return {};
}

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
        program.windows.sessionMenu()->goIdle();   // engaged
        program.windows.sessionMenu()->comeBack(); // disengaged

        program.mainStrip.session().setPreviousLoads(QStringLiteral("3"));
        program.mainStrip.session().setMinutesUsed(QStringLiteral("42"));
        setSetting("lastidle", QStringLiteral("0:12"));
        program.windows.sessionMenu()->showStatistics();

        menus::dialogs::setNextAnswer(QStringLiteral("frobble"));
        program.windows.optionsWindow()->editHandle();

        QList<QByteArray> expected{example::kEngaged, example::disengaged()};
        expected << example::kStats << example::kHandle;
        QCOMPARE(bytesOf(waitForLines(expected.size())), expected);
    }

    void statisticsPacedInTheTranscript() {
        MenuProgram program; // on the real clock
        program.windows.sessionMenu()->showStatistics();
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
        program.mainStrip.show();
        program.windows.sessionMenu()->goIdle();
        program.windows.optionsWindow()->openStyleShop(); // the shop opens, the main window hides
        QTest::mouseClick(program.windows.sessionMenu()->unloadEntry, Qt::LeftButton);
        QCOMPARE(program.ends, 1);

        const Records lines = waitForLines(4);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0).bytes, example::kEngaged);
        // The shop's load line, then the closing lines; no disengaged line,
        // and nothing after the closing lines, the shop's unload line neither.
        QVERIFY(lines.at(1).bytes.contains("> zorvel <font color=#009900>styl\xe8 sh\xf8p"));
        QVERIFY(lines.at(1).bytes.contains(" l\xf8\xe2"
                                           "d\xea"
                                           "d "));
        QCOMPARE(lines.at(2).bytes, example::kUnload);
        QCOMPARE(lines.at(3).bytes, defaultIdentityLine());
        QVERIFY(!bytesOf(lines).join().contains("dis\xe9\xf1g"));
        QVERIFY(!program.windows.isStyleShopLoaded());
        QCOMPARE(m_host->records().size(), 2 + 4);
    }

    // chathost dies between the second and third statistics lines: the rest
    // are lost at little cost, and once a sound chathost runs again the next
    // statistics reach the room whole.
    void statisticsWithChathostKilledMidway() {
        hostlink::setPauseClock(&m_clock);
        HookedLink link;
        MenuProgram program;
        program.mainStrip.session().setPreviousLoads(QStringLiteral("3"));
        program.mainStrip.session().setMinutesUsed(QStringLiteral("42"));
        setSetting("lastidle", QStringLiteral("0:12"));
        link.afterLine = [this](int lines) {
            if (lines == 2 + 2)
                m_host->kill();
        };
        QElapsedTimer timer;
        timer.start();
        program.windows.sessionMenu()->showStatistics();
        // Two lines lost, the pauses on the test's clock.
        QVERIFY2(timer.elapsed() < 2 * kBoundWithMarginMs,
                 qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!m_host->isRunning());
        QCOMPARE(bytesOf(after(m_host->records())), example::kStats.mid(0, 2));

        QVERIFY2(m_host->start(), qPrintable(m_host->output()));
        program.windows.sessionMenu()->showStatistics();
        QCOMPARE(bytesOf(waitForLines(6)), example::kStats.mid(0, 2) + example::kStats);
    }

    // What the user types into each prompt: characters outside the code page
    // become "?" in the file and the room, and a 100,000-character answer is
    // stored, read back as the reader allows, and posted without a hang.
    void answerInTheFileAndTheRoom_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("unit");     // the answer is this, repeated
        QTest::addColumn<QByteArray>("bytes"); // the unit as the file and the room hold it
        QTest::addColumn<int>("repeat");
        // Cyrillic, a check mark and an emoji are outside the code page; the
        // euro sign and the accented letter are in it.
        const QString unit = QStringLiteral("a\u20ac\u2713\u0416\U0001F600 \u00e9z");
        const QByteArray bytes("a\x80??? \xe9z");
        const int hundredThousand = 100000 / int(unit.size() - 1); // the emoji is two units
        for (const char *command :
             {"edit msg", "edit ascii", "edit acolor", "edit fcolor", "edit handle"}) {
            QTest::addRow("%s, outside the code page", command)
                << QString::fromLatin1(command) << unit << bytes << 1;
            QTest::addRow("%s, 100,000 characters", command)
                << QString::fromLatin1(command) << unit << bytes << hundredThousand;
        }
    }
    void answerInTheFileAndTheRoom() {
        QFETCH(QString, command);
        QFETCH(QString, unit);
        QFETCH(QByteArray, bytes);
        QFETCH(int, repeat);
        const QString answer = unit.repeated(repeat);
        const QByteArray stored = bytes.repeated(repeat);
        QCOMPARE(answer.toUcs4().size(), repeat == 1 ? 8 : 100000);

        hostlink::setPauseClock(&m_clock);
        MenuProgram program;
        QCOMPARE(m_host->waitForRecords(2).size(), 2);
        menus::dialogs::setNextAnswer(answer);
        menus::dialogs::setNextAnswer(answer);

        // Each command, its keys, and what brings the answer to the room.
        QList<QByteArray> keys;
        std::function<QString()> roomLine;
        int posted = 1; // the lines the command and its follow-up post
        settings::SettingsRecord &record = program.mainStrip.session();
        if (command == u"edit msg"_s) {
            program.sessionMenu()->editReason();
            keys = {"REASON"};
            program.controller.tick(); // the idle line, then the message
            posted = 2;
            roomLine = [&] { return control::reasonLine(record, setting("reason")); };
        } else if (command == u"edit handle"_s) {
            program.optionsWindow()->editHandle();
            keys = {"HANDLE"};
            roomLine = [&] { return menus::handleLine(record, answer); };
        } else {
            if (command == u"edit ascii"_s) {
                program.optionsWindow()->editAscii();
                keys = {"PFASCII", "PBASCII"};
            } else if (command == u"edit acolor"_s) {
                program.optionsWindow()->editAsciiColour();
                keys = {"PACOLOR"};
            } else {
                program.optionsWindow()->editFontColour();
                keys = {"PFCOLOR"};
            }
            program.sessionMenu()->goIdle(); // the engaged line shows the style
            roomLine = [&] { return control::idleSessionLine(record, true); };
        }

        for (const QByteArray &key : keys) {
            QCOMPARE(storedBytes(key), stored);
            QCOMPARE(platform::toCp1252(setting(key.toLower().constData())),
                     stored.left(kReadLimit));
        }
        // A line longer than a request can carry reaches the room cut to fit.
        const QByteArray line = platform::toCp1252(roomLine()).left(chatwire::kMaxText);
        // A long line takes its time on a loaded machine.
        const QList<TranscriptRecord> records = m_host->waitForRecords(2 + posted, 20000);
        QCOMPARE(records.size(), 2 + posted);
        QCOMPARE(records.last().bytes.size(), line.size());
        QVERIFY(records.last().bytes == line);
        if (repeat == 1)
            QVERIFY(line.contains(bytes));
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
        // The lines posted before the request, then the closing lines: one
        // that comes in the pause between the load lines drops the second.
        const Records records = m_host->records();
        QCOMPARE(records.size(), linesBefore + 2);
        QCOMPARE(bytesOf(records.mid(linesBefore)),
                 QList<QByteArray>({example::kUnload, defaultIdentityLine()}));
    }
};

QTEST_MAIN(TestMenusE2E)
#include "tst_menus_e2e.moc"
