// The main window in-process: its look, its load, the idle clock, the
// minutes used and the closing announcement, against a recording room.
#include "app/mainstrip.h"
#include "app/programlines.h"
#include "app/startup.h"
#include "control/idlelines.h"
#include "control/sessioncontroller.h"
#include "hostlink/pause.h"
#include "platform/userstore.h"
#include "session/captioncounts.h"
#include "settings/settingsfile.h"
#include "tests/firststart.h"
#include "tests/ownedmainstrip.h"
#include "tests/recordingroom.h"
#include "tests/stepclock.h"
#include "tests/testenv.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>

using app::MainStrip;
using Item = session::SessionModel::Item;
using namespace Qt::StringLiterals;

namespace {
QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void setSetting(const char *key, const QString &value) {
    settings::writeToIni(settings::kSection, QLatin1String(key), value, settings::settingsPath());
}

// The session controller of the strip's run, made on first use.
control::SessionController &controllerOf(MainStrip &strip) {
    auto *controller = strip.findChild<control::SessionController *>();
    return controller ? *controller : *new control::SessionController(strip.session(), &strip);
}
} // namespace

class TestMainStrip : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    StepClock m_clock;

    // A main window loaded as the program loads it, its lines in `room`.
    std::unique_ptr<MainStrip> load(RecordingRoom &room) {
        (void)room;
        app::prepareStart();
        auto form = makeMainStrip();
        form->load();
        return form;
    }

