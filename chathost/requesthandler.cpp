#include "requesthandler.h"

#include "chathost/requestparser.h"
#include "chathost/windowmessages.h"
#include "chathost/windowtree.h"
#include "chatwire/chatwire.h"
#include "platform/cp1252.h"

#include <QCoreApplication>
#include <QWidget>

namespace chathost {

namespace wire = chatwire;

namespace {

QByteArray handleReply(Handle handle) {
    QByteArray out;
    wire::putU64(out, handle);
    return out;
}

QByteArray deliveredReply(bool delivered) { return QByteArray(1, delivered ? char(1) : char(0)); }

} // namespace

RequestHandler::RequestHandler(WindowTree &tree) : m_tree(tree) {}

std::optional<QByteArray> RequestHandler::handle(const QByteArray &payload) {
    const auto request = parseRequest(payload);
    if (!request)
        return std::nullopt;
    QWidget *window = m_tree.window(request->window);

    switch (request->op) {
    case wire::FindWindow:
        return handleReply(m_tree.findWindow(request->text));
    case wire::FindWindowEx:
        return handleReply(m_tree.findWindowEx(request->window, request->after, request->text));
    case wire::SetText:
        if (window)
            setWindowText(window, platform::fromCp1252(request->text));
        return deliveredReply(window);
    case wire::SendChar:
        if (window)
            sendCharMessage(window, int(request->code));
        return deliveredReply(window);
    case wire::Hello: {
        QByteArray out;
        wire::putU32(out, wire::kVersion);
        wire::putU64(out, std::uint64_t(QCoreApplication::applicationPid()));
        return out;
    }
    case wire::WindowText:
        return window ? platform::toCp1252(windowText(window)).left(wire::kMaxFrame) : QByteArray();
    case wire::Raise:
        if (window)
            bringToFront(window);
        return deliveredReply(window);
    case wire::Type:
        return deliveredReply(window && typeText(window, platform::fromCp1252(request->text)));
    case wire::SetAway:
        return deliveredReply(m_setAway && m_setAway(platform::fromCp1252(request->text)));
    default:
        return std::nullopt;
    }
}

} // namespace chathost
