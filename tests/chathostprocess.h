#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "tests/transcript.h"

// The built chathost, run as a separate process for a test that checks what
// reaches the chat room. Link the target zorvel_test_chathost to get it.
//
// Construct a TestEnv first: chathost takes its socket in XDG_RUNTIME_DIR.
//
//     TestEnv env;
//     ChatHostProcess host({"--room", "Lobby", "--room", "Den"});
//     QVERIFY2(host.start(), qPrintable(host.output()));
//     hostlink::chatSend("hello", hostlink::LineKind::Load);
//     const auto records = host.waitForRecords(1);
//     QCOMPARE(records.at(0).bytes, QByteArray("hello"));
//
// The transcript file belongs to the object and outlives restarts, so
// start(), kill(), start() again collects the lines of both runs.
class ChatHostProcess {
public:
    // Further command-line arguments for chathost (rooms, screen name, ...);
    // --transcript is added here.
    explicit ChatHostProcess(QStringList arguments = {});
    ~ChatHostProcess(); // kills chathost if it still runs

    ChatHostProcess(const ChatHostProcess &) = delete;
    ChatHostProcess &operator=(const ChatHostProcess &) = delete;

    // Starts chathost and waits until its socket answers (at most timeoutMs).
    // False when it exited or did not answer in time; output() says why.
    bool start(int timeoutMs = 10000);
    // Kills chathost at once (SIGKILL) and waits until it is gone.
    void kill();
    bool isRunning() const;
    qint64 pid() const;
    // Everything chathost printed so far, stdout and stderr together.
    QString output() const;

    static QString executable();
    QString socketPath() const;
    QString transcriptPath() const;

    // The transcript's records now.
    QList<TranscriptRecord> records() const;
    // Waits until the transcript holds at least `count` records or the timeout
    // passes (the event loop runs meanwhile); returns all records then.
    QList<TranscriptRecord> waitForRecords(int count, int timeoutMs = 5000) const;
    // Waits until a record from index `from` on holds exactly `line`; its
    // index, or -1 when none came in time.
    int waitForLine(const QByteArray &line, int from = 0, int timeoutMs = 8000) const;
    static QList<TranscriptRecord> parseTranscript(const QByteArray &contents);

    // Driving the rooms as a person would, by room name; false when chathost
    // or the room is not there.
    bool bringToFront(const QString &room);
    bool typeIntoEntry(const QString &room, const QString &text);
    // Puts the text in the room's entry box and presses Enter.
    bool postInRoom(const QString &room, const QString &text);
    // The room's transcript as plain text.
    QString transcriptText(const QString &room);
    // The text in the room's entry box now.
    QString entryText(const QString &room);
    // The titles of the document windows, front to back.
    QStringList documentsFrontToBack();

private:
    struct RoomWindows {
        quint64 document = 0;
        quint64 transcript = 0;
        quint64 entry = 0;
    };
    RoomWindows findRoom(const QString &room);
    // A window's text; empty for window 0.
    QString textOf(quint64 window) const;

    QStringList m_arguments;
    QTemporaryDir m_dir; // the transcript and the output
    QProcess m_process;
};
