#include "chathost/requestparser.h"
#include "tests/testenv.h"

#include <QtTest>

using chathost::FrameSplit;
using chathost::Request;

// Payloads and frames written in hex, a space between fields, so each row shows the wire.
class TestRequestParser : public QObject {
    Q_OBJECT

private slots:
    void wellFormed_data();
    void wellFormed();
    void malformed_data();
    void malformed();
    void frames_data();
    void frames();

private:
    TestEnv m_env;
};

void TestRequestParser::wellFormed_data() {
    QTest::addColumn<QByteArray>("payloadHex");
    QTest::addColumn<int>("op");
    QTest::addColumn<quint64>("window");
    QTest::addColumn<quint64>("after");
    QTest::addColumn<quint32>("code");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("FindWindow with a class") << QByteArray("01414f4c") << 0x01 << quint64(0)
                                             << quint64(0) << quint32(0) << QByteArray("AOL");
    QTest::newRow("FindWindow, empty class matches any")
        << QByteArray("01") << 0x01 << quint64(0) << quint64(0) << quint32(0) << QByteArray();
    QTest::newRow("FindWindowEx, parent, after, class")
        << QByteArray("02 0000000000000102 0000000000000003 4d4449") << 0x02 << quint64(0x102)
        << quint64(3) << quint32(0) << QByteArray("MDI");
    QTest::newRow("SetText keeps bytes above 127")
        << QByteArray("03 0000000000000007 e9ff") << 0x03 << quint64(7) << quint64(0) << quint32(0)
        << QByteArray("\xe9\xff");
    QTest::newRow("SendChar Enter") << QByteArray("04 0000000000000007 0000000d") << 0x04
                                    << quint64(7) << quint64(0) << quint32(13) << QByteArray();
    QTest::newRow("Hello") << QByteArray("10") << 0x10 << quint64(0) << quint64(0) << quint32(0)
                           << QByteArray();
    QTest::newRow("WindowText, a full 64-bit handle")
        << QByteArray("11 ffeeddccbbaa9988") << 0x11 << quint64(0xffeeddccbbaa9988) << quint64(0)
        << quint32(0) << QByteArray();
    QTest::newRow("Raise") << QByteArray("12 0000000000000005") << 0x12 << quint64(5) << quint64(0)
                           << quint32(0) << QByteArray();
    QTest::newRow("Type, empty text") << QByteArray("13 0000000000000009") << 0x13 << quint64(9)
                                      << quint64(0) << quint32(0) << QByteArray();
    QTest::newRow("SetAway, text only") << QByteArray("14 676f6e65") << 0x14 << quint64(0)
                                        << quint64(0) << quint32(0) << QByteArray("gone");
    QTest::newRow("SetAway, empty: back")
        << QByteArray("14") << 0x14 << quint64(0) << quint64(0) << quint32(0) << QByteArray();
}

void TestRequestParser::wellFormed() {
    QFETCH(QByteArray, payloadHex);
    QFETCH(int, op);
    QFETCH(quint64, window);
    QFETCH(quint64, after);
    QFETCH(quint32, code);
    QFETCH(QByteArray, text);

    const std::optional<Request> request = chathost::parseRequest(QByteArray::fromHex(payloadHex));
    QVERIFY(request);
    QCOMPARE(int(request->op), op);
    QCOMPARE(request->window, window);
    QCOMPARE(request->after, after);
    QCOMPARE(request->code, code);
    QCOMPARE(request->text, text);
}

void TestRequestParser::malformed_data() {
    QTest::addColumn<QByteArray>("payloadHex");

    QTest::newRow("empty payload") << QByteArray("");
    QTest::newRow("unknown opcode") << QByteArray("7f");
    QTest::newRow("opcode 0") << QByteArray("00");
    QTest::newRow("FindWindowEx one byte short")
        << QByteArray("02 0000000000000001 00000000000000");
    QTest::newRow("SetText without a whole handle") << QByteArray("03 00000000000007");
    QTest::newRow("SendChar with a short code") << QByteArray("04 0000000000000007 000d");
    QTest::newRow("SendChar with a byte too many") << QByteArray("04 0000000000000007 0000000d 00");
    QTest::newRow("Hello with an argument") << QByteArray("10 00");
    QTest::newRow("WindowText with text after the handle") << QByteArray("11 0000000000000005 41");
    QTest::newRow("Raise without a handle") << QByteArray("12");
    QTest::newRow("Type without a whole handle") << QByteArray("13 000000");
}

void TestRequestParser::malformed() {
    QFETCH(QByteArray, payloadHex);
    QVERIFY(!chathost::parseRequest(QByteArray::fromHex(payloadHex)));
}

void TestRequestParser::frames_data() {
    QTest::addColumn<QByteArray>("bytesHex");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("payloadHex");
    QTest::addColumn<int>("used");

    QTest::newRow("nothing yet") << QByteArray("") << int(FrameSplit::Incomplete) << QByteArray()
                                 << 0;
    QTest::newRow("part of the length")
        << QByteArray("000000") << int(FrameSplit::Incomplete) << QByteArray() << 0;
    QTest::newRow("part of the payload")
        << QByteArray("00000002 01") << int(FrameSplit::Incomplete) << QByteArray() << 0;
    QTest::newRow("one frame") << QByteArray("00000001 10") << int(FrameSplit::Complete)
                               << QByteArray("10") << 5;
    QTest::newRow("the first of two frames")
        << QByteArray("00000002 0141 00000001 10") << int(FrameSplit::Complete)
        << QByteArray("0141") << 6;
    QTest::newRow("length 0") << QByteArray("00000000") << int(FrameSplit::Invalid) << QByteArray()
                              << 0;
    QTest::newRow("length 65537") << QByteArray("00010001 01") << int(FrameSplit::Invalid)
                                  << QByteArray() << 0;
    QTest::newRow("length 65536 waits for its bytes")
        << QByteArray("00010000 01") << int(FrameSplit::Incomplete) << QByteArray() << 0;
}

void TestRequestParser::frames() {
    QFETCH(QByteArray, bytesHex);
    QFETCH(int, status);
    QFETCH(QByteArray, payloadHex);
    QFETCH(int, used);

    const QByteArray bytes = QByteArray::fromHex(bytesHex);
    const FrameSplit split = chathost::splitFrame(bytes);
    QCOMPARE(int(split.status), status);
    QCOMPARE(split.payload.toByteArray(), QByteArray::fromHex(payloadHex));
    QCOMPARE(int(split.used), used);
}

QTEST_GUILESS_MAIN(TestRequestParser)
#include "tst_requestparser.moc"
