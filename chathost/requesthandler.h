#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace chathost {

class WindowTree;

// Answers one request of the wire protocol (chathost/PROTOCOL.md), a frame's
// payload, against the window tree. A request that is malformed gets no
// answer: the connection that sent it is to be closed.
class RequestHandler {
public:
    explicit RequestHandler(WindowTree &tree);

    std::optional<QByteArray> handle(const QByteArray &payload);
    // Who takes SetAway: true when a network took the text. Without one,
    // SetAway is answered 0.
    void setAwayHandler(std::function<bool(const QString &)> handler) {
        m_setAway = std::move(handler);
    }

private:
    WindowTree &m_tree;
    std::function<bool(const QString &)> m_setAway;
};

} // namespace chathost
