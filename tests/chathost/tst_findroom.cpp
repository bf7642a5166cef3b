#include "hostlink/chatlink.h"
#include "tests/fakewindowsystem.h"
#include "tests/testenv.h"

#include <QtTest>

using Handle = FakeWindowSystem::Handle;
using Classes = QList<QByteArray>;

namespace {

const Classes kRoom = {"_AOL_Static", "RICHCNTL", "_AOL_Listbox", "RICHCNTL", "_AOL_Icon"};

// kRoom without the given class.
Classes without(const QByteArray &className) {
    Classes classes = kRoom;
    classes.removeAll(className);
    return classes;
}

} // namespace

class TestFindRoom : public QObject {
    Q_OBJECT

private slots:
    void init() { hostlink::setWindowSystem(&m_fake); }
    void cleanup() {
        hostlink::setWindowSystem(nullptr);
        m_fake = FakeWindowSystem();
    }

    void findRoom_data();
    void findRoom();
    void chatSendTypesIntoTheSecondRichTextOfTheFrontRoom();
    void bringingAnotherRoomToTheFrontMovesTheNextLine();
    void roomWithoutSecondRichTextPostsNothing();
    void noRoomPostsNothing();

private:
    TestEnv m_env;
    FakeWindowSystem m_fake;
};

void TestFindRoom::findRoom_data() {
    QTest::addColumn<bool>("withFrame");
    QTest::addColumn<bool>("withArea");
    QTest::addColumn<QList<Classes>>("documents"); // front to back
    QTest::addColumn<int>("expected");             // index into documents, -1: none

    QTest::newRow("one room") << true << true << QList<Classes>{kRoom} << 0;
    QTest::newRow("two rooms: the front one") << true << true << QList<Classes>{kRoom, kRoom} << 0;
    QTest::newRow("front lacks a rich text: the next")
        << true << true << QList<Classes>{without("RICHCNTL"), kRoom} << 1;
    QTest::newRow("front lacks a list box: the next")
        << true << true << QList<Classes>{without("_AOL_Listbox"), kRoom} << 1;
    QTest::newRow("front lacks an icon: the next")
        << true << true << QList<Classes>{without("_AOL_Icon"), kRoom} << 1;
    QTest::newRow("front lacks a static: the next")
        << true << true << QList<Classes>{without("_AOL_Static"), kRoom} << 1;
    QTest::newRow("two that are no room, then a room")
        << true << true << QList<Classes>{Classes{}, without("_AOL_Icon"), kRoom} << 2;
    QTest::newRow("one rich text is enough to count")
        << true << true
        << QList<Classes>{Classes{"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"}} << 0;
    QTest::newRow("no document is a room")
        << true << true << QList<Classes>{without("_AOL_Listbox"), without("_AOL_Static")} << -1;
    QTest::newRow("no documents") << true << true << QList<Classes>{} << -1;
    QTest::newRow("no main window") << false << false << QList<Classes>{kRoom} << -1;
    QTest::newRow("no document area") << true << false << QList<Classes>{kRoom} << -1;
}

void TestFindRoom::findRoom() {
    QFETCH(bool, withFrame);
    QFETCH(bool, withArea);
    QFETCH(QList<Classes>, documents);
    QFETCH(int, expected);

    // Without the main window or the area, the documents hang under a window of
    // another class, where findRoom must not look.
    const Handle frame = m_fake.add(0, withFrame ? "AOL Frame25" : "Other Frame");
    const Handle area = m_fake.add(frame, withArea ? "MDIClient" : "OtherClient");
    QList<Handle> handles;
    for (const Classes &classes : documents)
        handles.append(m_fake.addDocument(area, classes));

    QCOMPARE(hostlink::findRoom(), expected < 0 ? Handle(0) : handles.at(expected));
}

void TestFindRoom::chatSendTypesIntoTheSecondRichTextOfTheFrontRoom() {
    const Handle area = m_fake.add(m_fake.add(0, "AOL Frame25"), "MDIClient");
    m_fake.addDocument(area, {"_AOL_Static", "RICHCNTL", "_AOL_Icon"}); // a welcome window
    const Handle room = m_fake.addDocument(area, kRoom);
    m_fake.addDocument(area, kRoom);
    const Handle transcript = m_fake.findWindowEx(room, 0, "RICHCNTL");
    const Handle entry = m_fake.findWindowEx(room, transcript, "RICHCNTL");

    hostlink::chatSend(QStringLiteral("caf\u00e9 \u00b2\u00b9\u00af\u00b7 \u20ac"),
                       hostlink::LineKind::Load);

    const QByteArray expected("caf\xe9 \xb2\xb9\xaf\xb7 \x80");
    QCOMPARE(m_fake.posts().size(), 1);
    QCOMPARE(m_fake.posts().at(0).window, entry);
    QCOMPARE(m_fake.posts().at(0).text, expected);
    QVERIFY(m_fake.text(transcript).isEmpty());
    QCOMPARE(m_fake.exchanges(), 1);
}

void TestFindRoom::bringingAnotherRoomToTheFrontMovesTheNextLine() {
    const Handle area = m_fake.add(m_fake.add(0, "AOL Frame25"), "MDIClient");
    const Handle first = m_fake.addDocument(area, kRoom);
    const Handle second = m_fake.addDocument(area, kRoom);

    hostlink::chatSend(QStringLiteral("one"), hostlink::LineKind::Load);
    m_fake.bringToFront(second);
    hostlink::chatSend(QStringLiteral("two"), hostlink::LineKind::Load);

    QCOMPARE(m_fake.posts().size(), 2);
    QCOMPARE(m_fake.windowParent(m_fake.posts().at(0).window), first);
    QCOMPARE(m_fake.windowParent(m_fake.posts().at(1).window), second);
}

void TestFindRoom::roomWithoutSecondRichTextPostsNothing() {
    const Handle area = m_fake.add(m_fake.add(0, "AOL Frame25"), "MDIClient");
    const Handle room = m_fake.addDocument(area, without("RICHCNTL") << "RICHCNTL");
    QCOMPARE(hostlink::findRoom(), room);

    hostlink::chatSend(QStringLiteral("lost"), hostlink::LineKind::Load);

    QVERIFY(m_fake.posts().isEmpty());
    for (const FakeWindowSystem::Message &message : m_fake.messages())
        QCOMPARE(message.window, Handle(0));
}

void TestFindRoom::noRoomPostsNothing() {
    m_fake.addDocument(m_fake.add(m_fake.add(0, "AOL Frame25"), "MDIClient"), without("_AOL_Icon"));

    hostlink::chatSend(QStringLiteral("lost"), hostlink::LineKind::Load);

    QVERIFY(m_fake.posts().isEmpty());
    for (const FakeWindowSystem::Message &message : m_fake.messages())
        QCOMPARE(message.window, Handle(0));
}

QTEST_GUILESS_MAIN(TestFindRoom)
#include "tst_findroom.moc"
