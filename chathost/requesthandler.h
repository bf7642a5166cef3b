#pragma once

#include <QByteArray>
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

private:
    WindowTree &m_tree;
};

} // namespace chathost
