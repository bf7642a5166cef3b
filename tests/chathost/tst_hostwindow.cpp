#include "chathost/chatroom.h"
#include "chathost/hostoptions.h"
#include "chathost/hostwindow.h"
#include "chathost/requesthandler.h"
#include "chathost/windowtree.h"
#include "platform/windowsystem_unix.h"
#include "tests/testenv.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QtTest>

using chathost::Handle;
namespace wire = chatwire;

using namespace Qt::StringLiterals;

class TestHostWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void treeHasTheClassesAClientLooksFor();
    void documentsAreListedFrontToBack();
    void welcomeWindowIsNoRoom();
    void setTextReplacesAndEnterPosts();
    void characterMessagesType_data();
    void characterMessagesType();
    void findWindowExRules();
    void closedWindowLeavesTheTree();
    void malformedRequestsGetNoAnswer_data();
    void malformedRequestsGetNoAnswer();

private:
    Handle find(Handle parent, Handle after, const QByteArray &className) {
        return m_tree->findWindowEx(parent, after, className);
    }
    Handle area() { return find(find(0, 0, "AOL Frame25"), 0, "MDIClient"); }
    QList<Handle> documents() {
        QList<Handle> list;
        for (Handle d = find(area(), 0, "AOL Child"); d; d = find(area(), d, "AOL Child"))
            list.append(d);
        return list;
    }
    Handle entryOf(Handle document) {
        return find(document, find(document, 0, "RICHCNTL"), "RICHCNTL");
    }
    QByteArray request(const QByteArray &payload) {
        return m_handler->handle(payload).value_or("(none)");
    }

    chathost::WindowTree *m_tree = nullptr;
    chathost::RequestHandler *m_handler = nullptr;
    chathost::HostWindow *m_window = nullptr;
};

void TestHostWindow::init() {
    chathost::HostOptions options;
    options.roomNames = {u"Lobby"_s, u"Den"_s};
    options.screenName = u"Alice"_s;
    m_tree = new chathost::WindowTree;
    m_handler = new chathost::RequestHandler(*m_tree);
    m_window = new chathost::HostWindow(options, *m_tree);
    m_window->show();
}

void TestHostWindow::cleanup() {
    delete m_window;
    delete m_handler;
    delete m_tree;
}

void TestHostWindow::treeHasTheClassesAClientLooksFor() {
    const Handle frame = m_tree->findWindow("AOL Frame25");
    QVERIFY(frame != 0);
    QCOMPARE(m_tree->window(frame), m_window);
    QVERIFY(area() != 0);
    const Handle lobby = documents().at(1);
    QCOMPARE(m_tree->children(lobby).size(), 5);
    QList<QByteArray> classes;
    for (const Handle child : m_tree->children(lobby))
        classes.append(m_tree->className(child));
    QCOMPARE(classes, (QList<QByteArray>{"_AOL_Static", "RICHCNTL", "_AOL_Listbox", "RICHCNTL",
                                         "_AOL_Icon"}));
    QCOMPARE(m_tree->window(find(lobby, 0, "RICHCNTL")), m_window->rooms().at(0)->transcript());
    QCOMPARE(m_tree->window(entryOf(lobby)), m_window->rooms().at(0)->entry());
}

void TestHostWindow::documentsAreListedFrontToBack() {
    auto titles = [this] {
        QStringList list;
        for (const Handle d : documents())
            list.append(m_tree->window(d)->windowTitle());
        return list;
    };
    QCOMPARE(titles(), (QStringList{u"Welcome"_s, u"Lobby"_s, u"Den"_s}));
    const QList<Handle> before = documents();

    QByteArray raise(1, char(wire::Raise));
    wire::putU64(raise, before.at(2));
    QCOMPARE(request(raise), QByteArray(1, '\1'));
    QCOMPARE(titles(), (QStringList{u"Den"_s, u"Welcome"_s, u"Lobby"_s}));
    // Handles stay with their windows.
    QCOMPARE(documents().at(0), before.at(2));
}

void TestHostWindow::welcomeWindowIsNoRoom() {
    const Handle welcome = documents().at(0);
    QVERIFY(find(welcome, 0, "_AOL_Static") != 0);
    QVERIFY(find(welcome, 0, "_AOL_Icon") != 0);
    QVERIFY(find(welcome, 0, "RICHCNTL") != 0);
    QCOMPARE(find(welcome, 0, "_AOL_Listbox"), Handle(0));
    QCOMPARE(entryOf(welcome), Handle(0));
}

