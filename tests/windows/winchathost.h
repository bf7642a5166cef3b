#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <windows.h>

#include "tests/transcript.h"

// chathost.exe, beside the test in the build, run as a separate process and
// found through its real windows. One runs at a time: chathost allows one per
// user session.
class WinChatHost {
public:
    explicit WinChatHost(QStringList arguments = {});
    ~WinChatHost(); // kills chathost if it still runs
    WinChatHost(const WinChatHost &) = delete;
    WinChatHost &operator=(const WinChatHost &) = delete;

    // Starts chathost and waits until its whole window tree is there (at most timeoutMs).
    bool start(int timeoutMs = 30000);
    void kill();
    QString output() const;
    // chathost's main window, found anew: the top-level "AOL Frame25" of this process.
    HWND frame() const;

    QList<TranscriptRecord> lines() const;
    // Waits until the transcript holds at least `count` lines or the time is up.
    QList<TranscriptRecord> waitForLines(int count, int timeoutMs = 30000) const;

    static QString programPath(const QString &name); // a program beside the test
    // chathost.exe --store-password NETWORK given `input`: its exit status,
    // or -1 when it did not end; `said` gets what it printed.
    static int storePassword(const QString &network, const QByteArray &input,
                             QByteArray *said = nullptr);

private:
    QStringList m_arguments;
    QTemporaryDir m_dir;
    QProcess m_process;
};

// The Win32 window calls used to look at a tree, as any program would.
namespace win {
QByteArray className(HWND window);
// The window's text through WM_GETTEXT, in the system's code page.
QByteArray text(HWND window);
// The direct children, front to back.
QList<HWND> children(HWND parent);
// The visible and hidden top-level windows of a process.
QList<HWND> topLevelWindows(qint64 pid);
// The user's SID as SDDL writes it (S-1-5-21-...); empty when unknown.
QString userSid();
// Sets the file's access list, written as SDDL ("D:P(A;;FA;;;S-1-5-21-...)").
bool setFileAccess(const QString &path, const QString &dacl);
} // namespace win
