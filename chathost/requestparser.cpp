#include "requestparser.h"

#include "chatwire/chatwire.h"

namespace chathost {

namespace wire = chatwire;

std::optional<Request> parseRequest(QByteArrayView payload) {
    if (payload.isEmpty())
        return std::nullopt;
    Request request;
    request.op = std::uint8_t(payload[0]);
    const QByteArrayView args = payload.sliced(1);
    const auto fixed = [&](qsizetype size) { return args.size() == size; };
    const auto atLeast = [&](qsizetype size) { return args.size() >= size; };

    switch (request.op) {
    case wire::FindWindow:
        request.text = args.toByteArray();
        return request;
    case wire::FindWindowEx:
        if (!atLeast(16))
            return std::nullopt;
        request.window = wire::getU64(args.data());
        request.after = wire::getU64(args.data() + 8);
        request.text = args.sliced(16).toByteArray();
        return request;
    case wire::SetText:
    case wire::Type:
        if (!atLeast(8))
            return std::nullopt;
        request.window = wire::getU64(args.data());
        request.text = args.sliced(8).toByteArray();
        return request;
    case wire::SendChar:
        if (!fixed(12))
            return std::nullopt;
        request.window = wire::getU64(args.data());
        request.code = wire::getU32(args.data() + 8);
        return request;
    case wire::SetAway:
        request.text = args.toByteArray();
        return request;
    case wire::Hello:
        return fixed(0) ? std::optional(request) : std::nullopt;
    case wire::WindowText:
    case wire::Raise:
        if (!fixed(8))
            return std::nullopt;
        request.window = wire::getU64(args.data());
        return request;
    default:
        return std::nullopt;
    }
}

FrameSplit splitFrame(QByteArrayView bytes) {
    FrameSplit split;
    if (bytes.size() < 4)
        return split;
    const std::uint32_t size = wire::getU32(bytes.data());
    if (size == 0 || size > wire::kMaxFrame) {
        split.status = FrameSplit::Invalid;
        return split;
    }
    if (bytes.size() - 4 < qsizetype(size))
        return split;
    split.status = FrameSplit::Complete;
    split.payload = bytes.sliced(4, size);
    split.used = 4 + qsizetype(size);
    return split;
}

} // namespace chathost
