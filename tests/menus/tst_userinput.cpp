// What the user types into each prompt, as far as the settings file and a
// real chathost's room: characters outside Windows-1252 become "?" in both,
// and a 100,000-character answer is taken, stored, read back as the reader
// allows (749 characters) and posted without a hang.
#include "chathostprocess.h"
#include "cp1252.h"
#include "form1lines.h"
#include "menulines.h"
#include "menuprogram.h"
#include "windowsystem_unix.h"

#include <QTest>
#include <functional>
#include <memory>

namespace {

// The longest value a read gives back.
constexpr qsizetype kReadLimit = 749;

// The raw value of the key's line in the file, as the bytes stand there.
QByteArray storedBytes(const QByteArray &key) {
    for (QByteArray line : settingsBytes().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return {};
}

} // namespace

class TestUserInput : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<ChatHostProcess> m_host;
    StepClock m_clock;

private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnv>();
        m_clock.setNow(1000.0);
        hostlink::setPauseClock(&m_clock);
        menus::dialogs::resetScript();
        m_host = std::make_unique<ChatHostProcess>();
        QVERIFY2(m_host->start(), qPrintable(m_host->output()));
    }
    void cleanup() {
        hostlink::setPauseClock(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_host.reset();
        m_env.reset();
    }

    void answerInTheFileAndTheRoom_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("unit");     // the answer is this, repeated
        QTest::addColumn<QByteArray>("bytes"); // the unit as the file and the room hold it
        QTest::addColumn<int>("repeat");
        // Cyrillic, a check mark and an emoji are outside the code page; the
        // euro sign and the accented letter are in it.
        const QString unit = QStringLiteral("a\u20ac\u2713\u0416\U0001F600 \u00e9z");
        const QByteArray bytes("a\x80??? \xe9z");
        const int hundredThousand = 100000 / int(unit.size() - 1); // the emoji is two units
        for (const char *command :
             {"edit msg", "edit ascii", "edit acolor", "edit fcolor", "edit handle"}) {
            QTest::addRow("%s, outside the code page", command)
                << QString::fromLatin1(command) << unit << bytes << 1;
            QTest::addRow("%s, 100,000 characters", command)
                << QString::fromLatin1(command) << unit << bytes << hundredThousand;
        }
    }
    void answerInTheFileAndTheRoom() {
        QFETCH(QString, command);
        QFETCH(QString, unit);
        QFETCH(QByteArray, bytes);
        QFETCH(int, repeat);
        const QString answer = unit.repeated(repeat);
        const QByteArray stored = bytes.repeated(repeat);
        QCOMPARE(answer.toUcs4().size(), repeat == 1 ? 8 : 100000);

        MenuProgram program;
        QCOMPARE(m_host->waitForRecords(2).size(), 2);
        menus::dialogs::setNextAnswer(answer);
        menus::dialogs::setNextAnswer(answer);

        // Each command, its keys, and what brings the answer to the room.
        QList<QByteArray> keys;
        std::function<QString()> roomLine;
        int posted = 1; // the lines the command and its follow-up post
        settings::SettingsRecord &record = program.form1.record();
        if (command == "edit msg") {
            program.form3()->Label2_Click();
            keys = {"REASON"};
            program.form1.Timer1_Timer(); // the idle line, then the message
            posted = 2;
            roomLine = [&] { return app::messageLine(record, setting("reason")); };
        } else if (command == "edit handle") {
            program.form4()->Label4_Click();
            keys = {"HANDLE"};
            roomLine = [&] { return menus::handleLine(record, answer); };
        } else {
            if (command == "edit ascii") {
                program.form4()->Label3_Click();
                keys = {"PFASCII", "PBASCII"};
            } else if (command == "edit acolor") {
                program.form4()->Label7_Click();
                keys = {"PACOLOR"};
            } else {
                program.form4()->Label8_Click();
                keys = {"PFCOLOR"};
            }
            program.form3()->Label1_Click(); // the engaged line shows the style
            roomLine = [&] { return menus::idleSessionLine(record, true); };
        }

        for (const QByteArray &key : keys) {
            QCOMPARE(storedBytes(key), stored);
            QCOMPARE(platform::toCp1252(setting(key.toLower().constData())),
                     stored.left(kReadLimit));
        }
        // A line longer than a request can carry reaches the room cut to fit.
        const QByteArray line = platform::toCp1252(roomLine()).left(platform::chatwire::kMaxText);
        const QList<TranscriptRecord> records = m_host->waitForRecords(2 + posted);
        QCOMPARE(records.size(), 2 + posted);
        QCOMPARE(records.last().bytes.size(), line.size());
        QVERIFY(records.last().bytes == line);
        if (repeat == 1)
            QVERIFY(line.contains(bytes));
    }
};

QTEST_MAIN(TestUserInput)
#include "tst_userinput.moc"
