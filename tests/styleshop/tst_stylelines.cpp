// The catalogue and the shop's lines, byte for byte as the room receives them.
#include "catalogue.h"
#include "chatlink.h"
#include "recordingroom.h"
#include "settingsfile.h"
#include "shoplines.h"
#include "testenv.h"

#include <QFile>
#include <QTest>
#include <vector>

using settings::Field;

Q_DECLARE_METATYPE(settings::Field)

namespace {
QByteArray cp(const QString &text) {
    return hostlink::toWindows1252(text);
}

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The record as the first start leaves it.
settings::PlainRecord defaults() {
    settings::PlainRecord r;
    r.setCaption(Field::StyleName, hostlink::fromWindows1252("def\xE0\xF9lt"));
    r.setCaption(Field::FontColour, QStringLiteral("00000C"));
    r.setCaption(Field::AsciiColour, QStringLiteral("009900"));
    r.setCaption(Field::FrontAscii, hostlink::fromWindows1252("/\xAF\\"));
    r.setCaption(Field::MiddleAscii, QStringLiteral("-:-"));
    r.setCaption(Field::BackAscii, hostlink::fromWindows1252("/\xAF\\"));
    return r;
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
        QTest::newRow("style 1, the worked example")
            << 1 << QByteArray("-")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#008000>^v^v^v"
                          "<font color=#0099FF>  styl\xE9:<font color=#008000> <u>glimt\xE0r</u>"
                          "<font color=#0099FF> w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#008000>v^v^v^<font color=#FFFFFC>");
        QTest::newRow("style 2")
            << 2 << QByteArray(",")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#0C9F8A>*^-^v^-+"
                          "<font color=#c0c0c0>  styl\xE9:"
                          "<font color=#0C9F8A> <u>qu\xF8van\xE9</u>"
                          "<font color=#c0c0c0> w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#0C9F8A>+-v^v-^*");
        QTest::newRow("style 4") << 4 << QByteArray("\x9B")
                                 << QByteArray(
                                        "</b></i></u><font face=\"arial narrow\" color=#029384>"
                                        "<font face=\"Marlett\">ox<font face=\"Jokerman\">"
                                        "<font color=#0085ff>  styl\xE9:"
                                        "<font color=#029384> <u>tr\xE9"
                                        "bolk</u>"
                                        "<font color=#0085ff> w\xE2s n\xF8w l\xF8\xE0"
                                        "d\xEA"
                                        "d.  "
                                        "<font color=#029384><font face=\"Marlett\">ox");
        QTest::newRow("style 5")
            << 5 << QByteArray("\xBB")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#0099FF>-\x8B^\x9B-"
                          "<font color=#00000C>  styl\xE9: "
                          "<font color=#0099FF><u>brondel\xB9</u> "
                          "<font color=#00000C>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#0099FF>-\x8B^\x9B-");
        QTest::newRow("style 6")
            << 6 << QByteArray("\x9B\xB7\x8B")
            << QByteArray("</b></i></u>"
                          "<font face=\"arial narrow\" color=#abcdef>`\x96\xB7\xF8\x9B\xAD\x8B"
                          "<font color=#0587C3>  styl\xE9: <font color=#abcdef><u>wist\xF8rn</u> "
                          "<font color=#0587C3>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#abcdef>\x9B-\x8B\xF8\xB7\x96\xB4");
        QTest::newRow("style 7")
            << 7 << QByteArray(",")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#ff80c0>*-l-*"
                          "<font color=#8080ff>  styl\xE9: "
                          "<font color=#ff80c0><u>f\xE0lv\xE9</u> "
                          "<font color=#8080ff>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#ff80c0>*-l-*");
        QTest::newRow("style 8")
            << 8 << QByteArray("\x8B")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#987c65>"
                          "<font face=\"Wingdings\">\x91\x94<font face=\"arial narrow\">"
                          "<font color=#0000ff>  styl\xE9: "
                          "<font color=#987c65><u>n\xF8"
                          "bbik\xE9</u> "
                          "<font color=#0000ff>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#987c65><font face=\"Wingdings\">\x91\x94");
        QTest::newRow("style 9")
            << 9 << QByteArray("\xB7")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#0098FF>`\xF8\x9B"
                          "<font color=#CCCCCC>  styl\xE9: <font color=#0098FF><u>KeloVa</u> "
                          "<font color=#CCCCCC>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#0098FF>\x8B\xF8\xB4");
        QTest::newRow("style 10")
            << 10 << QByteArray("\x95")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#778899>^\x95."
                          "<font color=#000080>  styl\xE9:<font color=#778899> <u>lur\xF8</u>"
                          "<font color=#000080> w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#778899>.\x95^<font color=#FFFFFC>");
        QTest::newRow("style 11")
            << 11 << QByteArray("\xB7")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#0080ff>"
                          "<font face=\"arial black\">.:.<font face=\"arial narrow\">"
                          "<font color=#000098>  styl\xE9:<font color=#0080ff> <u>vex\xE0</u>"
                          "<font color=#000098> w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#0080ff><font face=\"arial black\">.:.<font color=#FFFFFC>");
        QTest::newRow("style 12")
            << 12 << QByteArray("\xAA")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#000000>\xF8\xBA"
                          "<font color=#ff0000>  styl\xE9:<font color=#000000> <u>tuq</u>"
                          "<font color=#ff0000> w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#000000>\xBA\xF8<font color=#FFFFFC>");
        QTest::newRow("style 13")
            << 13 << QByteArray("\xB7")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#ff80ff>"
                          "<font face=\"Webdings\">Y<font face=\"arial narrow\">"
                          "<font color=#0099FF>  styl\xE9:<font color=#ff80ff> <u>d\xF8lvin</u>"
                          "<font color=#0099FF> w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#ff80ff><font face=\"Webdings\">Y<font color=#FFFFFC>");
        QTest::newRow("style 14")
            << 14 << QByteArray(",")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#000099>"
                          "<font face=\"impact\">\xF7\xD7\x95\xD7\xF7<font face=\"arial narrow\">"
                          "<font color=#007500>  styl\xE9:<font color=#000099> <u>skarnet\xB9</u>"
                          "<font color=#007500> w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#000099><font face=\"impact\">\xF7\xD7\x95\xD7\xF7");
        QTest::newRow("style 15")
            << 15 << QByteArray(";")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#FFFFFG>"
                          "<font face=\"Arial Black\">-<font color=f0f0f0>-<font color=#ff1122>-"
                          "<font color=#ff0000>-<font color=#ce0000>---"
                          "<font face=\"arial narrow\"><font color=#008080>  styl\xE9:"
                          "<font color=#FFFFFG> <u>f\xE9nnok</u>"
                          "<font color=#008080> w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#FFFFFG><font face=\"Arial Black\"><font color=#ce0000>---"
                          "<font color=#ff0000>-<font color=#ff1122>-<font color=f0f0f0>--");
        QTest::newRow("style 16")
            << 16 << QByteArray("\x9B\x8B")
            << QByteArray("</b></i></u>"
                          "<font face=\"arial narrow\" color=#008000><B>\x8B</B>\x8B<I>\x8B</I>"
                          "<font color=#c0c0c0>  styl\xE9: <font color=#008000><u>br\xE0vilo</u> "
                          "<font color=#c0c0c0>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#008000><b>\x9B</b>\x9B<i>\x9B</i>");
        QTest::newRow("style 17")
            << 17 << QByteArray("\x95")
            << QByteArray("</b></i></u>"
                          "<font face=\"arial narrow\" color=#ff0000><i><b>(</b></i>\\"
                          "<font color=#666666>  styl\xE9: <font color=#ff0000><u>h\xF9mptar</u> "
                          "<font color=#666666>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#ff0000>/<i><b>)</b></i>");
        QTest::newRow("style 18")
            << 18 << QByteArray(",")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#c0c976>"
                          "<font face=\"Webdings\">\xEF\x85\xF0<font face=\"arial narrow\">"
                          "<font color=#aa0000>  styl\xE9: <font color=#c0c976><u>z\xE9phrin</u> "
                          "<font color=#aa0000>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#c0c976><font face=\"Webdings\">\xEF\x85\xF0");
        QTest::newRow("style 19")
            << 19 << QByteArray(")\xF7(")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#ff8000>\xF7("
                          "<font color=#ff80c0>  styl\xE9: <font color=#ff8000><u>t0ff</u> "
                          "<font color=#ff80c0>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#ff8000>)\xF7");
        QTest::newRow("style 20")
            << 20 << QByteArray("\xB7")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#0000a0>"
                          "<font face=\"Wingdings\">\xA5<font face=\"arial narrow\">"
                          "<font color=#000000>  styl\xE9: <font color=#0000a0><u>plenk</u> "
                          "<font color=#000000>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#0000a0><font face=\"Wingdings\">\xA5");
        QTest::newRow("style 21")
            << 21 << QByteArray(",")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#000000>"
                          "<font face=\"Bell MT\">\x9B<font color=#000000>  styl\xE9: "
                          "<font color=#000000><u>dr\xF8mp</u> "
                          "<font color=#000000>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#000000>");
        QTest::newRow("style 22")
            << 22 << QByteArray(",")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#c0968c>"
                          "<font face=\"japanese\">^Q<font face=\"arial narrow\">"
                          "<font color=#042156>  styl\xE9: <font color=#c0968c><u>pellux</u> "
                          "<font color=#042156>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#c0968c><font face=\"japanese\">Q^");
        QTest::newRow("style 23")
            << 23 << QByteArray("\x95")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#ff0000>"
                          "<font face=\"Symbol\">\xE5x\xDE<font face=\"arial narrow\">"
                          "<font color=#408080>  styl\xE9: "
                          "<font color=#ff0000><u>\xF8rm\xE0"
                          "din</u> "
                          "<font color=#408080>w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#ff0000><font face=\"Symbol\">\xDC\xC4\xC0");
        QTest::newRow("style 24")
            << 24 << QByteArray("-")
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#a0c0f0>zorvel suxz"
                          "<font color=#c0c9c8>  styl\xE9:<font color=#a0c0f0> <u>zorvel suxz</u>"
                          "<font color=#c0c9c8> w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#a0c0f0>zxus levroz");
        QTest::newRow("style 25")
            << 25 << QByteArray("\xB7\xB7\xB7")
            << QByteArray("</b></i></u>"
                          "<font face=\"arial narrow\" color=#0c9cf4>\xA8\x91\xB4\xBA\xB7o"
                          "<font color=#234ccc>  styl\xE9:<font color=#0c9cf4> <u>n\xF9v\xE9</u>"
                          "<font color=#234ccc> w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#0c9cf4>o\xB7\xBA`\x91\xA8");
        QTest::newRow("style 26")
            << 26 << QByteArray("\xB7\xB7\xB7")
            << QByteArray("</b></i></u>"
                          "<font face=\"arial narrow\" color=#7463ca><i>\x9B</i>\x9B\xBB"
                          "<font color=#748302>  styl\xE9:"
                          "<font color=#7463ca> <u>gr\xE9vint\xF8lk</u>"
                          "<font color=#748302> w\xE2s n\xF8w l\xF8\xE0"
                          "d\xEA"
                          "d.  "
                          "<font color=#7463ca>\xAB\x8B<i>\x8B</i>");
    }

    // Applying a style sets the record, stores it and posts its line.
    void styleAnnouncements() {
        QFETCH(int, number);
        QFETCH(QByteArray, middle);
        QFETCH(QByteArray, line);
        RecordingRoom room;
        settings::PlainRecord record = defaults();
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
            QCOMPARE(cp(settings::GetFromINI(settings::kSection, key.key, file)),
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
        QTest::newRow("load, defaults (worked example)")
            << true << 0
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#009900>/\xAF\\"
                          "<font color=#00000C> zorvel <font color=#009900>styl\xE8 sh\xF8p"
                          "<font color=#00000C> -:- l\xF8\xE2"
                          "d\xEA"
                          "d "
                          "<font color=#009900>/\xAF\\<font color=#FFFFFC>");
        QTest::newRow("unload, defaults")
            << false << 0
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#009900>/\xAF\\"
                          "<font color=#00000C> zorvel <font color=#009900>styl\xE8 sh\xF8p"
                          "<font color=#00000C> -:- \xF9\xF1l\xF8\xE2"
                          "d\xEA"
                          "d "
                          "<font color=#009900>/\xAF\\<font color=#FFFFFC>");
        QTest::newRow("unload, style 21 (empty back ascii)")
            << false << 21
            << QByteArray("</b></i></u><font face=\"arial narrow\" color=#000000>"
                          "<font face=\"Bell MT\">\x9B<font color=#000000> zorvel "
                          "<font color=#000000>styl\xE8 sh\xF8p<font color=#000000> , "
                          "\xF9\xF1l\xF8\xE2"
                          "d\xEA"
                          "d <font color=#000000><font color=#FFFFFC>");
    }
    void shopLines() {
        QFETCH(bool, load);
        QFETCH(int, style);
        QFETCH(QByteArray, line);
        RecordingRoom room;
        settings::PlainRecord record = defaults();
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
