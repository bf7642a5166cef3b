#include "badfiles.h"

#include <QRandomGenerator>
#include <QStringBuilder>

namespace badfiles {

QByteArray styleSection(const QByteArray &end) {
    return "[zorvel]" + end + "PRESET=st\xfdle" + end + "PFCOLOR=112233" + end + "PACOLOR=445566" +
           end + "PMASCII=<m>" + end + "PFASCII=[f]" + end + "PBASCII={b}" + end +
           "HANDLE=somebody" + end;
}

QByteArray junk(qsizetype size) {
    QByteArray out(size, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char &c : out)
        c = char(random.bounded(256));
    return out;
}

QByteArray manySections(int count) {
    QByteArray out;
    out.reserve(qsizetype(count) * 32);
    for (int i = 0; i < count; ++i)
        out += "[s" + QByteArray::number(i) + "]\r\nPRESET=not ours\r\n";
    return out + styleSection();
}

QByteArray bigFile(qsizetype size) {
    QByteArray out = "[zorvel]\r\n";
    out.reserve(size + 256);
    for (int i = 0; out.size() < size; ++i)
        out += "FILLER" + QByteArray::number(i) + '=' + QByteArray(100, 'x') + "\r\n";
    return out + styleSection().mid(qsizetype(sizeof "[zorvel]\r\n") - 1);
}

} // namespace badfiles
