// The settings file routines: where the file is, reads, writes, fileExists and
// the refresh of the settings record.

#include "settings/settingsfile.h"
#include "tests/testenv.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using settings::Field;

namespace {

// A record that logs each field it is given, in order.
class LoggingRecord : public settings::PlainRecord {
public:
    void setCaption(Field field, const QString &text) override {
        m_log.append(QString::number(int(field)) + u'=' + text);
        PlainRecord::setCaption(field, text);
    }
    void setFontFace(const QString &face) override { m_log.append(QStringLiteral("font=") + face); }
    QStringList log() const { return m_log; }

private:
    QStringList m_log;
};

QString entry(Field field, const QString &text) {
    return QString::number(int(field)) + u'=' + text;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path) {
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void settingsPathFollowsEnvironment_data();
    void settingsPathFollowsEnvironment();
    void reads_data();
    void reads();
    void writes_data();
    void writes();
    void firstWriteIntoMissingFolder_data();
    void firstWriteIntoMissingFolder();
    void fileExists_data();
    void fileExists();
    void reloadSettings_data();
    void reloadSettings();
};

void TestSettingsFile::settingsPathFollowsEnvironment_data() {
    QTest::addColumn<QString>("xdg"); // "<unset>", or relative to the test's root
    QTest::addColumn<QString>("expected");
    QTest::newRow("XDG_CONFIG_HOME set") << "config"
                                         << "config/zorvel/zorvel.ini";
    QTest::newRow("XDG_CONFIG_HOME changed") << "elsewhere"
                                             << "elsewhere/zorvel/zorvel.ini";
    QTest::newRow("XDG_CONFIG_HOME empty") << ""
                                           << "home/.config/zorvel/zorvel.ini";
    QTest::newRow("XDG_CONFIG_HOME unset") << "<unset>"
                                           << "home/.config/zorvel/zorvel.ini";
}

void TestSettingsFile::settingsPathFollowsEnvironment() {
    TestEnv env;
    QFETCH(QString, xdg);
    QFETCH(QString, expected);
    // Asked once before the change: the path must not stick.
    QCOMPARE(settings::settingsPath(), env.settingsFile());
    if (xdg == QLatin1String("<unset>"))
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME",
                xdg.isEmpty() ? QByteArray() : (env.root() + u'/' + xdg).toLocal8Bit());
    QCOMPARE(settings::settingsPath(), env.root() + u'/' + expected);
}

void TestSettingsFile::reads_data() {
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("fileText");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("upper-case key in the file")
        << true << QByteArray("[zorvel]\r\nPRESET=abc\r\n") << "preset"
        << "abc";
    QTest::newRow("lower-case key in the file, asked in upper case")
        << true << QByteArray("[zorvel]\r\npreset=abc\r\n") << "PRESET"
        << "abc";
    QTest::newRow("mixed case everywhere")
        << true << QByteArray("[ZorVel]\r\nPrEsEt=abc\r\n") << "pReSeT"
        << "abc";

    QByteArray digits;
    while (digits.size() < 800)
        digits += "0123456789";
    QTest::newRow("800 characters read back as 749")
        << true << "[zorvel]\r\nPRESET=" + digits + "\r\n"
        << "preset" << QString::fromLatin1(digits.left(749));
    QTest::newRow("blanks around the value trimmed")
        << true << QByteArray("[zorvel]\r\nPFASCII= \t /\xAF\\ \t \r\n") << "pfascii"
        << "/¯\\";
    QTest::newRow("double quotes removed")
        << true << QByteArray("[zorvel]\r\npmascii=\"-:-\"\r\n") << "pmascii"
        << "-:-";
    QTest::newRow("single quotes removed, blanks inside kept")
        << true << QByteArray("[zorvel]\r\nhandle=' frobble '\r\n") << "handle"
        << " frobble ";
    QTest::newRow("Windows-1252 letters")
        << true << QByteArray("[zorvel]\r\nPRESET=def\xE0\xF9lt\r\n") << "preset"
        << "defàùlt";
    QTest::newRow("undefined byte comes back as its control character")
        << true << QByteArray("[zorvel]\r\nPRESET=<\x81>\r\n") << "preset"
        << "<\u0081>";
    QTest::newRow("missing key") << true << QByteArray("[zorvel]\r\nPRESET=abc\r\n") << "handle"
                                 << "";
    QTest::newRow("key in another section")
        << true << QByteArray("[other]\r\nhandle=x\r\n") << "handle"
        << "";
    QTest::newRow("missing file") << false << QByteArray() << "preset"
                                  << "";
}

