// The two directions of IRC formatting: a room's HTML line as the bytes of an
// IRC message (zorvel's own lines among them), and an IRC message's text as
// the HTML a room shows; and the splitting of a long message at the 512-byte
// edge of a line.
#include "app/programlines.h"
#include "control/idlelines.h"
#include "irc/irccolours.h"
#include "irc/ircformatter.h"
#include "irc/ircrenderer.h"
#include "irc/linesplitter.h"
#include "menus/menulines.h"
#include "tests/irc/expectedirc.h"

#include <QTest>
#include <QTextDocument>

using settings::Field;

namespace {

// What the room shows of a line: its plain text as Qt reads the HTML.
QString shown(const QString &html) {
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText().replace(QChar::Nbsp, QLatin1Char(' '));
}

QByteArray u8(const char *text) { return QByteArray(text); }

} // namespace

class TestIrcFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void zorvelLines_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QByteArray>("irc");
        const settings::PlainRecord d = firstStartRecord();
        // Green ascii (#009900, nearest 03), near-black font colour
        // (#00000C, sent as the default), underlines, and a link.
        QTest::newRow("start-up line 1") << app::loadLine(d) << kLoadLine1Irc;
        QTest::newRow("start-up line 2")
            << app::loadIdentityLine(d, QStringLiteral("frobble"), QStringLiteral("defàùlt"))
            << kLoadLine2Irc;
        QTest::newRow("idle tick") << control::idleLine(d, QStringLiteral("frobble"),
                                                        QStringLiteral("1"), QStringLiteral("05"))
                                   // The colour code keeps two digits: "1:05" stays text.
                                   << u8("\x03"
                                         "03/\xc2\xaf\\\x03 zorvel -:-\x03"
                                         "03 frobble is idl\xc3\xa8 \x03-:- "
                                         "tim\xc3\xa9: \x03"
                                         "031:05 /\xc2\xaf\\");
        QTest::newRow("statistics, loads")
            << menus::statsLoadsLine(d, QStringLiteral("frobble"), QStringLiteral("3"))
            << u8("\x03"
                  "03/\xc2\xaf\\\x03 zorvel st\xc3\xa0ts -:- id: \x03"
                  "03frobble -:- \x03"
                  "l\xc3\xb8\xc3\xa0"
                  "ds: \x03"
                  "033\x03..\x03"
                  "03 /\xc2\xaf\\");
        settings::PlainRecord styled = d;
        // A style whose asciis carry markup of their own.
        styled.setCaption(Field::FrontAscii, QStringLiteral("<b>*</b>"));
        styled.setCaption(Field::AsciiColour, QStringLiteral("FF0000"));
        styled.setCaption(Field::FontColour, QStringLiteral("0000FF"));
        QTest::newRow("style with markup in its ascii") << menus::statsStyleLine(styled)
                                                        << u8("\x02\x03"
                                                              "04*\x02\x03"
                                                              "12 styl\xc3\xa9:\x03"
                                                              "04 def\xc3\xa0\xc3\xb9lt -:- \x03"
                                                              "12styl\xc3\xa9s: \x03"
                                                              "0425\x03"
                                                              "12..\x03"
                                                              "04 /\xc2\xaf\\");
    }
    void zorvelLines() {
        QFETCH(QString, html);
        QFETCH(QByteArray, irc);
        const QByteArray out = irc::htmlToIrc(html);
        QCOMPARE(out, irc);
        // Whatever the codes, the words are those the room shows, a link's
        // address added.
        QString words = shown(html);
        words.replace(QStringLiteral("dl hérè"),
                      QStringLiteral("dl hérè (%1)").arg(QLatin1String(app::kDownloadPage)));
        QCOMPARE(irc::stripFormatting(QString::fromUtf8(out)), words);
    }

    void markup_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QByteArray>("irc");
        QTest::newRow("no markup") << QStringLiteral("just words") << false << u8("just words");
        QTest::newRow("entities") << QStringLiteral(
                                         "a &lt;b&gt; &amp; &quot;c&quot; &eacute;&#8364;&nbsp;x")
                                  << false << u8("a <b> & \"c\" \xc3\xa9\xe2\x82\xac x");
        QTest::newRow("bold toggled once") << QStringLiteral("<b>a<i>b</i></b>c") << false
                                           << u8("\x02"
                                                 "a\x1d"
                                                 "b\x02\x1d"
                                                 "c");
        QTest::newRow("same colour twice, one code")
            << QStringLiteral("<font color=#ff0000>a</font><font color=#fe0101>b</font>") << false
            << u8("\x03"
                  "04ab");
        QTest::newRow("hex colour asked for")
            << QStringLiteral("<font color=#abcdef>x</font>y") << true
            << u8("\x03"
                  "15\x04"
                  "ABCDEFx\x03\x04y");
        QTest::newRow("comma after a colour")
            << QStringLiteral("<font color=red>,5</font>") << false
            << u8("\x03"
                  "04\x02\x02,5");
        QTest::newRow("digit after default colour")
            << QStringLiteral("<font color=red>a</font>42") << false
            << u8("\x03"
                  "04a\x03\x02\x02"
                  "42");
        QTest::newRow("font face dropped")
            << QStringLiteral("<font face=\"Wingdings\">ox</font>") << false << u8("ox");
        QTest::newRow("paragraphs joined")
            << QStringLiteral("<p>one</p><p>two</p>") << false << u8("one two");
        QTest::newRow("line break a blank")
            << QStringLiteral("one<br>two") << false << u8("one two");
        // Typed or stored text can never end the message and start a command.
        QTest::newRow("CR LF NUL") << QStringLiteral("a\rQUIT\nb") + QChar(0) + QStringLiteral("c")
                                   << false << u8("a QUIT b c");
    }
    void markup() {
        QFETCH(QString, html);
        QFETCH(bool, hex);
        QFETCH(QByteArray, irc);
        QCOMPARE(irc::htmlToIrc(html, {hex}), irc);
    }

    void nearestColour_data() {
        QTest::addColumn<QString>("colour");
        QTest::addColumn<int>("code"); // -1: sent as the default colour
        QTest::newRow("pure red") << "#FF0000" << 4;
        QTest::newRow("zorvel green") << "#009900" << 3;
        QTest::newRow("blue") << "#0000FF" << 12;
        QTest::newRow("orange") << "#FF8000" << 7;
        QTest::newRow("teal") << "#0C9F8A" << 10;
        QTest::newRow("brown") << "#987c65" << 14;
        QTest::newRow("magenta") << "#FF00FF" << 13;
        QTest::newRow("light grey") << "#c0c0c0" << 15;
        QTest::newRow("navy") << "#000080" << 2;
        QTest::newRow("near black") << "#00000C" << -1;
        QTest::newRow("near white") << "#FFFFFC" << -1;
        QTest::newRow("black") << "#000000" << -1;
    }
    void nearestColour() {
        QFETCH(QString, colour);
        QFETCH(int, code);
        const QColor c(colour);
        QCOMPARE(irc::sentAsDefaultColour(c) ? -1 : irc::nearestStandardColour(c), code);
    }

    void incoming_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        QTest::newRow("plain") << "hello"
                               << "hello";
        QTest::newRow("markup escaped") << "<b>x</b> & <script>"
                                        << "&lt;b&gt;x&lt;/b&gt; &amp; &lt;script&gt;";
        QTest::newRow("bold") << "\x02"
                                 "b\x02n"
                              << "<span style=\"font-weight:bold\">b</span>n";
        QTest::newRow("colour 4 on 1")
            << "\x03"
               "4,1r"
            << "<span style=\"color:#ff0000;background-color:#000000\">r</span>";
        QTest::newRow("colour 98") << "\x03"
                                      "98w"
                                   << "<span style=\"color:#ffffff\">w</span>";
        QTest::newRow("colour 52 two digits then a digit")
            << "\x03"
               "523"
            << "<span style=\"color:#ff0000\">3</span>";
        QTest::newRow("colour 99 is the default") << "\x03"
                                                     "99d"
                                                  << "d";
        QTest::newRow("hex") << "\x04"
                                "12AB34h"
                             << "<span style=\"color:#12ab34\">h</span>";
        QTest::newRow("reset")
            << "\x02\x1d\x03"
               "3a\x0f"
               "b"
            << "<span style=\"font-weight:bold;font-style:italic;color:#009300\">a</span>b";
        QTest::newRow("reverse")
            << "\x16r"
            << "<span style=\"color:#ffffff;background-color:#000000\">r</span>";
        QTest::newRow("underline, italic")
            << "\x1fu\x1f\x1di"
            << "<span style=\"text-decoration:underline \">u</span><span "
               "style=\"font-style:italic\">i</span>";
        QTest::newRow("bare colour code ends colour") << "\x03"
                                                         "4a\x03"
                                                         " b"
                                                      << "<span style=\"color:#ff0000\">a</span> b";
        QTest::newRow("other controls dropped") << QStringLiteral("a\x01\x07"
                                                                  "b")
                                                << "ab";
    }
    void incoming() {
        QFETCH(QString, text);
        QFETCH(QString, html);
        QCOMPARE(irc::ircToHtml(text), html);
    }

    void split_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("room");
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<int>("leftOut");
        QTest::newRow("fits exactly")
            << QByteArray(20, 'a') << 20 << QList<QByteArray>{QByteArray(20, 'a')} << 0;
        QTest::newRow("one byte over, at a blank")
            << u8("aaaaaaaaa bbbbbbbbbbb") << 20 << QList<QByteArray>{"aaaaaaaaa", "bbbbbbbbbbb"}
            << 0;
        QTest::newRow("no blank: at a character's edge")
            << u8("aaaa\xc3\xa9\xc3\xa9") << 5 << QList<QByteArray>{"aaaa", "\xc3\xa9\xc3\xa9"}
            << 0;
        QTest::newRow("never inside a character")
            << u8("\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac") << 7
            << QList<QByteArray>{"\xe2\x82\xac\xe2\x82\xac", "\xe2\x82\xac"} << 0;
        QTest::newRow("formatting carried over") << u8("\x02\x03"
                                                       "04bold red\x02 plain")
                                                 << 12
                                                 << QList<QByteArray>{"\x02\x03"
                                                                      "04bold",
                                                                      "\x02\x03"
                                                                      "04red\x02",
                                                                      "\x03"
                                                                      "04plain"}
                                                 << 0;
        QTest::newRow("one-digit colour written with two") << u8("\x03"
                                                                 "4a b")
                                                           << 4
                                                           << QList<QByteArray>{"\x03"
                                                                                "4a",
                                                                                "\x03"
                                                                                "04b"}
                                                           << 0;
        QTest::newRow("never inside a colour code") << u8("ab\x03"
                                                          "04,01cd")
                                                    << 7
                                                    << QList<QByteArray>{"ab",
                                                                         "\x03"
                                                                         "04,01c",
                                                                         "\x03"
                                                                         "04,01d"}
                                                    << 0;
        // Each piece starts with the colours in effect: a background written
        // with two digits too, a hex colour only when all six digits were
        // there, none after a bare code.
        QTest::newRow("one-digit background written with two") << u8("\x03"
                                                                     "4,1aaa b")
                                                               << 8
                                                               << QList<QByteArray>{"\x03"
                                                                                    "4,1aaa",
                                                                                    "\x03"
                                                                                    "04,01b"}
                                                               << 0;
        QTest::newRow("hex colour carried over") << u8("\x04"
                                                       "FF0000a b")
                                                 << 8
                                                 << QList<QByteArray>{"\x04"
                                                                      "FF0000a",
                                                                      "\x04"
                                                                      "FF0000b"}
                                                 << 0;
        QTest::newRow("short hex code ends the hex colour") << u8("\x04"
                                                                  "FF0000a\x04"
                                                                  "FFb c")
                                                            << 12
                                                            << QList<QByteArray>{"\x04"
                                                                                 "FF0000a\x04"
                                                                                 "FFb",
                                                                                 "c"}
                                                            << 0;
        QTest::newRow("bare colour code ends the colour") << u8("\x03"
                                                                "04a\x03"
                                                                "b c")
                                                          << 6
                                                          << QList<QByteArray>{"\x03"
                                                                               "04a\x03"
                                                                               "b",
                                                                               "c"}
                                                          << 0;
        QTest::newRow("at most four pieces")
            << u8("a b c d e f") << 1 << QList<QByteArray>{"a", "b", "c", "d"} << 3;
    }
    void split() {
        QFETCH(QByteArray, text);
        QFETCH(int, room);
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(int, leftOut);
        const irc::SplitText split = irc::splitText(text, room);
        QCOMPARE(split.pieces, pieces);
        QCOMPARE(split.bytesLeftOut, qsizetype(leftOut));
    }
};

QTEST_MAIN(TestIrcFormat)
#include "tst_ircformat.moc"
