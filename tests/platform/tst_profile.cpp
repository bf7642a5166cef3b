// The profile reader and writer where the recorded cases say nothing: lists
// cut to the buffer, section lists, UTF-16 files, removals, failures.

#include "platform/profile.h"
#include "tests/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// Test data cannot carry a null pointer: this stands for one.
const QByteArray kNull("<null>");
// In place of the file's bytes: a folder stands where the file should be.
const QByteArray kFolder("<folder>");

const char *pointerTo(const QByteArray &text) { return text == kNull ? nullptr : text.constData(); }

QByteArray utf16le(const QString &text) {
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

void prepare(const QString &file, const QByteArray &before) {
    if (before == kNull)
        return;
    if (before == kFolder) {
        QVERIFY(QDir().mkpath(file));
        return;
    }
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(before), before.size());
}

QByteArray contents(const QString &file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : kNull;
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void writes_data();
    void writes();
    void sameValueLeavesFileAlone();
    void replacingKeepsLinkAndPermissions();
    void deadWritersCopyIsReplaced();
};

void TestProfile::reads_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("fallback");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("expectedLength");
    QTest::addColumn<QByteArray>("expectedBuffer"); // the whole buffer after the call

    const QByteArray two("[s]\r\nalpha=1\r\nbeta=2\r\n");
    QTest::newRow("key names fit") << two << QByteArray("s") << kNull << QByteArray() << 13 << 11
                                   << QByteArray("alpha\0beta\0\0\xCC\xCC", 13);
    QTest::newRow("key names cut, two NULs at the end")
        << two << QByteArray("s") << kNull << QByteArray() << 8 << 6
        << QByteArray("alpha\0\0\0", 8);
    QTest::newRow("key names into a buffer of 1")
        << two << QByteArray("s") << kNull << QByteArray() << 1 << 0 << QByteArray(1, '\0');
    QTest::newRow("section names, lines above every header left out")
        << QByteArray("top=1\r\n[one]\r\na=1\r\n[Two]\r\n") << kNull << QByteArray("k")
        << QByteArray("DEF") << 12 << 8 << QByteArray("one\0Two\0\0\xCC\xCC\xCC", 12);
    QTest::newRow("section names of a missing file") << kNull << kNull << kNull << QByteArray("DEF")
                                                     << 4 << 0 << QByteArray("\0\xCC\xCC\xCC", 4);
    QTest::newRow("key names of a missing section")
        << two << QByteArray("t") << kNull << QByteArray("DEF") << 4 << 0
        << QByteArray("\0\xCC\xCC\xCC", 4);
    QTest::newRow("a lone quote stays")
        << QByteArray("[s]\r\nk=\"\r\n") << QByteArray("s") << QByteArray("k") << QByteArray() << 4
        << 1 << QByteArray("\"\0\xCC\xCC", 4);
    QTest::newRow("a default of blanks only")
        << kNull << QByteArray("s") << QByteArray("k") << QByteArray("   ") << 4 << 0
        << QByteArray("\0\xCC\xCC\xCC", 4);
    // A default is unquoted as a stored value is, after its trailing blanks go.
    QTest::newRow("quoted default")
        << kNull << QByteArray("s") << QByteArray("k") << QByteArray("\"DEF\"") << 5 << 3
        << QByteArray("DEF\0\xCC", 5);
    QTest::newRow("single-quoted default, blanks after the quote")
        << kNull << QByteArray("s") << QByteArray("k") << QByteArray("'DEF'  ") << 5 << 3
        << QByteArray("DEF\0\xCC", 5);
    QTest::newRow("quoted default unquoted before the cut")
        << kNull << QByteArray("s") << QByteArray("k") << QByteArray("\"DEF\"") << 4 << 3
        << QByteArray("DEF\0", 4);
    QTest::newRow("default of two quotes")
        << kNull << QByteArray("s") << QByteArray("k") << QByteArray("\"\"") << 3 << 0
        << QByteArray("\0\xCC\xCC", 3);
    QTest::newRow("default with unmatched quotes stays")
        << kNull << QByteArray("s") << QByteArray("k") << QByteArray("\"DEF'") << 6 << 5
        << QByteArray("\"DEF'\0", 6);
    QTest::newRow("default with blanks before the quote stays")
        << kNull << QByteArray("s") << QByteArray("k") << QByteArray(" \"D\"") << 6 << 4
        << QByteArray(" \"D\"\0\xCC", 6);
    QTest::newRow("null default") << kNull << QByteArray("s") << QByteArray("k") << kNull << 3 << 0
                                  << QByteArray("\0\xCC\xCC", 3);
    QTest::newRow("line break in the asked key matches a blank")
        << QByteArray("[s]\r\na b=1\r\n") << QByteArray("s") << QByteArray("a\nb") << QByteArray()
        << 3 << 1 << QByteArray("1\0\xCC", 3);
    QTest::newRow("UTF-16 file, character outside the code page")
        << utf16le(u"[s]\r\nk=a\u03A9b\r\n"_qs) << QByteArray("s") << QByteArray("k")
        << QByteArray() << 5 << 3 << QByteArray("a?b\0\xCC", 5);
}

