// The options window in-process: its look, the about box, the style shop,
// the ascii and colour edits with what they write, the handle line, cancel,
// with the menus' test host in the program's place.
#include "control/idlelines.h"
#include "hostlink/chatlink.h"
#include "menus/menulines.h"
#include "menus/optionswindow.h"
#include "menus/sessionmenu.h"
#include "styleshop/shoplines.h"
#include "tests/menus/testmenuhost.h"
#include "tests/menuworld.h"
#include "widgets/entrylabel.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

using menus::OptionsWindow;
using menus::dialogs::Icon;
using menus::dialogs::Shown;
using widgets::EntryLabel;

namespace {
// The file as the start-up defaults leave it, less the style keys the edits
// write: what they append then shows which keys they wrote, in which order.
const QByteArray kHandleOnly = "[zorvel]\r\nHANDLE=frobble\r\n";
} // namespace

Q_DECLARE_METATYPE(settings::Field)

class TestOptionsWindow : public QObject {
    Q_OBJECT

    MenuWorld<TestMenuHost> m_world;
    StepClock &m_clock = m_world.clock;

    QList<QByteArray> &lines() { return m_world.room->lines; }
    TestMenuHost &host() { return *m_world.program; }
    OptionsWindow *options() { return host().optionsWindow(); }
    session::SessionModel &session() { return host().session(); }

    // Clicks the entry with the window shown; true when every dialog found
    // the window already hidden.
    bool clickShown(const char *entry) {
        bool hiddenWhileAsked = true;
        menus::dialogs::setWhileShown(
            [&](const Shown &) { hiddenWhileAsked = hiddenWhileAsked && !options()->isVisible(); });
        options()->show();
        auto *label = options()->findChild<EntryLabel *>(QString::fromLatin1(entry));
        QTest::mouseClick(label, Qt::LeftButton);
        return hiddenWhileAsked && !options()->isVisible();
    }

private Q_SLOTS:
    void init() { m_world.setUp(); }
    void cleanup() { m_world.tearDown(); }

    // Told to end while one of its prompts is up, a command writes nothing
    // and posts nothing: the unload closed the prompt, nobody answered it.
    void endingDuringAPromptWritesNothing_data() { addEndInPromptRows(); }
    void endingDuringAPromptWritesNothing() {
        QFETCH(bool, sessionMenu);
        QFETCH(QString, entry);
        QFETCH(int, endInPrompt);
        QWidget *window = sessionMenu ? static_cast<QWidget *>(host().sessionMenu()) : options();
        const QByteArray before = settingsBytes();
        const int prompts =
            clickEndingInPrompt(window, entry, endInPrompt, [this] { host().unloadProgram(); });

        QCOMPARE(prompts, endInPrompt);
        QCOMPARE(host().unloadRequests(), 1);
        QCOMPARE(settingsBytes(), before);
        // No handle line: the program's closing lines are the last.
        QVERIFY(lines().isEmpty());
    }

