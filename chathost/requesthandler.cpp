#include "requesthandler.h"

#include "cp1252.h"
#include "windowmessages.h"
#include "windowsystem_unix.h"
#include "windowtree.h"

#include <QCoreApplication>
#include <QWidget>

namespace chathost {

namespace wire = platform::chatwire;

namespace {

QByteArray handleReply(Handle handle) {
    QByteArray out;
    wire::putU64(out, handle);
    return out;
}

QByteArray deliveredReply(bool delivered) { return QByteArray(1, delivered ? char(1) : char(0)); }

} // namespace

RequestHandler::RequestHandler(WindowTree &tree) : m_tree(tree) {}

std::optional<QByteArray> RequestHandler::handle(const QByteArray &request) {
    if (request.isEmpty())
        return std::nullopt;
    const char *args = request.constData() + 1;
    const qsizetype argSize = request.size() - 1;
    // Every request that names a window starts its arguments with the handle.
    QWidget *window = argSize >= 8 ? m_tree.window(wire::getU64(args)) : nullptr;

    switch (std::uint8_t(request[0])) {
    case wire::FindWindow:
        return handleReply(m_tree.findWindow(request.mid(1)));
    case wire::FindWindowEx:
        if (argSize < 16)
            return std::nullopt;
        return handleReply(
            m_tree.findWindowEx(wire::getU64(args), wire::getU64(args + 8), request.mid(17)));
    case wire::SetText:
        if (argSize < 8)
            return std::nullopt;
        if (window)
            setWindowText(window, platform::fromCp1252(request.mid(9)));
        return deliveredReply(window);
    case wire::SendChar:
        if (argSize != 12)
            return std::nullopt;
        if (window)
            sendCharMessage(window, int(wire::getU32(args + 8)));
        return deliveredReply(window);
    case wire::Hello: {
        if (argSize != 0)
            return std::nullopt;
        QByteArray out;
        wire::putU32(out, wire::kVersion);
        wire::putU64(out, std::uint64_t(QCoreApplication::applicationPid()));
        return out;
    }
    case wire::WindowText:
        if (argSize != 8)
            return std::nullopt;
        return window ? platform::toCp1252(windowText(window)).left(wire::kMaxFrame) : QByteArray();
    case wire::Raise:
        if (argSize != 8)
            return std::nullopt;
        if (window)
            bringToFront(window);
        return deliveredReply(window);
    case wire::Type:
        if (argSize < 8)
            return std::nullopt;
        return deliveredReply(window && typeText(window, platform::fromCp1252(request.mid(9))));
    default:
        return std::nullopt;
    }
}

} // namespace chathost
