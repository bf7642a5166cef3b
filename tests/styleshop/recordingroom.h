#pragma once

#include "windowsystem.h"

#include <QByteArrayList>

// A chat client with one open room that keeps, in order, every line entered
// in the room's entry box. Installed as the link's window system for the
// object's life.
class RecordingRoom final : public platform::WindowSystem {
public:
    RecordingRoom();
    ~RecordingRoom() override;
    RecordingRoom(const RecordingRoom &) = delete;
    RecordingRoom &operator=(const RecordingRoom &) = delete;

    // The lines posted so far, in Windows-1252.
    const QByteArrayList &lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

    platform::WindowHandle findWindow(const QByteArray &className) override;
    platform::WindowHandle findWindowEx(platform::WindowHandle parent,
                                        platform::WindowHandle childAfter,
                                        const QByteArray &className) override;
    void setText(platform::WindowHandle window, const QByteArray &text1252) override;
    void sendChar(platform::WindowHandle window, int code) override;

private:
    QByteArray m_entryText;
    QByteArrayList m_lines;
};
