// The catalogue and the shop's lines, byte for byte as the room receives them.
#include "hostlink/chatlink.h"
#include "settings/settingsfile.h"
#include "styleshop/catalogue.h"
#include "styleshop/shoplines.h"
#include "tests/defaultstyle.h"
#include "tests/recordingroom.h"
#include "tests/styleshop/expectedlines.h"
#include "tests/testenv.h"

#include <QFile>
#include <QTest>
#include <vector>

using settings::Field;

Q_DECLARE_METATYPE(settings::Field)

namespace {
QByteArray cp(const QString &text) { return hostlink::toWindows1252(text); }

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A record that notes every caption it sets and reads.
class LoggingRecord final : public settings::SettingsRecord {
public:
    QString caption(Field field) const override {
        m_log.push_back("get " + QByteArray::number(int(field)));
        return m_record.caption(field);
    }
    void setCaption(Field field, const QString &text) override {
        m_log.push_back("set " + QByteArray::number(int(field)));
        m_record.setCaption(field, text);
    }
    const std::vector<QByteArray> &log() const { return m_log; }

private:
    settings::PlainRecord m_record;
    mutable std::vector<QByteArray> m_log;
};

QByteArray entry(const char *what, Field field) {
    return QByteArray(what) + ' ' + QByteArray::number(int(field));
}
} // namespace

