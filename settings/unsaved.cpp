#include "unsaved.h"

#include <cstdio>

namespace settings {

void reportUnsaved(const QString &what, const QString &reason) {
    // One write, so lines from several failures never mix.
    const QByteArray line =
        QStringLiteral("zorvel: %1 was not saved: %2\n").arg(what, reason).toLocal8Bit();
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace settings
