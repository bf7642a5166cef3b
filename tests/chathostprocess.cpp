#include "chathostprocess.h"

#include "tests/childprocess.h"

#include "chatwire/chatwire.h"
#include "platform/cp1252.h"
#include "platform/windowsystem_unix.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace {

// Test requests get more time than a posting exchange: a loaded machine
// must not make them flaky.
constexpr std::chrono::milliseconds kRequestBound{3000};

void waitAMoment() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(10);
}

} // namespace

ChatHostProcess::ChatHostProcess(QStringList arguments) : m_arguments(std::move(arguments)) {
    // To a file, not a pipe: nobody has to read it for chathost to go on.
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    diesWithTest(m_process);
    m_process.setStandardOutputFile(m_dir.filePath(QStringLiteral("output.txt")),
                                    QIODevice::Append);
}

ChatHostProcess::~ChatHostProcess() { kill(); }

QString ChatHostProcess::executable() { return QStringLiteral(ZORVEL_CHATHOST_EXECUTABLE); }

QString ChatHostProcess::socketPath() const { return chatwire::socketPath(); }

QString ChatHostProcess::transcriptPath() const {
    return m_dir.filePath(QStringLiteral("transcript.txt"));
}

bool ChatHostProcess::start(int timeoutMs) {
    kill();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_process.setProcessEnvironment(environment);
    m_process.start(executable(),
                    m_arguments + QStringList{QStringLiteral("--transcript"), transcriptPath()});
    if (!m_process.waitForStarted(timeoutMs))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs && m_process.state() == QProcess::Running) {
        platform::UnixWindowSystem host(socketPath(), std::chrono::milliseconds(200));
        // Ours, not some other chathost that happens to answer there.
        if (host.hostPid() == m_process.processId())
            return true;
        waitAMoment();
    }
    return false;
}

void ChatHostProcess::kill() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
}

bool ChatHostProcess::isRunning() const { return m_process.state() == QProcess::Running; }

qint64 ChatHostProcess::pid() const { return m_process.processId(); }

QString ChatHostProcess::output() const {
    QFile file(m_dir.filePath(QStringLiteral("output.txt")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

QList<TranscriptRecord> ChatHostProcess::parseTranscript(const QByteArray &contents) {
    return ::parseTranscript(contents);
}

QList<TranscriptRecord> ChatHostProcess::records() const {
    QFile file(transcriptPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseTranscript(file.readAll());
}

QList<TranscriptRecord> ChatHostProcess::waitForRecords(int count, int timeoutMs) const {
    QElapsedTimer timer;
    timer.start();
    QList<TranscriptRecord> now = records();
    while (now.size() < count && timer.elapsed() < timeoutMs) {
        waitAMoment();
        now = records();
    }
    return now;
}

int ChatHostProcess::waitForLine(const QByteArray &line, int from, int timeoutMs) const {
    QElapsedTimer timer;
    timer.start();
    do {
        const QList<TranscriptRecord> now = records();
        for (int i = from; i < now.size(); ++i)
            if (now.at(i).bytes == line)
                return i;
        waitAMoment();
    } while (timer.elapsed() < timeoutMs);
    return -1;
}

ChatHostProcess::RoomWindows ChatHostProcess::findRoom(const QString &room) {
    platform::UnixWindowSystem host(socketPath(), kRequestBound);
    const quint64 frame = host.findWindow(chatwire::kFrameClass);
    const quint64 area = frame ? host.findWindowEx(frame, 0, chatwire::kDocumentAreaClass) : 0;
    for (quint64 document = area ? host.findWindowEx(area, 0, chatwire::kDocumentClass) : 0;
         document; document = host.findWindowEx(area, document, chatwire::kDocumentClass)) {
        if (platform::fromCp1252(host.windowText(document).value_or(QByteArray())) != room)
            continue;
        const quint64 transcript = host.findWindowEx(document, 0, chatwire::kRichTextClass);
        return {document, transcript,
                transcript ? host.findWindowEx(document, transcript, chatwire::kRichTextClass) : 0};
    }
    return {};
}

bool ChatHostProcess::bringToFront(const QString &room) {
    const RoomWindows windows = findRoom(room);
    return windows.document &&
           platform::UnixWindowSystem(socketPath(), kRequestBound).raiseWindow(windows.document);
}

bool ChatHostProcess::typeIntoEntry(const QString &room, const QString &text) {
    const RoomWindows windows = findRoom(room);
    return windows.entry && platform::UnixWindowSystem(socketPath(), kRequestBound)
                                .typeText(windows.entry, platform::toCp1252(text));
}

bool ChatHostProcess::postInRoom(const QString &room, const QString &text) {
    const RoomWindows windows = findRoom(room);
    platform::UnixWindowSystem host(socketPath(), kRequestBound);
    if (!windows.entry)
        return false;
    host.setText(windows.entry, platform::toCp1252(text));
    host.sendChar(windows.entry, 13);
    return true;
}

QString ChatHostProcess::textOf(quint64 window) const {
    if (!window)
        return {};
    return platform::fromCp1252(platform::UnixWindowSystem(socketPath(), kRequestBound)
                                    .windowText(window)
                                    .value_or(QByteArray()));
}

QString ChatHostProcess::transcriptText(const QString &room) {
    return textOf(findRoom(room).transcript);
}

QString ChatHostProcess::entryText(const QString &room) { return textOf(findRoom(room).entry); }

QStringList ChatHostProcess::documentsFrontToBack() {
    platform::UnixWindowSystem host(socketPath(), kRequestBound);
    const quint64 frame = host.findWindow(chatwire::kFrameClass);
    const quint64 area = frame ? host.findWindowEx(frame, 0, chatwire::kDocumentAreaClass) : 0;
    QStringList titles;
    for (quint64 document = area ? host.findWindowEx(area, 0, chatwire::kDocumentClass) : 0;
         document; document = host.findWindowEx(area, document, chatwire::kDocumentClass))
        titles.append(platform::fromCp1252(host.windowText(document).value_or(QByteArray())));
    return titles;
}
