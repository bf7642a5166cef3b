#pragma once

#include "chatwire/chatwire.h"
#include "hostlink/chatlink.h"
#include "platform/windowsystem.h"

#include <QByteArray>
#include <QList>
#include <functional>

// A window system with one chat room whose entry box records every line
// posted into it (set-text, then Enter), for tests that look at lines and
// what the program held when it posted them, without a chathost.
// Installs itself as the link's window system for its lifetime.
class RecordingRoom final : public platform::WindowSystem {
public:
    RecordingRoom() { hostlink::setWindowSystem(this); }
    ~RecordingRoom() override { hostlink::setWindowSystem(nullptr); }
    RecordingRoom(const RecordingRoom &) = delete;
    RecordingRoom &operator=(const RecordingRoom &) = delete;

    // Called after each line is posted, with its bytes.
    std::function<void(const QByteArray &)> onPost;

    QList<QByteArray> lines;
    // Every away text the program set, in order (empty: back).
    QList<QByteArray> awayTexts;
    // The lines as text, for reading in failures.
    QStringList texts() const {
        QStringList out;
        for (const QByteArray &l : lines)
            out << hostlink::fromWindows1252(l);
        return out;
    }

    platform::WindowHandle findWindow(const QByteArray &cls) override {
        return cls == chatwire::kFrameClass ? kFrame : 0;
    }
    platform::WindowHandle findWindowEx(platform::WindowHandle parent, platform::WindowHandle after,
                                        const QByteArray &cls) override {
        if (parent == kFrame && after == 0 && cls == chatwire::kDocumentAreaClass)
            return kContainer;
        if (parent == kContainer && after == 0 && cls == chatwire::kDocumentClass)
            return kRoom;
        if (parent != kRoom)
            return 0;
        if (cls == chatwire::kRichTextClass)
            return after == 0 ? kTranscript : after == kTranscript ? kEntry : 0;
        if (after != 0)
            return 0;
        if (cls == chatwire::kListBoxClass)
            return 7;
        if (cls == chatwire::kIconClass)
            return 8;
        if (cls == chatwire::kStaticClass)
            return 9;
        return 0;
    }
    void setText(platform::WindowHandle w, const QByteArray &text) override {
        if (w == kEntry)
            m_entry = text;
    }
    void sendChar(platform::WindowHandle w, int code) override {
        if (w != kEntry || code != 13)
            return;
        lines << m_entry;
        m_entry.clear();
        if (onPost)
            onPost(lines.last());
    }

    void setAway(const QByteArray &text1252) override { awayTexts << text1252; }

private:
    static constexpr platform::WindowHandle kFrame = 1, kContainer = 2, kRoom = 3, kTranscript = 4,
                                            kEntry = 5;
    QByteArray m_entry;
};