    void lookOfTheWindow_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QColor>("ink");
        const QColor rust(192, 64, 0), red(192, 0, 0);
        QTest::newRow("about") << "Label1"
                               << "about" << QRect(75, 17, 375, 165) << rust;
        QTest::newRow("styles") << "Label2"
                                << "   styles" << QRect(0, 240, 495, 255) << rust;
        QTest::newRow("e ascii") << "Label3"
                                 << "   e ascii" << QRect(0, 480, 495, 255) << rust;
        QTest::newRow("e fcolor") << "Label8"
                                  << "  e fcolor" << QRect(0, 720, 495, 255) << red;
        QTest::newRow("e acolor") << "Label7"
                                  << "  e acolor" << QRect(0, 960, 495, 255) << red;
        QTest::newRow("e handle") << "Label4"
                                  << "  e handle" << QRect(0, 1200, 495, 255) << rust;
        QTest::newRow("cancel") << "Label5"
                                << " cancel" << QRect(0, 1440, 495, 255) << rust;
    }
    void lookOfTheWindow() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        QFETCH(QColor, ink);
        QCOMPARE(options()->objectName(), QStringLiteral("Form4"));
        QCOMPARE(options()->size(), QSize(495 / 15, 1695 / 15));
        QVERIFY(options()->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(options()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!options()->isVisible());
        auto *entry = options()->findChild<EntryLabel *>(name);
        QVERIFY(entry);
        QCOMPARE(entry->text(), caption);
        QCOMPARE(entry->geometry(),
                 QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        QCOMPARE(entry->font().family(), QStringLiteral("Arial Narrow"));
        QCOMPARE(entry->font().pointSizeF(), 6.75);
        QCOMPARE(entry->palette().color(QPalette::Active, QPalette::WindowText), ink);
    }

    void aboutShowsTwoBoxesInTurn() {
        QList<int> shownCountWhenUp;
        menus::dialogs::setWhileShown(
            [&](const Shown &) { shownCountWhenUp << menus::dialogs::shown().size(); });
        QVERIFY(clickShown("Label1"));
        const QList<Shown> shown = menus::dialogs::shown();
        QCOMPARE(shown.size(), 2);
        QVERIFY(!shown.at(0).prompt && !shown.at(1).prompt);
        QCOMPARE(shown.at(0).icon, Icon::Information);
        QCOMPARE(shown.at(0).title, QString()); // the application's
        const QString text = shown.at(0).text;
        QVERIFY(text.startsWith(QStringLiteral("i was kinda copying a program when i made this, "
                                               "but it ended up very different.")));
        QVERIFY(text.contains(QStringLiteral("different.") + QString(17, u' ') +
                              QStringLiteral("which makes it seem like i'm not good enough at "
                                             "programming, maybe later though") +
                              QString(42, u' ') + QStringLiteral("peace out")));
        QVERIFY(text.endsWith(QStringLiteral("peace out")));
        QCOMPARE(shown.at(1).icon, Icon::Exclamation);
        QVERIFY(!shown.at(1).title.isEmpty());
        QVERIFY(!shown.at(1).text.isEmpty());
        QVERIFY(lines().isEmpty());
    }

    void stylesOpensTheShop() {
        host().mainStrip()->show();
        options()->show();
        options()->openStyleShop();
        QVERIFY(!options()->isVisible());
        QVERIFY(!host().mainStrip()->isVisible());
        QVERIFY(host().isStyleShopLoaded());
        QCOMPARE(lines(),
                 QList<QByteArray>{hostlink::toWindows1252(styleshop::loadLine(session()))});
        // A second styles with the shop open shows it again and posts nothing.
        options()->openStyleShop();
        QCOMPARE(lines().size(), 1);
    }

    void editAscii_data() {
        QTest::addColumn<QString>("front");
        QTest::addColumn<QString>("back");
        QTest::addColumn<QByteArray>("appended");
        QTest::newRow("both given") << "<<"
                                    << "}}"
                                    << QByteArray("PRESET=c\xf9st\xf8m\r\nPMASCII=\xb7\r\n"
                                                  "PFASCII=<<\r\nPBASCII=}}\r\n");
        QTest::newRow("both empty") << ""
                                    << ""
                                    << QByteArray("PRESET=c\xf9st\xf8m\r\nPMASCII=\xb7\r\n"
                                                  "PFASCII=\r\nPBASCII=\r\n");
        QTest::newRow("markup") << "<b>x"
                                << "y</b>"
                                << QByteArray("PRESET=c\xf9st\xf8m\r\nPMASCII=\xb7\r\n"
                                              "PFASCII=<b>x\r\nPBASCII=y</b>\r\n");
    }
    void editAscii() {
        QFETCH(QString, front);
        QFETCH(QString, back);
        QFETCH(QByteArray, appended);
        writeSettingsBytes(kHandleOnly);
        menus::dialogs::setNextAnswer(front);
        menus::dialogs::setNextAnswer(back);
        QVERIFY(clickShown("Label3"));

        const QList<Shown> shown = menus::dialogs::shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).text, QStringLiteral("What is the FRONT ascii gonna be?"));
        QCOMPARE(shown.at(1).text, QStringLiteral("What is the BACK ascii gonna be?"));
        QCOMPARE(session().caption(settings::Field::MiddleAscii), QStringLiteral("·"));
        QCOMPARE(session().caption(settings::Field::FrontAscii), front);
        QCOMPARE(session().caption(settings::Field::BackAscii), back);
        QCOMPARE(session().caption(settings::Field::StyleName), QStringLiteral("cùstøm"));
        QCOMPARE(settingsBytes(), kHandleOnly + appended);
        QVERIFY(lines().isEmpty());
    }

    void editAsciiPausesBetweenItsPrompts() {
        // From a fraction above one half, pause 0 runs the pending events
        // until the next whole second: a change of the style queued while the
        // first prompt is up (an idle tick's reload, a style from the shop)
        // runs between the prompts, and changes nothing the command then writes.
        m_clock.setNow(1000.6);
        const QStringList order =
            editAsciiQueuing(options(), host().mainStrip(), QStringLiteral("change"), [this] {
                for (const auto field : {settings::Field::StyleName, settings::Field::FrontAscii,
                                         settings::Field::MiddleAscii})
                    session().setCaption(field, QStringLiteral("between"));
            });
        QCOMPARE(order, QStringList({QStringLiteral("FRONT"), QStringLiteral("change"),
                                     QStringLiteral("BACK")}));
        QCOMPARE(session().caption(settings::Field::FrontAscii), QStringLiteral("F"));
        QCOMPARE(session().caption(settings::Field::StyleName), QStringLiteral("cùstøm"));
        QCOMPARE(setting("pfascii"), QStringLiteral("F"));
        QCOMPARE(setting("pmascii"), QStringLiteral("·"));
        QCOMPARE(setting("preset"), QStringLiteral("cùstøm"));
    }

    void editColour_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<settings::Field>("field");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("appended");
        QTest::newRow("ascii colour")
            << "Label7"
            << "What color do you want the ascii to be?" << settings::Field::AsciiColour << "FF00FF"
            << QByteArray("PRESET=c\xf9st\xf8m\r\nPACOLOR=FF00FF\r\n");
        QTest::newRow("font colour")
            << "Label8"
            << "What color do you want the font to be?" << settings::Field::FontColour << "123ABC"
            << QByteArray("PRESET=c\xf9st\xf8m\r\nPFCOLOR=123ABC\r\n");
        QTest::newRow("cancelled")
            << "Label8"
            << "What color do you want the font to be?" << settings::Field::FontColour << ""
            << QByteArray("PRESET=c\xf9st\xf8m\r\nPFCOLOR=\r\n");
        QTest::newRow("colour and markup")
            << "Label7"
            << "What color do you want the ascii to be?" << settings::Field::AsciiColour
            << "00FF00><b>hi" << QByteArray("PRESET=c\xf9st\xf8m\r\nPACOLOR=00FF00><b>hi\r\n");
    }
    void editColour() {
        QFETCH(QString, entry);
        QFETCH(QString, prompt);
        QFETCH(settings::Field, field);
        QFETCH(QString, answer);
        QFETCH(QByteArray, appended);
        writeSettingsBytes(kHandleOnly);
        if (!answer.isEmpty())
            menus::dialogs::setNextAnswer(answer);
        QVERIFY(clickShown(entry.toLatin1().constData()));
        QCOMPARE(menus::dialogs::shown().size(), 1);
        QCOMPARE(menus::dialogs::shown().at(0).text, prompt);
        QCOMPARE(session().caption(field), answer);
        QCOMPARE(session().caption(settings::Field::StyleName), QStringLiteral("cùstøm"));
        QCOMPARE(settingsBytes(), kHandleOnly + appended);
        QVERIFY(lines().isEmpty());

        // Later lines carry the answer unchanged.
        host().sessionMenu()->goIdle();
        QCOMPARE(hostlink::fromWindows1252(lines().last()),
                 control::idleSessionLine(session(), true));
        QVERIFY(hostlink::fromWindows1252(lines().last()).contains(QString(u'#' + answer + u'>')));
    }

    void editHandle_data() {
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("fileLine");
        QTest::newRow("default style") << true << "frobble" << QByteArray("HANDLE=frobble");
        QTest::newRow("blanks as typed") << true << " Zed  " << QByteArray("HANDLE=Zed  ");
        QTest::newRow("cancelled") << false << QString() << QByteArray("HANDLE=");
    }
    void editHandle() {
        QFETCH(bool, answered);
        QFETCH(QString, answer);
        QFETCH(QByteArray, fileLine);
        setSetting("handle", QStringLiteral("someone else"));
        if (answered)
            menus::dialogs::setNextAnswer(answer);
        QString handleWhenPosted;
        m_world.room->onPost = [&](const QByteArray &) { handleWhenPosted = setting("handle"); };
        QVERIFY(clickShown("Label4"));

        QCOMPARE(menus::dialogs::shown().at(0).text, QStringLiteral("What is your Handle?"));
        QVERIFY(settingsBytes().contains(QByteArray("\r\n" + fileLine + "\r\n")));
        QCOMPARE(handleWhenPosted, setting("handle")); // written before the line
        QCOMPARE(lines().size(), 1);
        QCOMPARE(hostlink::fromWindows1252(lines().at(0)), menus::handleLine(session(), answer));
        if (answer == QLatin1String("frobble"))
            QCOMPARE(lines().at(0), example::kHandle);
    }

    void cancelHidesAndNothingElse() {
        const QByteArray before = settingsBytes();
        QVERIFY(clickShown("Label5"));
        QVERIFY(lines().isEmpty());
        QVERIFY(menus::dialogs::shown().isEmpty());
        QCOMPARE(settingsBytes(), before);
    }

    void optionsSlideEdges_data() {
        QTest::addColumn<int>("startTop");
        QTest::addColumn<int>("endTop");
        // Stops at the first top past 7200 twips, whatever the screen.
        QTest::newRow("design place") << 3495 << 3495 + 13 * 300;
        QTest::newRow("just below the bound") << 7200 << 7500;
        QTest::newRow("already past: one step") << 9000 << 9300;
    }
    void optionsSlideEdges() {
        QFETCH(int, startTop);
        QFETCH(int, endTop);
        options()->setTopTwips(startTop);
        options()->slideAway();
        QCOMPARE(options()->topTwips(), endTop);
    }

    void noCommandWritesTheUnusedKeys() {
        // Every command of both windows, one after the other.
        for (int i = 0; i < 8; ++i)
            menus::dialogs::setNextAnswer(QStringLiteral("x%1").arg(i));
        OptionsWindow *o = options();
        menus::SessionMenu *m = host().sessionMenu();
        for (void (OptionsWindow::*command)() :
             {&OptionsWindow::showAbout, &OptionsWindow::editAscii, &OptionsWindow::editFontColour,
              &OptionsWindow::editAsciiColour, &OptionsWindow::editHandle, &OptionsWindow::cancel})
            (o->*command)();
        for (void (menus::SessionMenu::*command)() :
             {&menus::SessionMenu::goIdle, &menus::SessionMenu::stopIdleTick,
              &menus::SessionMenu::comeBack, &menus::SessionMenu::editReason,
              &menus::SessionMenu::showStatistics, &menus::SessionMenu::cancel})
            (m->*command)();
        const QList<QByteArray> keys = settingsKeys();
        for (const char *unused : {"FASCII", "BASCII", "MASCII", "ACOLOR", "FCOLOR"})
            QVERIFY2(!keys.contains(unused), unused);
        QCOMPARE(keys, QList<QByteArray>({"PRESET", "PFCOLOR", "PACOLOR", "PMASCII", "PFASCII",
                                          "PBASCII", "HANDLE", "LASTIDLE", "REASON"}));
    }
};

QTEST_MAIN(TestOptionsWindow)
#include "tst_optionswindow.moc"