void TestSettingsFile::reads() {
    TestEnv env;
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, fileText);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    if (fileExists)
        writeFile(env.settingsFile(), fileText);
    QCOMPARE(settings::getFromIni(QString::fromLatin1(settings::kSection), key, env.settingsFile()),
             expected);
}

void TestSettingsFile::writes_data() {
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("new file, key upper-cased")
        << false << QByteArray() << "preset"
        << "x" << QByteArray("[zorvel]\r\nPRESET=x\r\n") << "x";
    QTest::newRow("lower-case key replaced in place")
        << true << QByteArray("[zorvel]\r\npreset=old\r\nhandle=h\r\n") << "Preset"
        << "new" << QByteArray("[zorvel]\r\npreset=new\r\nhandle=h\r\n") << "new";
    QTest::newRow("new key after the others")
        << true << QByteArray("[zorvel]\r\nPRESET=x\r\n") << "reason"
        << "brb" << QByteArray("[zorvel]\r\nPRESET=x\r\nREASON=brb\r\n") << "brb";
    QTest::newRow("Windows-1252 letters as single bytes")
        << false << QByteArray() << "preset"
        << "cùstøm" << QByteArray("[zorvel]\r\nPRESET=c\xF9st\xF8m\r\n") << "cùstøm";
    QTest::newRow("euro sign") << false << QByteArray() << "pfascii"
                               << "€" << QByteArray("[zorvel]\r\nPFASCII=\x80\r\n") << "€";
    QTest::newRow("character outside the code page becomes ?")
        << false << QByteArray() << "handle"
        << "a\u03A9b" << QByteArray("[zorvel]\r\nHANDLE=a?b\r\n") << "a?b";
    QTest::newRow("character beyond 16 bits becomes one ?")
        << false << QByteArray() << "handle"
        << "a\U0001F600b" << QByteArray("[zorvel]\r\nHANDLE=a?b\r\n") << "a?b";
    QTest::newRow("undefined control character kept as its byte")
        << false << QByteArray() << "handle"
        << "<\u009D>" << QByteArray("[zorvel]\r\nHANDLE=<\x9D>\r\n") << "<\u009D>";
    QTest::newRow("line break in the value stays on the line")
        << false << QByteArray() << "reason"
        << "a\r\nPRESET=evil" << QByteArray("[zorvel]\r\nREASON=a  PRESET=evil\r\n")
        << "a  PRESET=evil";
}

void TestSettingsFile::writes() {
    TestEnv env;
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    QFETCH(QString, readBack);
    settings::ensureSettingsFolder();
    if (fileExists)
        writeFile(env.settingsFile(), before);
    const QString section = QString::fromLatin1(settings::kSection);
    settings::writeToIni(section, key, value, env.settingsFile());
    QCOMPARE(readFile(env.settingsFile()), after);
    QCOMPARE(settings::getFromIni(section, key, env.settingsFile()), readBack);
}

void TestSettingsFile::firstWriteIntoMissingFolder_data() {
    QTest::addColumn<bool>("ensureFolder");
    QTest::newRow("folder created first") << true;
    QTest::newRow("folder missing: the write is lost, silently") << false;
}

void TestSettingsFile::firstWriteIntoMissingFolder() {
    TestEnv env;
    QFETCH(bool, ensureFolder);
    const QString folder = QFileInfo(env.settingsFile()).absolutePath();
    QVERIFY(!QFileInfo::exists(folder));
    if (ensureFolder) {
        settings::ensureSettingsFolder();
        settings::ensureSettingsFolder(); // a second call changes nothing
    }
    QCOMPARE(QFileInfo(folder).isDir(), ensureFolder);
    settings::writeToIni(QStringLiteral("zorvel"), QStringLiteral("handle"),
                         QStringLiteral("frobble"), settings::settingsPath());
    QCOMPARE(QFile::exists(env.settingsFile()), ensureFolder);
    QCOMPARE(settings::getFromIni(QStringLiteral("zorvel"), QStringLiteral("handle"),
                                  settings::settingsPath()),
             ensureFolder ? QStringLiteral("frobble") : QString());
}

