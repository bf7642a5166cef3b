// The main window's six lines, byte for byte in Windows-1252.
#include "app/programlines.h"
#include "control/idlelines.h"
#include "hostlink/chatlink.h"
#include "hostlink/frame.h"
#include "tests/defaultstyle.h"

#include <QRegularExpression>
#include <QTest>

using settings::Field;

namespace {
QByteArray cp(const QString &s) { return hostlink::toWindows1252(s); }

const QString kL = QString::fromLatin1(app::kDownloadPage);
} // namespace

class TestProgramLines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void accentedWordsAreSingleBytes() {
        // "løàdéd" and "/¯\" as the room receives them.
        QCOMPARE(cp(QStringLiteral("løàdéd")), QByteArray("\x6c\xf8\xe0\x64\xe9\x64"));
        QCOMPARE(cp(QStringLiteral("/¯\\")), QByteArray("/\xaf\\"));
    }

    void lines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        const settings::PlainRecord d = firstStartRecord();

        QTest::newRow("load line 1")
            << app::loadLine(d)
            << QStringLiteral("</i></u></b><font face=\"arial narrow\" color=#009900>/¯\\<font "
                              "color=#00000C>  zorvel  -:-<font color=#009900> brondel <font "
                              "color=#00000C>-:- <u>løàdéd</u> <font color=#009900>-:- <font "
                              "color=#00000C>quibbet <font color=#009900> /¯\\<font "
                              "color=#FFFFFC>");
        QTest::newRow("load line 2")
            << app::loadIdentityLine(d, QStringLiteral("frobble"), QStringLiteral("defàùlt"))
            << QStringLiteral("</i></u></b><font face=\"arial narrow\" color=#009900>/¯\\<font "
                              "color=#00000C>  id: <font color=#009900><u>frobble</u><font "
                              "color=#00000C> -:- stylè: <font color=#009900><u>defàùlt</u> "
                              "<font color=#00000C>-:- <a href=") +
                   kL + QStringLiteral(">dl hérè</a> <font color=#009900>/¯\\<font color=#ffFfFc>");
        QTest::newRow("idle line")
            << control::idleLine(d, QStringLiteral("frobble"), QStringLiteral("0"),
                                 QStringLiteral("1"))
            << QStringLiteral("</b></u></i><font face=\"arial narrow\" color=#009900>/¯\\<font "
                              "color=#00000C>  zorvel  -:-<font color=#009900> frobble is idlè "
                              "<font color=#00000C>-:-<font color=#00000C> timé: <font "
                              "color=#009900>0:1 <font color=#009900> /¯\\<font color=#FFFFFC>");
        QTest::newRow("message line")
            << control::reasonLine(d, QStringLiteral("brb"))
            << QStringLiteral("</b></u></i><font face=\"arial narrow\" color=#009900>/¯\\<font "
                              "color=#00000C> msg: <font color=#009900>brb -:- <font "
                              "color=#00000C> stylé: <font color=#009900>defàùlt<font "
                              "color=#00000C> .. <font color=#009900>/¯\\<font color=#FFFFFC>");
        QTest::newRow("message line, empty reason")
            << control::reasonLine(d, QString())
            << QStringLiteral("</b></u></i><font face=\"arial narrow\" color=#009900>/¯\\<font "
                              "color=#00000C> msg: <font color=#009900> -:- <font "
                              "color=#00000C> stylé: <font color=#009900>defàùlt<font "
                              "color=#00000C> .. <font color=#009900>/¯\\<font color=#FFFFFC>");
        QTest::newRow("idle line, empty handle")
            << control::idleLine(d, QString(), QStringLiteral("1"), QStringLiteral("0"))
            << QStringLiteral("</b></u></i><font face=\"arial narrow\" color=#009900>/¯\\<font "
                              "color=#00000C>  zorvel  -:-<font color=#009900>  is idlè "
                              "<font color=#00000C>-:-<font color=#00000C> timé: <font "
                              "color=#009900>1:0 <font color=#009900> /¯\\<font color=#FFFFFC>");
        QTest::newRow("unload line")
            << app::unloadLine(d)
            << QStringLiteral("</b></i></u><font face=\"arial narrow\" color=#009900>/¯\\<font "
                              "color=#00000C>  zorvel -:- <font color=#009900>brondel<font "
                              "color=#00000C> -:- <u>ùñløàdéd</u> <font color=#009900>-:- <font "
                              "color=#00000C>quibbet  <font color=#009900>/¯\\<font "
                              "color=#FFFFFC>");
        QTest::newRow("identity line")
            << app::unloadIdentityLine(d, QStringLiteral("frobble"), QStringLiteral("defàùlt"))
            << QStringLiteral("</b></i></u><font face=\"arial narrow\" color=#009900>/¯\\<font "
                              "color=#00000C>  id: <font color=#009900><u>frobble</u><font "
                              "color=#00000C> -:- stylè:<font color=#009900> <u>defàùlt</u> "
                              "<font color=#00000C>-:- <a href=") +
                   kL + QStringLiteral(">dl hérè</a> <font color=#009900>/¯\\<font color=#FFFFFC>");

        // Markup in the handle and the asciis goes in as it is.
        settings::PlainRecord marked = d;
        marked.setCaption(Field::FrontAscii, QStringLiteral("<b>«</b>"));
        marked.setCaption(Field::MiddleAscii, QStringLiteral("<i>·</i>"));
        marked.setCaption(Field::BackAscii, QStringLiteral("<u>»</u>"));
        QTest::newRow("idle line with markup")
            << control::idleLine(marked, QStringLiteral("<b>me</b>"), QStringLiteral("2"),
                                 QStringLiteral("30"))
            << QStringLiteral("</b></u></i><font face=\"arial narrow\" color=#009900><b>«</b><font "
                              "color=#00000C>  zorvel  <i>·</i><font color=#009900> <b>me</b> is "
                              "idlè <font color=#00000C><i>·</i><font color=#00000C> timé: <font "
                              "color=#009900>2:30 <font color=#009900> <u>»</u><font "
                              "color=#FFFFFC>");
        QTest::newRow("message line with markup")
            << control::reasonLine(marked, QStringLiteral("<a href=x>back</a>"))
            << QStringLiteral("</b></u></i><font face=\"arial narrow\" color=#009900><b>«</b><font "
                              "color=#00000C> msg: <font color=#009900><a href=x>back</a> "
                              "<i>·</i> <font color=#00000C> stylé: <font "
                              "color=#009900>defàùlt<font color=#00000C> .. <font "
                              "color=#009900><u>»</u><font color=#FFFFFC>");
    }
    void lines() {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(cp(line), cp(expected));
    }

    // With every setting empty, every line still carries the whole frame and
    // every colour tag is empty between its "#" and its ">".
    void emptySettingsKeepTheFrame() {
        const settings::PlainRecord empty;
        const QStringList lines = {
            app::loadLine(empty),
            app::loadIdentityLine(empty, {}, {}),
            control::idleLine(empty, {}, QStringLiteral("0"), QStringLiteral("1")),
            control::reasonLine(empty, {}),
            app::unloadLine(empty),
            app::unloadIdentityLine(empty, {}, {}),
        };
        const QRegularExpression colour(QStringLiteral("color=#([^>]*)>"));
        for (const QString &line : lines) {
            QVERIFY2(line.startsWith(QStringLiteral("</")), qPrintable(line));
            QVERIFY2(
                line.contains(QStringLiteral("<font face=\"arial narrow\" color=#><font color=#>")),
                qPrintable(line));
            int tags = 0;
            for (const auto &m : colour.globalMatch(line)) {
                ++tags;
                const QString value = m.captured(1);
                QVERIFY2(value.isEmpty() ||
                             value.compare(QStringLiteral("FFFFFC"), Qt::CaseInsensitive) == 0,
                         qPrintable(line));
            }
            QVERIFY(tags >= 6);
            QVERIFY2(line.endsWith(QStringLiteral("FFFFFC>"), Qt::CaseInsensitive),
                     qPrintable(line));
        }
    }
};

QTEST_APPLESS_MAIN(TestProgramLines)
#include "tst_programlines.moc"