void TestProfile::reads() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, fallback);
    QFETCH(int, size);
    QFETCH(int, expectedLength);
    QFETCH(QByteArray, expectedBuffer);
    TestEnv env;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("zorvel.ini"));
    prepare(file, before);

    QByteArray buffer(size, char(0xCC));
    QCOMPARE(platform::getPrivateProfileString(pointerTo(section), pointerTo(key),
                                               pointerTo(fallback), buffer.data(), size, file),
             expectedLength);
    QCOMPARE(buffer, expectedBuffer);
}

void TestProfile::writes_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("error");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new section: leading blanks of its name go, trailing ones stay")
        << QByteArray("[other]\r\n") << QByteArray("  new  ") << QByteArray("K") << QByteArray("v")
        << true << 0 << QByteArray("[other]\r\n[new  ]\r\nK=v\r\n");
    QTest::newRow("line break in a key becomes a blank")
        << QByteArray("[s]\r\n") << QByteArray("s") << QByteArray("A\r\nB") << QByteArray("v")
        << true << 0 << QByteArray("[s]\r\nA  B=v\r\n");
    QTest::newRow("removing a missing section writes nothing")
        << QByteArray("[a]\r\nk=v\r\n") << QByteArray("b") << kNull << QByteArray("x") << true << 0
        << QByteArray("[a]\r\nk=v\r\n");
    QTest::newRow("removing a missing key writes nothing")
        << QByteArray("[a]\r\nk=v\r\n") << QByteArray("a") << QByteArray("j") << kNull << true << 0
        << QByteArray("[a]\r\nk=v\r\n");
    QTest::newRow("removing a section in a missing file creates none")
        << kNull << QByteArray("a") << kNull << kNull << true << 0 << kNull;
    QTest::newRow("removing the lines above every header")
        << QByteArray("top=1\r\n; c\r\n[a]\r\nk=v\r\n") << QByteArray("") << kNull << kNull << true
        << 0 << QByteArray("[a]\r\nk=v\r\n");
    QTest::newRow("removing the last section with its blank lines")
        << QByteArray("[a]\r\nk=v\r\n[b]\r\nj=w\r\n\r\n") << QByteArray("B") << kNull << kNull
        << true << 0 << QByteArray("[a]\r\nk=v\r\n");
    QTest::newRow("removing a last line without line ending")
        << QByteArray("[s]\r\na=1\r\nb=2") << QByteArray("s") << QByteArray("B") << kNull << true
        << 0 << QByteArray("[s]\r\na=1\r\n");
    QTest::newRow("replacing in a CR file keeps CR")
        << QByteArray("[s]\ra=1\rb=2\r") << QByteArray("s") << QByteArray("A") << QByteArray("9")
        << true << 0 << QByteArray("[s]\ra=9\rb=2\r");
    QTest::newRow("new key in a UTF-16 file, in UTF-16")
        << utf16le(u"[s]\r\na=1\r\n"_qs) << QByteArray("s") << QByteArray("B") << QByteArray("\xE0")
        << true << 0 << utf16le(u"[s]\r\na=1\r\nB=\u00E0\r\n"_qs);
    QTest::newRow("new section in a UTF-8 file, in UTF-8")
        << QByteArray("\xEF\xBB\xBF[s]\n") << QByteArray("\xE9t\xE9") << QByteArray("k")
        << QByteArray("\x80") << true << 0
        << QByteArray("\xEF\xBB\xBF[s]\n[\xC3\xA9t\xC3\xA9]\nk=\xE2\x82\xAC\n");
    QTest::newRow("a folder in the file's place")
        << kFolder << QByteArray("s") << QByteArray("k") << QByteArray("v") << false << 5 << kNull;
    QTest::newRow("null section, key removal asked")
        << QByteArray("[s]\r\nk=v\r\n") << kNull << QByteArray("k") << kNull << false << 2
        << QByteArray("[s]\r\nk=v\r\n");
}

