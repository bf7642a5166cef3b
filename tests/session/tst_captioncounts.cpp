// The number a count caption holds, as the idle clock reads it back.
#include "session/captioncounts.h"

#include <QTest>

class TestCaptionCounts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void number_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<qint64>("number");
        QTest::newRow("plain") << "58" << qint64(58);
        QTest::newRow("leading zeros") << "00" << qint64(0);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("text") << "abc" << qint64(0);
        QTest::newRow("leading blanks") << "  7" << qint64(7);
        QTest::newRow("number then text") << "12ab" << qint64(12);
        QTest::newRow("blanks inside") << "1 2" << qint64(12);
        QTest::newRow("design caption") << "Label4" << qint64(0);
    }
    void number() {
        QFETCH(QString, caption);
        QFETCH(qint64, number);
        QCOMPARE(session::captionNumber(caption), number);
    }
};

QTEST_APPLESS_MAIN(TestCaptionCounts)
#include "tst_captioncounts.moc"
