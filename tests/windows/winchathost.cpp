#include "winchathost.h"
#include "chatwire/chatwire.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <sddl.h>

namespace {

void waitAMoment() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(20);
}

} // namespace

WinChatHost::WinChatHost(QStringList arguments) : m_arguments(std::move(arguments)) {
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(m_dir.filePath(QStringLiteral("output.txt")));
}

WinChatHost::~WinChatHost() { kill(); }

QString WinChatHost::programPath(const QString &name) {
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

bool WinChatHost::start(int timeoutMs) {
    kill();
    m_process.start(programPath(QStringLiteral("chathost.exe")),
                    m_arguments + QStringList{QStringLiteral("--transcript"),
                                              m_dir.filePath(QStringLiteral("transcript.txt"))});
    if (!m_process.waitForStarted(timeoutMs))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        // chathost makes the welcome window, in front, last of all: once its
        // button is there, so is the whole tree.
        HWND area = FindWindowExA(frame(), nullptr, chatwire::kDocumentAreaClass, nullptr);
        HWND front =
            area ? FindWindowExA(area, nullptr, chatwire::kDocumentClass, nullptr) : nullptr;
        // And once its window thread answers, it has finished starting.
        if (front && FindWindowExA(front, nullptr, chatwire::kIconClass, nullptr))
            return SendMessageTimeoutA(frame(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                       UINT(qMax<qint64>(1, deadline.remainingTime())), nullptr);
        waitAMoment();
    }
    return false;
}

void WinChatHost::kill() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
}

QString WinChatHost::output() const {
    QFile file(m_dir.filePath(QStringLiteral("output.txt")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

HWND WinChatHost::frame() const {
    for (HWND window = FindWindowExA(nullptr, nullptr, chatwire::kFrameClass, nullptr); window;
         window = FindWindowExA(nullptr, window, chatwire::kFrameClass, nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (qint64(pid) == m_process.processId())
            return window;
    }
    return nullptr;
}

QList<TranscriptRecord> WinChatHost::lines() const {
    QFile file(m_dir.filePath(QStringLiteral("transcript.txt")));
    return file.open(QIODevice::ReadOnly) ? parseTranscript(file.readAll())
                                          : QList<TranscriptRecord>();
}

QList<TranscriptRecord> WinChatHost::waitForLines(int count, int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    QList<TranscriptRecord> now = lines();
    while (now.size() < count && !deadline.hasExpired()) {
        waitAMoment();
        now = lines();
    }
    return now;
}

namespace win {

QByteArray className(HWND window) {
    char name[256] = {};
    const int length = GetClassNameA(window, name, int(sizeof name));
    return QByteArray(name, qMax(length, 0));
}

QByteArray text(HWND window) {
    // Generous: a transcript holds many lines.
    QByteArray buffer(1 << 20, '\0');
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, WPARAM(buffer.size()), LPARAM(buffer.data()),
                             SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    return buffer.left(qsizetype(length));
}

QList<HWND> children(HWND parent) {
    QList<HWND> list;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        list.append(child);
    return list;
}

QList<HWND> topLevelWindows(qint64 pid) {
    struct Search {
        DWORD pid;
        QList<HWND> found;
    } search{DWORD(pid), {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto *s = reinterpret_cast<Search *>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid)
                s->found.append(window);
            return TRUE;
        },
        LPARAM(&search));
    return search.found;
}

QString userSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    alignas(TOKEN_USER) char buffer[256];
    DWORD size = sizeof buffer;
    wchar_t *sid = nullptr;
    const bool known =
        GetTokenInformation(token, TokenUser, buffer, size, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(buffer)->User.Sid, &sid);
    CloseHandle(token);
    const QString text = known ? QString::fromWCharArray(sid) : QString();
    LocalFree(sid);
    return text;
}

bool setFileAccess(const QString &path, const QString &dacl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            reinterpret_cast<LPCWSTR>(dacl.utf16()), SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    const QString native = QDir::toNativeSeparators(path);
    const bool set = SetFileSecurityW(reinterpret_cast<LPCWSTR>(native.utf16()),
                                      DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    return set;
}

} // namespace win

int WinChatHost::storePassword(const QString &network, const QByteArray &input, QByteArray *said) {
    QProcess chathost;
    chathost.start(programPath(QStringLiteral("chathost.exe")),
                   {QStringLiteral("--store-password"), network});
    chathost.write(input);
    chathost.closeWriteChannel();
    if (!chathost.waitForFinished(30000)) {
        chathost.kill();
        chathost.waitForFinished(5000);
        return -1;
    }
    if (said)
        *said = chathost.readAllStandardOutput() + chathost.readAllStandardError();
    return chathost.exitStatus() == QProcess::NormalExit ? chathost.exitCode() : -1;
}
