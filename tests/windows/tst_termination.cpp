// The termination watcher's Windows half with the system's own requests to
// end: console control events raised in this test's own console, and the
// session's end sent to a window, as the system sends them.
#include "platform/termination.h"

#include <QTest>
#include <QWidget>
#include <windows.h>

class TestTermination : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void requests();
};

void TestTermination::initTestCase() {
    // A console of its own: under Wine without a terminal a program has none
    // that takes control events.
    FreeConsole();
    QVERIFY(AllocConsole());
}

void TestTermination::requests() {
    int requests = 0;
    QObject context;
    platform::holdTermination();

    // Held: without the watcher the system's default would end the process here.
    QVERIFY(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    QTest::qWait(500);

    platform::watchTermination(&context, [&requests] { ++requests; });
    QTRY_COMPARE_WITH_TIMEOUT(requests, 1, 10000);
    // Another is only another call.
    QVERIFY(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    QTRY_COMPARE_WITH_TIMEOUT(requests, 2, 10000);

    // The session's end runs the request at once, inside the first message,
    // and agrees to end; the messages to further windows run nothing more.
    QWidget first, second;
    first.show();
    second.show();
    for (QWidget *window : {&first, &second}) {
        const auto hwnd = reinterpret_cast<HWND>(window->winId());
        QCOMPARE(SendMessageW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), LRESULT(TRUE));
        QCOMPARE(requests, 3);
    }
    SendMessageW(reinterpret_cast<HWND>(first.winId()), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    QCOMPARE(requests, 3);
}

QTEST_MAIN(TestTermination)
#include "tst_termination.moc"
