// chathost's request parsing against any bytes a connection may send.
//
// Input: the bytes of one connection. Frames are split off its front as the
// server does, and each payload parsed: exactly the well-formed requests
// parse, and each is exactly what its fields encode back to.

#include "chathost/requestparser.h"
#include "platform/windowsystem_unix.h"
#include "tests/fuzz/fuzzcheck.h"

#include <QByteArray>
#include <cstdint>

namespace {

namespace wire = chatwire;

QByteArray encode(const chathost::Request &request) {
    QByteArray out(1, char(request.op));
    switch (request.op) {
    case wire::FindWindow:
    case wire::SetAway:
        return out + request.text;
    case wire::FindWindowEx:
        wire::putU64(out, request.window);
        wire::putU64(out, request.after);
        return out + request.text;
    case wire::SetText:
    case wire::Type:
        wire::putU64(out, request.window);
        return out + request.text;
    case wire::SendChar:
        wire::putU64(out, request.window);
        wire::putU32(out, request.code);
        return out;
    case wire::WindowText:
    case wire::Raise:
        wire::putU64(out, request.window);
        return out;
    default:
        return out;
    }
}

// Whether the protocol allows the payload: a known opcode with arguments of its size.
bool wellFormed(QByteArrayView payload) {
    const qsizetype args = payload.size() - 1;
    switch (std::uint8_t(payload[0])) {
    case wire::FindWindow:
    case wire::SetAway:
        return true;
    case wire::FindWindowEx:
        return args >= 16;
    case wire::SetText:
    case wire::Type:
        return args >= 8;
    case wire::SendChar:
        return args == 12;
    case wire::Hello:
        return args == 0;
    case wire::WindowText:
    case wire::Raise:
        return args == 8;
    default:
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArrayView stream(data, qsizetype(size));
    qsizetype used = 0;
    for (;;) {
        const QByteArrayView rest = stream.sliced(used);
        const chathost::FrameSplit split = chathost::splitFrame(rest);
        if (split.status == chathost::FrameSplit::Incomplete) {
            fuzzCheck(rest.size() < 4 || wire::getU32(rest.data()) > rest.size() - 4,
                      "only a short frame waits for more bytes");
            break;
        }
        if (split.status == chathost::FrameSplit::Invalid) {
            const std::uint32_t length = wire::getU32(rest.data());
            fuzzCheck(length == 0 || length > wire::kMaxFrame, "only a bad length is refused");
            break;
        }
        fuzzCheck(split.used == split.payload.size() + 4 && split.used <= rest.size(),
                  "a frame lies within the bytes received");
        fuzzCheck(split.payload.size() >= 1 && split.payload.size() <= qsizetype(wire::kMaxFrame),
                  "a payload is 1 to 65536 bytes");
        fuzzCheck(split.payload.data() == rest.data() + 4, "a payload follows its length");
        const auto request = chathost::parseRequest(split.payload);
        fuzzCheck(request.has_value() == wellFormed(split.payload),
                  "exactly the well-formed requests parse");
        if (request)
            fuzzCheck(encode(*request) == split.payload.toByteArray(),
                      "a request parsed is what its fields encode");
        used += split.used;
    }
    return 0;
}
