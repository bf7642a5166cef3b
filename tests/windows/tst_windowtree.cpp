// chathost.exe's real Win32 window tree, looked at and driven from another
// process with the system's own calls: its shape and sibling order, what
// WM_SETTEXT and WM_CHAR do to a room's entry box, and the time a client
// spends on a chathost whose window thread has stopped, for a line or for
// marking the user away.
#include "hostlink/chatlink.h"
#include "tests/windows/winchathost.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

using Classes = QList<QByteArray>;

Classes classesOf(const QList<HWND> &windows) {
    Classes classes;
    for (HWND window : windows)
        classes.append(win::className(window));
    return classes;
}

// The room of the given name: the document window whose text is the name.
HWND roomNamed(HWND frame, const QByteArray &name) {
    HWND area = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    for (HWND document = FindWindowExA(area, nullptr, "AOL Child", nullptr); document;
         document = FindWindowExA(area, document, "AOL Child", nullptr)) {
        if (win::text(document) == name)
            return document;
    }
    return nullptr;
}

// The second rich-text control of a room, after the transcript.
HWND entryOf(HWND room) {
    HWND transcript = FindWindowExA(room, nullptr, "RICHCNTL", nullptr);
    return FindWindowExA(room, transcript, "RICHCNTL", nullptr);
}

const Classes kRoomShape = {"_AOL_Static", "RICHCNTL", "_AOL_Listbox", "RICHCNTL", "_AOL_Icon"};
const Classes kWelcomeShape = {"_AOL_Static", "RICHCNTL", "_AOL_Icon"};

} // namespace

class TestWindowTree : public QObject {
    Q_OBJECT

private slots:
    void shape();
    void frontRoomFirst();
    void entryBox_data();
    void entryBox();
    void stalledHostCostsTheBound();
};

void TestWindowTree::shape() {
    WinChatHost host({QStringLiteral("--room"), QStringLiteral("Lobby"), QStringLiteral("--room"),
                      QStringLiteral("Den")});
    QVERIFY2(host.start(), qPrintable(host.output()));
    HWND frame = host.frame();
    QCOMPARE(classesOf(win::children(frame)), Classes{"MDIClient"});
    HWND area = win::children(frame).first();
    const QList<HWND> documents = win::children(area);
    QCOMPARE(classesOf(documents), Classes({"AOL Child", "AOL Child", "AOL Child"}));
    // The welcome window in front, not a room; then the rooms in the order given.
    QCOMPARE(win::text(documents[0]), QByteArray("Welcome"));
    QCOMPARE(classesOf(win::children(documents[0])), kWelcomeShape);
    QCOMPARE(win::text(documents[1]), QByteArray("Lobby"));
    QCOMPARE(classesOf(win::children(documents[1])), kRoomShape);
    QCOMPARE(win::text(documents[2]), QByteArray("Den"));
    QCOMPARE(classesOf(win::children(documents[2])), kRoomShape);
    // The finding of the room that a client does, on the real windows.
    const platform::WindowHandle room = hostlink::findRoom();
    QCOMPARE(room, platform::WindowHandle(reinterpret_cast<std::uintptr_t>(documents[1])));
}

void TestWindowTree::frontRoomFirst() {
    // A room activated the way Win32 activates a document window (WM_MDIACTIVATE
    // to the document area) leads the siblings, so the next line goes there.
    WinChatHost host({QStringLiteral("--room"), QStringLiteral("Lobby"), QStringLiteral("--room"),
                      QStringLiteral("Den")});
    QVERIFY2(host.start(), qPrintable(host.output()));
    HWND area = FindWindowExA(host.frame(), nullptr, "MDIClient", nullptr);
    HWND den = roomNamed(host.frame(), "Den");
    QVERIFY(den);
    QVERIFY(
        SendMessageTimeoutA(area, WM_MDIACTIVATE, WPARAM(den), 0, SMTO_ABORTIFHUNG, 5000, nullptr));
    QCOMPARE(win::children(area).first(), den);
    hostlink::chatSend(QStringLiteral("to the front room"), hostlink::LineKind::Load);
    QCOMPARE(host.waitForLines(1).size(), 1);
    QCOMPARE(host.lines().at(0).room, QStringLiteral("Den"));
}

