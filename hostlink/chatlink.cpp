#include "chatlink.h"

#include "chatwire/chatwire.h"
#include "hostlink/goodbye.h"
#include "platform/cp1252.h"

#include <QHash>

#include <array>
#include <memory>

namespace hostlink {

namespace {
platform::WindowSystem *g_override = nullptr;
// What each room was told, by its window; forgotten with the window system.
QHash<platform::WindowHandle, AnnounceGate> g_gates;

platform::WindowSystem &platformWindowSystem() {
    static std::unique_ptr<platform::WindowSystem> own = platform::createWindowSystem();
    return *own;
}

constexpr int kEnter = 13;

bool isRoom(platform::WindowSystem &ws, platform::WindowHandle candidate) {
    static const std::array<QByteArray, 4> kRoomClasses = {
        chatwire::kRichTextClass, chatwire::kListBoxClass, chatwire::kIconClass,
        chatwire::kStaticClass};
    for (const QByteArray &cls : kRoomClasses) {
        if (ws.findWindowEx(candidate, 0, cls) == 0)
            return false;
    }
    return true;
}
} // namespace

void setWindowSystem(platform::WindowSystem *ws) {
    g_override = ws;
    g_gates.clear();
}

platform::WindowSystem &windowSystem() { return g_override ? *g_override : platformWindowSystem(); }

platform::WindowHandle findRoom() {
    platform::WindowSystem &ws = windowSystem();
    const platform::WindowHandle frame = ws.findWindow(chatwire::kFrameClass);
    if (frame == 0)
        return 0;
    const platform::WindowHandle container =
        ws.findWindowEx(frame, 0, chatwire::kDocumentAreaClass);
    if (container == 0)
        return 0;
    for (platform::WindowHandle child = ws.findWindowEx(container, 0, chatwire::kDocumentClass);
         child != 0; child = ws.findWindowEx(container, child, chatwire::kDocumentClass)) {
        if (isRoom(ws, child))
            return child;
    }
    return 0;
}

chatwire::AnnounceMode announceMode(platform::WindowHandle room) {
    platform::WindowSystem &ws = windowSystem();
    const platform::WindowHandle child = ws.findWindowEx(room, 0, chatwire::kAnnounceClass);
    if (child == 0)
        return chatwire::AnnounceMode::Full; // a client that knows nothing of modes
    const std::optional<QByteArray> text = ws.windowText(child);
    return text ? chatwire::parseAnnounceMode(fromWindows1252(*text))
                      .value_or(chatwire::AnnounceMode::Changes)
                : chatwire::AnnounceMode::Changes;
}

void chatSend(const QString &line, LineKind kind) {
    if (!mayPost())
        return; // the program is saying goodbye, or has said it
    platform::WindowSystem &ws = windowSystem();
    ws.beginExchange();
    const platform::WindowHandle room = findRoom();
    if (room == 0)
        return;
    const platform::WindowHandle transcript = ws.findWindowEx(room, 0, chatwire::kRichTextClass);
    const platform::WindowHandle entry =
        transcript == 0 ? 0 : ws.findWindowEx(room, transcript, chatwire::kRichTextClass);
    if (entry == 0)
        return; // a room without an entry box: the messages would reach no window
    AnnounceGate &gate = g_gates[room];
    if (!gate.allows(announceMode(room), kind))
        return;
    ws.setText(entry, toWindows1252(line));
    ws.sendChar(entry, kEnter);
    gate.posted(kind);
}

void setAway(bool away, const QString &reason) {
    platform::WindowSystem &ws = windowSystem();
    ws.beginExchange();
    // An empty away text means back, so an empty reason says something short.
    const QString text = !away ? QString() : reason.isEmpty() ? QStringLiteral("away") : reason;
    ws.setAway(toWindows1252(text));
}

QByteArray toWindows1252(const QString &text) { return platform::toCp1252(text); }

QString fromWindows1252(const QByteArray &bytes) { return platform::fromCp1252(bytes); }

} // namespace hostlink