void TestHostWindow::setTextReplacesAndEnterPosts() {
    QSignalSpy posted(m_window, &chathost::HostWindow::posted);
    const Handle entry = entryOf(documents().at(1));
    QLineEdit *edit = m_window->rooms().at(0)->entry();
    edit->setText(u"typed by hand"_s);

    QByteArray setText(1, char(wire::SetText));
    wire::putU64(setText, entry);
    QCOMPARE(request(setText + "<b>caf\xe9</b>"), QByteArray(1, '\1'));
    QCOMPARE(edit->text(), QStringLiteral("<b>caf\u00e9</b>"));

    QByteArray enter(1, char(wire::SendChar));
    wire::putU64(enter, entry);
    wire::putU32(enter, 13);
    QCOMPARE(request(enter), QByteArray(1, '\1'));

    QCOMPARE(posted.size(), 1);
    QCOMPARE(posted.at(0).at(0).toString(), QStringLiteral("Lobby"));
    QCOMPARE(posted.at(0).at(1).toString(), QStringLiteral("<b>caf\u00e9</b>"));
    QVERIFY(edit->text().isEmpty());
    // Rendered: the screen name before the line, the markup gone.
    const QString shown = m_window->rooms().at(0)->transcript()->toPlainText();
    QCOMPARE(shown, QStringLiteral("Alice: caf\u00e9"));

    // Enter on an empty box posts nothing.
    QCOMPARE(request(enter), QByteArray(1, '\1'));
    QCOMPARE(posted.size(), 1);
}

void TestHostWindow::characterMessagesType_data() {
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << QList<int>{'h', 'i'} << "hi";
    QTest::newRow("Windows-1252 characters")
        << QList<int>{0xe9, 0x80, 0xb2} << "\u00e9\u20ac\u00b2";
    QTest::newRow("backspace") << QList<int>{'a', 'b', 8} << "a";
    QTest::newRow("out of range ignored") << QList<int>{'a', 300, -1} << "a";
}

void TestHostWindow::characterMessagesType() {
    QFETCH(QList<int>, codes);
    QFETCH(QString, text);
    const Handle entry = entryOf(documents().at(1));
    for (const int code : codes) {
        QByteArray message(1, char(wire::SendChar));
        wire::putU64(message, entry);
        wire::putU32(message, quint32(code));
        request(message);
    }
    QCOMPARE(m_window->rooms().at(0)->entry()->text(), text);
}

void TestHostWindow::findWindowExRules() {
    const QList<Handle> docs = documents();
    QCOMPARE(m_tree->findWindow("aol frame25"), m_tree->findWindow("AOL Frame25"));
    QCOMPARE(find(area(), 0, QByteArray()), docs.at(0));
    // `after` that is no child of the parent finds nothing.
    QCOMPARE(find(area(), find(docs.at(1), 0, "RICHCNTL"), "AOL Child"), Handle(0));
    QCOMPARE(find(0xdead, 0, "AOL Child"), Handle(0));
    QCOMPARE(m_tree->findWindow("NoSuchClass"), Handle(0));
}

void TestHostWindow::closedWindowLeavesTheTree() {
    const QList<Handle> docs = documents();
    const Handle entry = entryOf(docs.at(1));
    auto *lobby = qobject_cast<QMdiSubWindow *>(m_tree->window(docs.at(1)));
    QVERIFY(lobby);
    delete lobby;
    QCOMPARE(documents(), (QList<Handle>{docs.at(0), docs.at(2)}));
    QCOMPARE(m_window->rooms().size(), 1);
    QCOMPARE(m_tree->window(entry), nullptr);

    QByteArray setText(1, char(wire::SetText));
    wire::putU64(setText, entry);
    QCOMPARE(request(setText + "x"), QByteArray(1, '\0'));
}

void TestHostWindow::malformedRequestsGetNoAnswer_data() {
    QTest::addColumn<QByteArray>("payload");
    const QByteArray zeros(16, '\0');
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("unknown opcode") << QByteArray(1, '\x55');
    QTest::newRow("FindWindowEx short") << QByteArray(1, char(wire::FindWindowEx)) + zeros.left(15);
    QTest::newRow("SetText without handle") << QByteArray(1, char(wire::SetText)) + zeros.left(7);
    QTest::newRow("SendChar too long") << QByteArray(1, char(wire::SendChar)) + zeros.left(13);
    QTest::newRow("WindowText too long") << QByteArray(1, char(wire::WindowText)) + zeros.left(9);
    QTest::newRow("Raise short") << QByteArray(1, char(wire::Raise)) + zeros.left(7);
    QTest::newRow("Type without handle") << QByteArray(1, char(wire::Type));
}

void TestHostWindow::malformedRequestsGetNoAnswer() {
    QFETCH(QByteArray, payload);
    QVERIFY(!m_handler->handle(payload).has_value());
}

int main(int argc, char **argv) {
    TestEnv env; // before the application reads the environment
    QApplication app(argc, argv);
    TestHostWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_hostwindow.moc"