void TestSettingsFile::fileExists_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("expected");
    QTest::newRow("empty path") << "empty" << false;
    QTest::newRow("missing file") << "missing" << false;
    QTest::newRow("directory") << "directory" << false;
    QTest::newRow("hidden file") << "hidden" << false;
    QTest::newRow("ordinary file") << "ordinary" << true;
    QTest::newRow("read-only file") << "read-only" << true;
    QTest::newRow("empty ordinary file") << "empty file" << true;
#ifdef Q_OS_UNIX
    QTest::newRow("named pipe") << "pipe" << false;
#endif
}

void TestSettingsFile::fileExists() {
    TestEnv env;
    QFETCH(QString, kind);
    QFETCH(bool, expected);
    QString path = env.root() + u'/' + kind;
    const QString current = QDir::currentPath();
    const auto restore = qScopeGuard([&current] { QDir::setCurrent(current); });
    if (kind == QLatin1String("empty")) {
        // Not even a search of the current folder, which holds an ordinary file.
        path.clear();
        writeFile(env.root() + QStringLiteral("/zorvel.ini"), "[zorvel]\r\n");
        QVERIFY(QDir::setCurrent(env.root()));
    } else if (kind == QLatin1String("directory")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("hidden")) {
        path = env.root() + QStringLiteral("/.hidden.ini");
        writeFile(path, "[zorvel]\r\n");
    } else if (kind == QLatin1String("ordinary") || kind == QLatin1String("read-only")) {
        writeFile(path, "[zorvel]\r\n");
        if (kind == QLatin1String("read-only"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    } else if (kind == QLatin1String("empty file")) {
        writeFile(path, QByteArray());
#ifdef Q_OS_UNIX
    } else if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
    }
    QCOMPARE(settings::fileExists(path), expected);
}

void TestSettingsFile::reloadSettings_data() {
    QTest::addColumn<QByteArray>("fileText");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("every key")
        << QByteArray(
               "[zorvel]\r\nFONT=Arial\r\nPRESET=def\xE0\xF9lt\r\nPFCOLOR=00000C\r\n"
               "PACOLOR=009900\r\nPMASCII=-:-\r\nPFASCII= /\xAF\\ \r\nPBASCII=\"/\xAF\\\"\r\n")
        << QStringList{u"font=Arial"_qs,
                       entry(Field::StyleName, u"defàùlt"_qs),
                       entry(Field::AsciiColour, u"009900"_qs),
                       entry(Field::FrontAscii, u"/¯\\"_qs),
                       entry(Field::BackAscii, u"/¯\\"_qs),
                       entry(Field::MiddleAscii, u"-:-"_qs),
                       entry(Field::FontColour, u"00000C"_qs)};
    QTest::newRow("missing keys give empty fields")
        << QByteArray("[zorvel]\r\npreset=only\r\n")
        << QStringList{u"font="_qs,
                       entry(Field::StyleName, u"only"_qs),
                       entry(Field::AsciiColour, {}),
                       entry(Field::FrontAscii, {}),
                       entry(Field::BackAscii, {}),
                       entry(Field::MiddleAscii, {}),
                       entry(Field::FontColour, {})};
}

void TestSettingsFile::reloadSettings() {
    TestEnv env;
    QFETCH(QByteArray, fileText);
    QFETCH(QStringList, expected);
    writeFile(env.settingsFile(), fileText);
    LoggingRecord record;
    for (int field = 0; field < 6; ++field)
        record.PlainRecord::setCaption(Field(field), QStringLiteral("old"));
    settings::reloadSettings(record);
    QCOMPARE(record.log(), expected);
    // Every field holds what it was last given: nothing of the old record is left.
    for (const QString &line : expected) {
        if (line.startsWith(u"font="))
            continue;
        const Field field = Field(line.section(u'=', 0, 0).toInt());
        QCOMPARE(record.caption(field), line.section(u'=', 1));
    }
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
