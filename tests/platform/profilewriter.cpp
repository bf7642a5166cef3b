// A child for the crash and concurrency tests: writes the keys
// <prefix>0 .. <prefix>(count-1) into section "zorvel" of the file, one at a
// time, and prints each index on its own line once its write has returned.
//
// usage: profilewriter FILE PREFIX COUNT

#include "platform/profile.h"

#include <QByteArray>
#include <QString>
#include <cstdio>

namespace {

// The value written under key `index`: long enough that a torn file would show.
QByteArray writerValue(int index) { return "v" + QByteArray::number(index) + QByteArray(64, 'x'); }

} // namespace

int main(int argc, char **argv) {
    if (argc != 4)
        return 2;
    const QString file = QString::fromLocal8Bit(argv[1]);
    const QByteArray prefix(argv[2]);
    const int count = QByteArray(argv[3]).toInt();
    for (int i = 0; i < count; ++i) {
        const QByteArray key = prefix + QByteArray::number(i);
        if (!platform::writePrivateProfileString("zorvel", key.constData(),
                                                 writerValue(i).constData(), file))
            return 1;
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 0;
}
