// The style shop's window in-process, against a recording room: its look,
// its entries, where a press drags and where it does not, and its guards.
#include "session/sessionmodel.h"
#include "styleshop/styleshop.h"
#include "tests/recordingroom.h"
#include "tests/styleshop/expectedlines.h"
#include "tests/styleshop/shopsession.h"
#include "tests/testenv.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

namespace {
const QColor kRust(192, 64, 0);
const QColor kWhite(255, 255, 255);
const QColor kHighlightText = kWhite; // in the standard scheme
const QColor kBlack(0, 0, 0);

QByteArray cp(const QString &text) { return hostlink::toWindows1252(text); }

struct Twips {
    int left, top, width;
};

// Twips to pixels, 15 to one, as the design was drawn.
QRect pixels(Twips t) { return QRect(t.left / 15, t.top / 15, t.width / 15, 255 / 15); }

// A point of the shop that no entry covers: right of the title.
const QPoint kBackground(100, 5);
} // namespace

class TestStyleShop : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<RecordingRoom> m_room;
    std::unique_ptr<ShopSession> m_session;

    QByteArrayList lines() const { return m_room->lines; }

private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnv>();
        m_room = std::make_unique<RecordingRoom>();
        m_session = std::make_unique<ShopSession>();
        m_session->open();
        QCOMPARE(lines(), QByteArrayList{kLoadLineDefaults});
        m_room->lines.clear();
    }
    void cleanup() {
        m_session.reset();
        m_room.reset();
        m_env.reset();
    }

    void windowAsDrawn() {
        styleshop::StyleShop &shop = m_session->shop();
        QCOMPARE(shop.size(), QSize(1695 / 15, 3510 / 15));
        QVERIFY(shop.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(shop.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(shop.autoFillBackground());
        QCOMPARE(shop.palette().color(QPalette::Window), kBlack);

        QLabel *title = m_session->entry("Label3");
        QVERIFY(title);
        QCOMPARE(cp(title->text()), QByteArray("   zorvel styl\xE9s"));
        QCOMPARE(title->geometry(), pixels({240, 0, 1095}));
        QCOMPARE(title->font().family(), QStringLiteral("Arial Narrow"));
        QCOMPARE(title->font().pointSizeF(), 9.0);
        QCOMPARE(title->palette().color(QPalette::WindowText), kRust);
        QCOMPARE(title->palette().color(QPalette::Window), QColor(64, 0, 0));
        QVERIFY(title->autoFillBackground());

        // Twenty-five entries and the title, nothing else by those names.
        int labels = 0;
        for (const QLabel *label : shop.findChildren<QLabel *>())
            labels += label->objectName().startsWith(QLatin1String("Label"));
        QCOMPARE(labels, 26);
    }

    // Seven lines frame the window; a press on them lands on the background.
    void frameLinesTakeNoMouse() {
        const QList<QFrame *> frames =
            m_session->shop().findChildren<QFrame *>(QString(), Qt::FindDirectChildrenOnly);
        int lines = 0;
        for (const QFrame *frame : frames) {
            if (qobject_cast<const QLabel *>(frame))
                continue;
            ++lines;
            QVERIFY(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
        }
        QCOMPARE(lines, 7);
        QCOMPARE(m_session->shop().childAt(QPoint(0, 200)), nullptr);  // the left edge
        QCOMPARE(m_session->shop().childAt(QPoint(50, 232)), nullptr); // the bottom edge
        QCOMPARE(m_session->shop().childAt(kBackground), nullptr);
    }

    void entries_data() {
        QTest::addColumn<QByteArray>("caption");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QColor>("ink");
        QTest::addColumn<int>("style");
        QTest::addColumn<QByteArray>("styleName");
        const auto row = [](const char *name, const char *caption, Twips twips, QColor ink,
                            int style, const char *styleName) {
            QTest::newRow(name) << QByteArray(caption) << pixels(twips) << ink << style
                                << QByteArray(styleName);
        };
        // clang-format off
        row("Label1", "  glimt\xE0r", {0, 240, 975}, kRust, 1, "glimt\xE0r");
        row("Label2", "  qu\xF8van\xE9", {0, 480, 975}, kRust, 2, "qu\xF8van\xE9");
        row("Label4", "  tr\xE9" "bolk", {0, 720, 735}, kRust, 4, "tr\xE9" "bolk");
        row("Label5", "  brondel\xB9", {0, 960, 615}, kRust, 5, "brondel\xB9");
        row("Label6", "  wist\xF8rn", {0, 1200, 735}, kRust, 6, "wist\xF8rn");
        row("Label7", "  f\xE0lv\xE9", {0, 1440, 735}, kRust, 7, "f\xE0lv\xE9");
        row("Label8", " n\xF8" "bbik\xE9", {0, 1680, 615}, kRust, 8, "n\xF8" "bbik\xE9");
        row("Label9", "KeloVa", {120, 1920, 615}, kRust, 9, "KeloVa");
        row("Label10", "lur\xF8", {120, 2160, 495}, kRust, 10, "lur\xF8");
        row("Label11", "vex\xE0", {120, 2400, 495}, kRust, 11, "vex\xE0");
        row("Label12", "tuq", {120, 2640, 375}, kRust, 12, "tuq");
        row("Label13", "d\xF8lvin", {120, 2880, 495}, kRust, 13, "d\xF8lvin");
        row("Label14", "skarnet\xB9", {120, 3120, 495}, kRust, 14, "skarnet\xB9");
        row("Label18", "z\xE9phrin", {960, 252, 615}, kWhite, 18, "z\xE9phrin");
        row("Label19", "t0ff", {1080, 480, 375}, kWhite, 19, "t0ff");
        row("Label20", "plenk", {960, 720, 375}, kWhite, 20, "plenk");
        row("Label15", "f\xE9nnok", {720, 960, 735}, kWhite, 15, "f\xE9nnok");
        row("Label16", "br\xE2vilo", {720, 1200, 855}, kWhite, 16, "br\xE0vilo");
        row("Label17", "h\xF9mptar", {720, 1440, 615}, kHighlightText, 17, "h\xF9mptar");
        row("Label21", "dr\xF8mp", {720, 1680, 375}, kWhite, 21, "dr\xF8mp");
        row("Label22", "pellux", {720, 1920, 735}, kWhite, 22, "pellux");
        row("Label23", "\xF8rm\xE0" "din", {720, 2160, 615}, kHighlightText, 23,
            "\xF8rm\xE0" "din");
        row("Label24", "zorvel suxz", {720, 2400, 615}, kWhite, 24, "zorvel suxz");
        row("Label25", "n\xF9v\xE9", {720, 2640, 615}, kWhite, 25, "n\xF9v\xE9");
        row("Label26", "gr\xE8vint\xF8lk", {720, 2880, 855}, kWhite, 26, "gr\xE9vint\xF8lk");
        // clang-format on
    }

    // Each entry as drawn; a click on it applies its style, and only that.
    void entries() {
        QFETCH(QByteArray, caption);
        QFETCH(QRect, geometry);
        QFETCH(QColor, ink);
        QFETCH(int, style);
        QFETCH(QByteArray, styleName);
        const QByteArray name = QTest::currentDataTag();
        QLabel *label = m_session->entry(name.constData());
        QVERIFY(label);
        QCOMPARE(cp(label->text()), caption);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->geometry(), geometry);
        QCOMPARE(label->palette().color(QPalette::WindowText), ink);
        QCOMPARE(label->palette().color(QPalette::Window), kBlack);
        QCOMPARE(label->font().family(), QStringLiteral("Arial Narrow"));
        QCOMPARE(label->font().pointSizeF(), 8.25);

        const QPoint place = m_session->shop().pos();
        QVERIFY(m_session->click(name.constData()));
        QCOMPARE(cp(m_session->session().caption(settings::Field::StyleName)), styleName);
        QCOMPARE(lines(), QByteArrayList{expectedLine(style)});
        // The shop stays as it was.
        QVERIFY(m_session->shop().isLoaded());
        QVERIFY(m_session->shop().isVisible());
        QCOMPARE(m_session->shop().pos(), place);
        QVERIFY(!m_session->mainStrip().isVisible());
    }

    // Only a press on the background drags; the entries and the title take
    // their presses.
    void pressWhere_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("drags");
        QTest::newRow("background") << QString() << true;
        QTest::newRow("title") << QStringLiteral("Label3") << false;
        QTest::newRow("entry Label9") << QStringLiteral("Label9") << false;
        QTest::newRow("entry Label26") << QStringLiteral("Label26") << false;
    }
    void pressWhere() {
        QFETCH(QString, target);
        QFETCH(bool, drags);
        styleshop::StyleShop &shop = m_session->shop();
        QPoint at = kBackground;
        if (!target.isEmpty()) {
            QLabel *label = m_session->entry(target.toLatin1().constData());
            QVERIFY(label);
            at = label->geometry().center();
            QCOMPARE(shop.childAt(at), label);
        }
        const QPoint before = shop.pos();
        const QPoint by(5, 20); // off any entry's bottom edge

        const Qt::CursorShape held = m_session->pressMoveRelease(at, by);

        QCOMPARE(shop.pos(), drags ? before + by : before);
        QCOMPARE(m_session->mainStrip().isVisible(), drags);
        QCOMPARE(held, drags ? Qt::SizeAllCursor : Qt::ArrowCursor);
        QCOMPARE(shop.cursor().shape(), Qt::ArrowCursor);
        // The release was off the entry: no click, so nothing posted.
        QCOMPARE(lines(), QByteArrayList{});
        QVERIFY(shop.isLoaded());
        QVERIFY(shop.isVisible());
    }

    // The title click shows the main window first, then asks to be unloaded.
    void titleClickShowsTheMainStripThenAsks() {
        bool form1Shown = false;
        connect(&m_session->shop(), &styleshop::StyleShop::unloadRequested, this,
                [&] { form1Shown = m_session->mainStrip().isVisible(); });
        QVERIFY(m_session->click("Label3"));
        QVERIFY(form1Shown);
        QVERIFY(!m_session->shop().isLoaded());
        QVERIFY(!m_session->shop().isVisible());
        QCOMPARE(lines(), QByteArrayList{kUnloadLineDefaults});
    }

    // A double click on the title acts as one click: the rest of it finds
    // the shop unloaded and does nothing.
    void titleDoubleClickActsOnce() {
        QSignalSpy asked(&m_session->shop(), &styleshop::StyleShop::unloadRequested);
        QVERIFY(m_session->doubleClick("Label3"));
        QCOMPARE(asked.count(), 1);
        QCOMPARE(lines(), QByteArrayList{kUnloadLineDefaults});
    }

    void titleOnAnUnloadedShopDoesNothing() {
        styleshop::StyleShop &shop = m_session->shop();
        shop.unload();
        m_session->mainStrip().hide();
        QSignalSpy asked(&shop, &styleshop::StyleShop::unloadRequested);
        shop.goBack();
        shop.askToUnload();
        QCOMPARE(asked.count(), 0);
        QVERIFY(!m_session->mainStrip().isVisible());
    }

    // Loading a loaded shop and unloading an unloaded one post nothing.
    void loadAndUnloadPostOnce() {
        styleshop::StyleShop &shop = m_session->shop();
        shop.load();
        shop.show();
        QCOMPARE(lines(), QByteArrayList{});
        shop.unload();
        shop.unload();
        QCOMPARE(lines(), QByteArrayList{kUnloadLineDefaults});
    }

    // The second press of a double click on an entry is no second click.
    void entryDoubleClickAppliesOnce() {
        QVERIFY(m_session->doubleClick("Label12"));
        QCOMPARE(lines(), QByteArrayList{expectedLine(12)});
    }

    // The second press of a double click on the background is the window's
    // double click, not a press: it starts no drag.
    void backgroundDoubleClickIsNoPress() {
        styleshop::StyleShop &shop = m_session->shop();
        QWindow *window = shop.windowHandle();
        // Ends the drag, should one start.
        QTimer::singleShot(
            0, window, [window] { QTest::mouseRelease(window, Qt::LeftButton, {}, kBackground); });
        QMouseEvent second(QEvent::MouseButtonDblClick, kBackground,
                           window->mapToGlobal(QPointF(kBackground)), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&shop, &second);
        QCoreApplication::processEvents();
        QVERIFY(!m_session->mainStrip().isVisible());
    }
};

QTEST_MAIN(TestStyleShop)
#include "tst_styleshop.moc"
