#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>

namespace chathost {

// One request of the wire protocol (chathost/PROTOCOL.md), its arguments
// decoded; only the fields its opcode takes are set.
struct Request {
    std::uint8_t op = 0;
    std::uint64_t window = 0; // the window named, FindWindowEx's parent
    std::uint64_t after = 0;  // FindWindowEx's child to start after
    std::uint32_t code = 0;   // SendChar's character code
    QByteArray text;          // the class or text that ends the payload
};

// The request in one frame's payload; nothing when it is malformed (empty,
// an unknown opcode or arguments of the wrong size).
std::optional<Request> parseRequest(QByteArrayView payload);

// The first frame at the front of the bytes a connection has sent so far.
struct FrameSplit {
    enum Status { Complete, Incomplete, Invalid };
    Status status = Incomplete;
    QByteArrayView payload; // Complete only
    qsizetype used = 0;     // bytes the frame takes, length included (Complete only)
};
// Invalid: a length of 0 or above the largest frame; the connection is to be closed.
FrameSplit splitFrame(QByteArrayView bytes);

} // namespace chathost