class TestStyleLines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnv>();
        settings::ensureSettingsFolder();
    }
    void cleanup() { m_env.reset(); }

    void catalogueHasTheTwentyFiveNumbers() {
        QList<int> numbers;
        for (const styleshop::Style &style : styleshop::catalogue())
            numbers.append(style.number);
        const QList<int> expected{1,  2,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                  15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26};
        QCOMPARE(numbers, expected);
        QVERIFY(styleshop::styleNumbered(3) == nullptr);
        QVERIFY(styleshop::styleNumbered(27) == nullptr);
    }

    void styleAnnouncements_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("middle");
        QTest::addColumn<QByteArray>("line");
        for (const ExpectedStyle &style : kExpectedStyles)
            QTest::addRow("style %d", style.number)
                << style.number << QByteArray(style.middle) << QByteArray(style.line);
    }

    // Applying a style sets the record, stores it and posts its line.
    void styleAnnouncements() {
        QFETCH(int, number);
        QFETCH(QByteArray, middle);
        QFETCH(QByteArray, line);
        RecordingRoom room;
        settings::PlainRecord record = firstStartRecord();
        const styleshop::Style *style = styleshop::styleNumbered(number);
        QVERIFY(style);

        styleshop::applyStyle(*style, record);

        QCOMPARE(room.lines, QByteArrayList{line});
        QCOMPARE(cp(styleshop::styleLine(*style, record)), line);
        QCOMPARE(cp(record.caption(Field::MiddleAscii)), middle);
        // The line holds the other five values; the file gives back all six.
        const QString file = settings::settingsPath();
        const struct {
            const char *key;
            Field field;
        } keys[] = {{"preset", Field::StyleName},    {"pfcolor", Field::FontColour},
                    {"pacolor", Field::AsciiColour}, {"pmascii", Field::MiddleAscii},
                    {"pfascii", Field::FrontAscii},  {"pbascii", Field::BackAscii}};
        for (const auto &key : keys)
            QCOMPARE(cp(settings::getFromIni(settings::kSection, QLatin1String(key.key), file)),
                     cp(record.caption(key.field)));
    }

    void styleSixFrontHasSevenCharacters() {
        const styleshop::Style *style = styleshop::styleNumbered(6);
        QVERIFY(style);
        QCOMPARE(style->front.size(), 7);
        QCOMPARE(style->front.at(5).unicode(), char16_t(0x00AD));
    }

    // Captions first, in their order; then each key written from its caption.
    void applyOrder() {
        RecordingRoom room;
        LoggingRecord record;
        styleshop::applyStyle(*styleshop::styleNumbered(1), record);
        const std::vector<QByteArray> expected{
            entry("set", Field::StyleName),   entry("set", Field::MiddleAscii),
            entry("set", Field::BackAscii),   entry("set", Field::FrontAscii),
            entry("set", Field::FontColour),  entry("set", Field::AsciiColour),
            entry("get", Field::StyleName),   entry("get", Field::FontColour),
            entry("get", Field::AsciiColour), entry("get", Field::MiddleAscii),
            entry("get", Field::FrontAscii),  entry("get", Field::BackAscii),
        };
        QVERIFY(record.log().size() > expected.size());
        const std::vector<QByteArray> head(record.log().begin(),
                                           record.log().begin() + qsizetype(expected.size()));
        QCOMPARE(head, expected);
        QCOMPARE(room.lines.size(), 1);
    }

    // Style 9 in the file, byte for byte; keys that were missing are appended
    // in the order they are written.
    void styleNineInTheFile_data() {
        QTest::addColumn<bool>("fileBefore");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("no file") << false << QByteArray()
                                 << QByteArray("[zorvel]\r\nPRESET=KeloVa\r\nPFCOLOR=CCCCCC\r\n"
                                               "PACOLOR=0098FF\r\nPMASCII=\xB7\r\n"
                                               "PFASCII=`\xF8\x9B\r\nPBASCII=\x8B\xF8\xB4\r\n");
        QTest::newRow("first-start file")
            << true
            << QByteArray("[zorvel]\r\nPRESET=def\xE0\xF9lt\r\nPFCOLOR=00000C\r\nPACOLOR=009900\r\n"
                          "PMASCII=-:-\r\nPFASCII=/\xAF\\\r\nPBASCII=/\xAF\\\r\nHANDLE=frobble\r\n")
            << QByteArray("[zorvel]\r\nPRESET=KeloVa\r\nPFCOLOR=CCCCCC\r\nPACOLOR=0098FF\r\n"
                          "PMASCII=\xB7\r\nPFASCII=`\xF8\x9B\r\nPBASCII=\x8B\xF8\xB4\r\n"
                          "HANDLE=frobble\r\n");
    }
    void styleNineInTheFile() {
        QFETCH(bool, fileBefore);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        RecordingRoom room;
        if (fileBefore)
            writeFile(settings::settingsPath(), before);
        settings::PlainRecord record;
        styleshop::applyStyle(*styleshop::styleNumbered(9), record);
        QCOMPARE(fileBytes(settings::settingsPath()), after);
    }

    // The shop's own lines.
    void shopLines_data() {
        QTest::addColumn<bool>("load");
        QTest::addColumn<int>("style"); // 0: the first-start defaults
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("load, defaults") << true << 0 << QByteArray(kLoadLineDefaults);
        QTest::newRow("unload, defaults") << false << 0 << QByteArray(kUnloadLineDefaults);
        QTest::newRow("unload, style 21") << false << 21 << QByteArray(kUnloadLineStyle21);
    }
    void shopLines() {
        QFETCH(bool, load);
        QFETCH(int, style);
        QFETCH(QByteArray, line);
        RecordingRoom room;
        settings::PlainRecord record = firstStartRecord();
        if (style != 0)
            styleshop::applyStyle(*styleshop::styleNumbered(style), record);
        const QString text = load ? styleshop::loadLine(record) : styleshop::unloadLine(record);
        QCOMPARE(cp(text), line);
    }

    // Nothing inside runs other events: no timer tick sees half a style.
    void applyingRunsNoEvents() {
        RecordingRoom room;
        settings::PlainRecord record;
        bool ran = false;
        QMetaObject::invokeMethod(
            this, [&ran] { ran = true; }, Qt::QueuedConnection);
        for (const styleshop::Style &style : styleshop::catalogue())
            styleshop::applyStyle(style, record);
        QVERIFY(!ran);
        QCOMPARE(room.lines.size(), 25);
        QCoreApplication::processEvents();
        QVERIFY(ran);
    }

private:
    std::unique_ptr<TestEnv> m_env;
};

QTEST_GUILESS_MAIN(TestStyleLines)
#include "tst_stylelines.moc"