void TestProfile::writes() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(bool, ok);
    QFETCH(int, error);
    QFETCH(QByteArray, after);
    TestEnv env;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("zorvel.ini"));
    prepare(file, before);

    platform::ProfileError reason = platform::ProfileError::AccessDenied;
    QCOMPARE(platform::writePrivateProfileString(pointerTo(section), pointerTo(key),
                                                 pointerTo(value), file, &reason),
             ok);
    QCOMPARE(int(reason), error);
    QCOMPARE(contents(file), after);
}

void TestProfile::sameValueLeavesFileAlone() {
#ifdef Q_OS_UNIX
    TestEnv env;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("zorvel.ini"));
    prepare(file, "[s]\r\nk = v \r\n");
    const auto inode = [&file] {
        struct stat status {};
        return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_ino : 0;
    };
    const auto before = inode();
    QVERIFY(before != 0);
    QVERIFY(platform::writePrivateProfileString("S", "K", "v", file));
    QCOMPARE(inode(), before);
    // A real change replaces the file.
    QVERIFY(platform::writePrivateProfileString("S", "K", "w", file));
    QVERIFY(inode() != before);
    QCOMPARE(contents(file), QByteArray("[s]\r\nk=w\r\n"));
#else
    QSKIP("checks the file's inode");
#endif
}

// A write replaces the file a link names, not the link, and gives the new
// file the old one's permissions.
void TestProfile::replacingKeepsLinkAndPermissions() {
    TestEnv env;
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("real")));
    const QString real = folder.filePath(QStringLiteral("real/zorvel.ini"));
    const QString file = folder.filePath(QStringLiteral("zorvel.ini"));
    prepare(real, "[s]\r\nk=v\r\n");
    QVERIFY(QFile::link(real, file));
    const QFile::Permissions privateFile = QFile::ReadOwner | QFile::WriteOwner;
    QVERIFY(QFile::setPermissions(real, privateFile));

    QVERIFY(platform::writePrivateProfileString("s", "k", "w", file));
    QVERIFY(QFileInfo(file).isSymLink());
    QCOMPARE(contents(real), QByteArray("[s]\r\nk=w\r\n"));
    QCOMPARE(QFileInfo(real).permissions() & QFile::Permissions(0x7077), privateFile);
}

// What a writer killed mid-write left beside the file is written over by the
// next one, never read, and gone once it is done.
void TestProfile::deadWritersCopyIsReplaced() {
    TestEnv env;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("zorvel.ini"));
    prepare(file, "[s]\r\nk=v\r\n");
    prepare(folder.filePath(QStringLiteral(".zorvel.ini.new")), "[s]\r\nk=half");

    QVERIFY(platform::writePrivateProfileString("s", "other", "x", file));
    QCOMPARE(contents(file), QByteArray("[s]\r\nk=v\r\nother=x\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("zorvel.ini")});
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
