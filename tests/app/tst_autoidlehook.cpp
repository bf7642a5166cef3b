// Auto-idle wired to the real session menu: going idle and coming back do
// what clicking "idle on" and "idle off" do, to the line, the clock, the
// idle tick and the settings file's bytes; nothing switches once the program
// is ending.
#include "app/autoidlehook.h"
#include "platform/idletime.h"
#include "tests/menuprogram.h"
#include "widgets/entrylabel.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace std::chrono_literals;

namespace {

// A monitor whose reports the test makes.
class DoubleMonitor final : public platform::IdleMonitor {
public:
    void watch(std::chrono::milliseconds threshold) override { watching = threshold; }
    QString sourceName() const override { return QStringLiteral("the test"); }
    void reportIdle() { Q_EMIT idle(); }
    void reportActive() { Q_EMIT active(); }
    std::chrono::milliseconds watching{0};
};

// What an idle spell leaves: the room's lines, the settings file, and the
// main window's idle timer and clock at its turns.
struct Spell {
    QList<QByteArray> lines;
    QByteArray settings;
    QStringList states; // "timer on|off h:mm" after each switch
};

QString state(MenuProgram &program) {
    return QStringLiteral("timer %1 %2:%3")
        .arg(program.controller.idleTicker().isActive() ? QStringLiteral("on")
                                                        : QStringLiteral("off"),
             program.mainStrip.hoursLabel->text(), program.mainStrip.minutesLabel->text());
}

} // namespace

class TestAutoIdleHook : public QObject {
    Q_OBJECT

    MenuFixture m_world;

    // Idle on, one idle tick, idle off: by the menu's clicks, or by the
    // monitor's reports.
    Spell spell(bool automatic) {
        m_world.setUp();
        setSetting("reason", QStringLiteral("brb"));
        MenuProgram &program = *m_world.program;
        auto monitor = std::make_unique<DoubleMonitor>();
        DoubleMonitor *reports = monitor.get();
        auto hook = app::startAutoIdle(program.windows, std::move(monitor), 3min);
        Spell out;
        if (automatic)
            reports->reportIdle();
        else
            program.sessionMenu()->idleOnEntry->clicked();
        out.states << state(program);
        program.controller.tick();
        if (automatic)
            reports->reportActive();
        else
            program.sessionMenu()->idleOffEntry->clicked();
        out.states << state(program);
        out.lines = m_world.room->lines;
        out.settings = settingsBytes();
        hook.reset();
        m_world.tearDown();
        return out;
    }

private Q_SLOTS:
    void sameAsTheMenusCommands() {
        const Spell byHand = spell(false);
        const Spell automatic = spell(true);
        QCOMPARE(automatic.lines, byHand.lines);
        QCOMPARE(automatic.settings, byHand.settings);
        QCOMPARE(automatic.states, byHand.states);
        // And what those are: the engaged line, the tick's two, the disengaged line.
        QCOMPARE(automatic.lines.size(), 4);
        QCOMPARE(automatic.lines.first(), example::kEngaged);
        QCOMPARE(automatic.lines.last(), example::disengaged());
        QCOMPARE(automatic.states,
                 QStringList({QStringLiteral("timer on 0:00"), QStringLiteral("timer off 0:00")}));
        QVERIFY(automatic.settings.contains("\nLASTIDLE=0:1"));
        QVERIFY(automatic.settings.contains("\nREASON=brb"));
    }

    void watchesForTheThreshold() {
        m_world.setUp();
        auto monitor = std::make_unique<DoubleMonitor>();
        DoubleMonitor *reports = monitor.get();
        auto hook = app::startAutoIdle(m_world.program->windows, std::move(monitor), 4min);
        QCOMPARE(reports->watching, 240000ms);
        hook.reset();
        m_world.tearDown();
    }

    // The key's value: a hook only for whole minutes; an off key starts no
    // source and says nothing.
    void offKeyStartsNothing_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("absent") << QString();
        QTest::newRow("0") << QStringLiteral("0");
        QTest::newRow("garbage") << QStringLiteral("when I leave");
    }
    void offKeyStartsNothing() {
        QFETCH(QString, value);
        m_world.setUp();
        if (!value.isNull())
            setSetting("autoidle", value);
        QVERIFY(!app::startAutoIdle(m_world.program->windows));
        m_world.tearDown();
    }

    // Reports that come once the unload command has run switch nothing, and
    // load no new session menu in place of the one unloaded.
    void nothingOnceEnding() {
        m_world.setUp();
        MenuProgram &program = *m_world.program;
        auto monitor = std::make_unique<DoubleMonitor>();
        DoubleMonitor *reports = monitor.get();
        auto hook = app::startAutoIdle(program.windows, std::move(monitor), 1min);
        reports->reportIdle();
        program.windows.shutdown().unloadFromOutside();
        QCOMPARE(program.ends, 1);
        const qsizetype posted = m_world.room->lines.size();
        reports->reportActive();
        reports->reportIdle();
        QCOMPARE(m_world.room->lines.size(), posted);
        QVERIFY(!program.controller.idleTicker().isActive());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget *window : QApplication::topLevelWidgets())
            QVERIFY(window->objectName() != QLatin1String("Form3"));
        hook.reset();
        m_world.tearDown();
    }
};

QTEST_MAIN(TestAutoIdleHook)
#include "tst_autoidlehook.moc"