void TestWindowTree::entryBox_data() {
    QTest::addColumn<QByteArrayList>("texts");  // each set with WM_SETTEXT, in turn
    QTest::addColumn<bool>("enter");            // then WM_CHAR 13
    QTest::addColumn<QByteArray>("box");        // the box's text after
    QTest::addColumn<QByteArrayList>("posted"); // the lines the room got

    QTest::newRow("set text") << QByteArrayList{"h\xe9llo"} << false << QByteArray("h\xe9llo")
                              << QByteArrayList{};
    QTest::newRow("set text replaces") << QByteArrayList{"typed by hand", "<b>b\xf8ld</b>"} << false
                                       << QByteArray("<b>b\xf8ld</b>") << QByteArrayList{};
    QTest::newRow("enter posts and clears") << QByteArrayList{"<font color=#FF0000>r\xe9"
                                                              "d \xaf\\"}
                                            << true << QByteArray()
                                            << QByteArrayList{"<font color=#FF0000>r\xe9"
                                                              "d \xaf\\"};
    QTest::newRow("enter on an empty box posts nothing")
        << QByteArrayList{""} << true << QByteArray() << QByteArrayList{};
}

void TestWindowTree::entryBox() {
    QFETCH(QByteArrayList, texts);
    QFETCH(bool, enter);
    QFETCH(QByteArray, box);
    QFETCH(QByteArrayList, posted);
    WinChatHost host({QStringLiteral("--screen-name"), QStringLiteral("Z\xf8rv")});
    QVERIFY2(host.start(), qPrintable(host.output()));
    HWND room = roomNamed(host.frame(), "Lobby");
    HWND entry = entryOf(room);
    QVERIFY(entry);
    for (const QByteArray &text : texts)
        QVERIFY(SendMessageTimeoutA(entry, WM_SETTEXT, 0, LPARAM(text.constData()),
                                    SMTO_ABORTIFHUNG, 5000, nullptr));
    if (enter)
        QVERIFY(SendMessageTimeoutA(entry, WM_CHAR, 13, 0, SMTO_ABORTIFHUNG, 5000, nullptr));
    QCOMPARE(win::text(entry), box);
    if (!posted.isEmpty())
        QCOMPARE(host.waitForLines(int(posted.size())).size(), posted.size());
    QCOMPARE(host.lines().size(), posted.size());
    for (qsizetype i = 0; i < posted.size(); ++i)
        QCOMPARE(host.lines().at(i).bytes, posted[i]);
    // The room's transcript shows each line after the signed-in screen name (its
    // plain text has a blank for the no-break space).
    HWND transcript = FindWindowExA(room, nullptr, "RICHCNTL", nullptr);
    const QByteArray shown = win::text(transcript);
    QVERIFY2(shown.count("Z\xf8rv: ") == posted.size(), shown.toHex().constData());
    if (!posted.isEmpty())
        QVERIFY(shown.startsWith("Z\xf8rv: "));
}

void TestWindowTree::stalledHostCostsTheBound() {
    // The first line reaches the room; then the window thread stops.
    WinChatHost host({QStringLiteral("--test-stall-after"), QStringLiteral("1")});
    QVERIFY2(host.start(), qPrintable(host.output()));
    hostlink::chatSend(QStringLiteral("before"), hostlink::LineKind::Load);
    QCOMPARE(host.waitForLines(1).size(), 1);
    for (int line = 0; line < 4; ++line) {
        QElapsedTimer timer;
        timer.start();
        hostlink::chatSend(QStringLiteral("lost %1").arg(line), hostlink::LineKind::Load);
        const qint64 spent = timer.elapsed();
        // The bound is 250 ms for all of a line's messages; finding the windows
        // costs next to nothing, a loaded machine a little more.
        QVERIFY2(spent <= 250 + 100,
                 qPrintable(QStringLiteral("line %1: %2 ms").arg(line).arg(spent)));
    }
    // Marking the user away (WM_COPYDATA to the main window) costs no more.
    for (const bool away : {true, false}) {
        QElapsedTimer timer;
        timer.start();
        hostlink::setAway(away, QStringLiteral("brb"));
        QVERIFY2(timer.elapsed() <= 250 + 100, qPrintable(QString::number(timer.elapsed())));
    }
    QCOMPARE(host.lines().size(), 1);
}

QTEST_GUILESS_MAIN(TestWindowTree)
#include "tst_windowtree.moc"
