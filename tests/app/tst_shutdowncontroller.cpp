// The shutdown controller: the unload entry and requests from outside go the
// same one way, in any order and from inside the closing announcement, and
// the program ends once, with its closing lines once and nothing after them.
#include "app/programlines.h"
#include "hostlink/chatlink.h"
#include "tests/menuprogram.h"

#include <QApplication>
#include <QTest>

namespace {
enum class Request { Entry, Outside };
using Requests = QList<Request>;
} // namespace
Q_DECLARE_METATYPE(Request)

class TestShutdownController : public QObject {
    Q_OBJECT

    MenuFixture m_world;

    static void ask(MenuProgram &program, Request request) {
        if (request == Request::Entry)
            program.windows.unloadProgram(); // what the unload entry calls
        else
            program.windows.shutdown().unloadFromOutside();
    }

private Q_SLOTS:
    void init() { m_world.setUp(false); }
    void cleanup() { m_world.tearDown(); }

    void endsOnceWhoeverAsks_data() {
        QTest::addColumn<Requests>("before");
        QTest::addColumn<Requests>("during"); // made as the first closing line is posted
        QTest::addColumn<bool>("shopOpen");
        QTest::addColumn<bool>("idle");
        QTest::newRow("entry") << Requests{Request::Entry} << Requests{} << false << false;
        QTest::newRow("outside") << Requests{Request::Outside} << Requests{} << false << true;
        QTest::newRow("entry, then outside")
            << Requests{Request::Entry, Request::Outside} << Requests{} << true << false;
        QTest::newRow("outside, then entry")
            << Requests{Request::Outside, Request::Entry} << Requests{} << false << true;
        QTest::newRow("entry, outside during the closing lines")
            << Requests{Request::Entry} << Requests{Request::Outside} << true << true;
        QTest::newRow("outside, entry and outside during the closing lines")
            << Requests{Request::Outside} << Requests{Request::Entry, Request::Outside} << false
            << false;
    }
    void endsOnceWhoeverAsks() {
        QFETCH(Requests, before);
        QFETCH(Requests, during);
        QFETCH(bool, shopOpen);
        QFETCH(bool, idle);
        MenuProgram program;
        program.mainStrip.show();
        if (idle)
            program.windows.sessionMenu()->goIdle();
        if (shopOpen)
            program.windows.showStyleShop();
        QVERIFY(program.controller.minuteCounter().isActive());
        QCOMPARE(program.controller.idleTicker().isActive(), idle);
        m_world.room->lines.clear();
        bool asked = false;
        m_world.room->onPost = [&](const QByteArray &) {
            if (std::exchange(asked, true))
                return;
            for (Request request : during)
                ask(program, request);
        };

        for (Request request : before)
            ask(program, request);

        QCOMPARE(program.ends, 1);
        QVERIFY(program.windows.isEnding());
        const QList<QByteArray> closing{
            hostlink::toWindows1252(app::unloadLine(program.session)),
            hostlink::toWindows1252(app::unloadIdentityLine(
                program.session, QStringLiteral("frobble"), QStringLiteral("defàùlt")))};
        QCOMPARE(m_world.room->lines, closing);
        QVERIFY(!program.controller.minuteCounter().isActive());
        QVERIFY(!program.controller.idleTicker().isActive());
        QVERIFY(!program.mainStrip.isVisible());
        QVERIFY(!program.windows.isStyleShopLoaded());
        // The menus went, whether or not they had been loaded.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget *w : QApplication::topLevelWidgets()) {
            QVERIFY2(w->objectName() != QLatin1String("Form3") &&
                         w->objectName() != QLatin1String("Form4") &&
                         w->objectName() != QLatin1String("Form2"),
                     qPrintable(w->objectName()));
        }
    }
};

QTEST_MAIN(TestShutdownController)
#include "tst_shutdowncontroller.moc"