private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnv>();
        hostlink::setPauseClock(&m_clock);
    }
    void cleanup() {
        hostlink::setPauseClock(nullptr);
        m_env.reset();
    }

    // The labels hold nothing of their own: each shows its item of the
    // session model, under the design's object name, and only that one.
    void labelsShowTheSessionModel_data() {
        QTest::addColumn<Item>("item");
        QTest::addColumn<QString>("label");
        QTest::newRow("style name") << Item::StyleName << "Label12";
        QTest::newRow("font colour") << Item::FontColour << "Label8";
        QTest::newRow("ascii colour") << Item::AsciiColour << "Label11";
        QTest::newRow("front ascii") << Item::FrontAscii << "Label5";
        QTest::newRow("middle ascii") << Item::MiddleAscii << "Label6";
        QTest::newRow("back ascii") << Item::BackAscii << "Label7";
        QTest::newRow("hours") << Item::Hours << "hours";
        QTest::newRow("minutes") << Item::Minutes << "mins";
        QTest::newRow("minutes used") << Item::MinutesUsed << "minsused";
        QTest::newRow("previous loads") << Item::PreviousLoads << "Label4";
    }
    void labelsShowTheSessionModel() {
        QFETCH(Item, item);
        QFETCH(QString, label);
        const auto strip = makeMainStrip();
        QHash<QString, QString> before;
        for (const QLabel *l : strip->findChildren<QLabel *>())
            before.insert(l->objectName(), l->text());
        QCOMPARE(before.value(label), strip->session().text(item));

        const QString text = QStringLiteral("nùvé 12abc");
        strip->session().setText(item, text);
        for (const QLabel *l : strip->findChildren<QLabel *>()) {
            QCOMPARE(l->text(), l->objectName() == label ? text : before.value(l->objectName()));
        }
    }

    void lookOfTheWindow() {
        const auto strip = makeMainStrip();
        MainStrip &form = *strip;
        RecordingRoom room;
        form.load();
        QCOMPARE(form.size(), QSize(41, 15));
        QCOMPARE(form.pos(), QPoint(6810 / 15, 3495 / 15));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
        const QRect client(QPoint(0, 0), form.size());
        for (QLabel *hidden : {form.styleNameLabel, form.fontColourLabel, form.asciiColourLabel,
                               form.frontAsciiLabel, form.middleAsciiLabel, form.backAsciiLabel,
                               form.previousLoadsLabel, form.minutesUsedLabel})
            QVERIFY2(!client.intersects(hidden->geometry()), qPrintable(hidden->objectName()));
        for (QLabel *shown :
             {form.menuButton, form.hoursLabel, form.colonLabel, form.minutesLabel, form.greyStrip})
            QVERIFY2(client.intersects(shown->geometry()), qPrintable(shown->objectName()));
        QCOMPARE(form.menuButton->text(), QStringLiteral("               w"));
    }

    void firstAndSecondStart() {
        RecordingRoom room;
        auto first = load(room);
        QCOMPARE(fileBytes(m_env->settingsFile()), kFirstStartFile);
        QCOMPARE(platform::readUserValue(QStringLiteral("zorvel"), QStringLiteral("Count"),
                                         QStringLiteral("stunt")),
                 QStringLiteral("1"));
        QCOMPARE(first->previousLoadsLabel->text(), QStringLiteral("Label4"));
        QCOMPARE(first->styleNameLabel->text(), QStringLiteral("defàùlt"));
        QCOMPARE(first->backAsciiLabel->text(), QStringLiteral("/¯\\"));
        // The menus' and the shop's tests start from this world without a main strip.
        session::SessionModel withoutStrip;
        startAsAtFirstStart(withoutStrip);
        QCOMPARE(fileBytes(m_env->settingsFile()), kFirstStartFile);
        for (int item = 0; item <= int(Item::PreviousLoads); ++item)
            QCOMPARE(withoutStrip.text(Item(item)), first->session().text(Item(item)));
        QCOMPARE(room.lines.size(), 2);
        QCOMPARE(room.texts().at(0), app::loadLine(first->session()));
        QCOMPARE(room.texts().at(1),
                 app::loadIdentityLine(first->session(), QStringLiteral("frobble"),
                                       QStringLiteral("defàùlt")));

        auto second = load(room);
        QCOMPARE(platform::readUserValue(u"zorvel"_s, u"Count"_s, u"stunt"_s), QStringLiteral("2"));
        QCOMPARE(second->previousLoadsLabel->text(), QStringLiteral("1"));
        QCOMPARE(fileBytes(m_env->settingsFile()), kFirstStartFile);
    }

    void changedHandleAndStyleShowInLine2() {
        RecordingRoom room;
        load(room);
        setSetting("handle", QStringLiteral("Ørvik"));
        setSetting("preset", QStringLiteral("nùvé"));
        room.lines.clear();
        auto form = load(room);
        QCOMPARE(form->styleNameLabel->text(), QStringLiteral("nùvé"));
        QVERIFY2(room.texts().at(1).contains(QStringLiteral("<u>Ørvik</u>")),
                 qPrintable(room.texts().at(1)));
        QVERIFY2(room.texts().at(1).contains(QStringLiteral("<u>nùvé</u>")),
                 qPrintable(room.texts().at(1)));
    }

    void unwritableSettingsFolder() {
        // A file where the folder should be: nothing can be written there.
        QFile blocker(m_env->configDir() + u"/zorvel"_s);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        RecordingRoom room;
        auto form = load(room);
        QCOMPARE(room.lines.size(), 2);
        const settings::PlainRecord empty;
        QCOMPARE(room.texts().at(0), app::loadLine(empty));
        QCOMPARE(room.texts().at(1), app::loadIdentityLine(empty, {}, {}));
        QCOMPARE(form->styleNameLabel->text(), QString());
    }

    void clock_data() {
        QTest::addColumn<QString>("hoursBefore");
        QTest::addColumn<QString>("minsBefore");
        QTest::addColumn<QString>("hoursAfter");
        QTest::addColumn<QString>("minsAfter");
        QTest::newRow("58 rolls over") << "0"
                                       << "58"
                                       << "1"
                                       << "0";
        QTest::newRow("00 after idle off") << "0"
                                           << "00"
                                           << "0"
                                           << "1";
        QTest::newRow("57 to 58") << "3"
                                  << "57"
                                  << "3"
                                  << "58";
        QTest::newRow("past the roll-over it never rolls") << "0"
                                                           << "60"
                                                           << "0"
                                                           << "61";
        QTest::newRow("empty caption counts as 0") << "0"
                                                   << ""
                                                   << "0"
                                                   << "1";
        QTest::newRow("damaged caption counts as 0") << "2"
                                                     << "x7"
                                                     << "2"
                                                     << "1";
        QTest::newRow("hours counted from a damaged caption") << "?"
                                                              << "58"
                                                              << "1"
                                                              << "0";
    }
    void clock() {
        QFETCH(QString, hoursBefore);
        QFETCH(QString, minsBefore);
        QFETCH(QString, hoursAfter);
        QFETCH(QString, minsAfter);
        RecordingRoom room;
        auto form = load(room);
        setSetting("reason", QStringLiteral("brb"));
        form->session().setHours(hoursBefore);
        form->session().setMinutes(minsBefore);
        room.lines.clear();

        controllerOf(*form).tick();

        QCOMPARE(form->hoursLabel->text(), hoursAfter);
        QCOMPARE(form->minutesLabel->text(), minsAfter);
        QCOMPARE(room.lines.size(), 2);
        QCOMPARE(room.texts().at(0), control::idleLine(form->session(), QStringLiteral("frobble"),
                                                       hoursAfter, minsAfter));
        QCOMPARE(room.texts().at(1), control::reasonLine(form->session(), QStringLiteral("brb")));
    }

    void tickReloadsTheStyle() {
        RecordingRoom room;
        auto form = load(room);
        controllerOf(*form).tick();
        setSetting("preset", QStringLiteral("KeloVa"));
        setSetting("pacolor", QStringLiteral("0098FF"));
        setSetting("pmascii", QStringLiteral("·"));
        room.lines.clear();
        controllerOf(*form).tick();
        QCOMPARE(form->styleNameLabel->text(), QStringLiteral("KeloVa"));
        QVERIFY(room.texts().at(0).contains(QStringLiteral("color=#0098FF>")));
        QVERIFY(room.texts().at(0).contains(QStringLiteral("  zorvel  ·")));
        QVERIFY(room.texts().at(1).contains(QStringLiteral(">KeloVa<")));
    }

    void minutesUsed_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("empty") << ""
                               << "1";
        QTest::newRow("zero") << "0"
                              << "1";
        QTest::newRow("41") << "41"
                            << "42";
    }
    void minutesUsed() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const auto strip = makeMainStrip();
        MainStrip &form = *strip;
        form.session().setMinutesUsed(before);
        controllerOf(form).countMinuteUsed();
        QCOMPARE(form.minutesUsedLabel->text(), after);
    }

    void idleTicksLeaveTheMinutesUsedAlone() {
        RecordingRoom room;
        auto form = load(room);
        setSetting("minsused", QStringLiteral("999"));
        form->session().setMinutesUsed(QStringLiteral("5"));
        controllerOf(*form).tick();
        controllerOf(*form).tick();
        QCOMPARE(form->minutesUsedLabel->text(), QStringLiteral("5"));
    }

    // A minute tick that comes during the tick's pause runs between its two
    // lines, and the second line still comes.
    void minuteTickDuringTheIdlePause() {
        RecordingRoom room;
        auto form = load(room);
        hostlink::setPauseClock(nullptr); // real time: the real timer must fire in the pause
        form->session().setMinutesUsed(QStringLiteral("3"));
        QStringList usedAtPost;
        room.onPost = [&](const QByteArray &) { usedAtPost << form->minutesUsedLabel->text(); };
        QTimer &minuteCounter = controllerOf(*form).minuteCounter();
        minuteCounter.setInterval(100);
        minuteCounter.start();
        controllerOf(*form).tick();
        minuteCounter.stop();
        QCOMPARE(usedAtPost.size(), 2);
        QCOMPARE(usedAtPost.at(0), QStringLiteral("3"));
        QVERIFY2(session::captionNumber(usedAtPost.at(1)) > 3, qPrintable(usedAtPost.join(u',')));
    }

    void unload() {
        RecordingRoom room;
        auto form = load(room);
        setSetting("handle", QStringLiteral("<b>zed</b>"));
        const QByteArray before = fileBytes(m_env->settingsFile());
        room.lines.clear();
        form->show();

        // Start left of minus the width: the left slide still moves once.
        const int startX = -100;
        form->move(startX, 40);
        QList<int> seen; // where the window stands each time the slides run the events
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, this, [&] { seen << form->x(); });
        room.onPost = [&](const QByteArray &) {
            if (room.lines.size() == 2)
                sampler.start(0);
        };
        form->close();
        sampler.stop();

        QCOMPARE(room.lines.size(), 2);
        QCOMPARE(room.texts().at(0), app::unloadLine(form->session()));
        QCOMPARE(room.texts().at(1),
                 app::unloadIdentityLine(form->session(), QStringLiteral("<b>zed</b>"),
                                         QStringLiteral("defàùlt")));
        QVERIFY(seen.size() >= 3);
        QCOMPARE(seen.at(0), startX);      // the one step left
        QCOMPARE(seen.at(1), startX - 20); // then the right slide starts
        const int screenWidth = form->screen()->geometry().width();
        QVERIFY(form->x() > screenWidth);
        QVERIFY(form->x() - 20 <= screenWidth);
        QCOMPARE(fileBytes(m_env->settingsFile()), before);
        QCOMPARE(platform::readUserValue(u"zorvel"_s, u"Count"_s, u"stunt"_s), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestMainStrip)
#include "tst_mainstrip.moc"
