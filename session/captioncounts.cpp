#include "captioncounts.h"

namespace session {

qint64 captionNumber(const QString &caption) {
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < caption.size() && (caption[i] == u' ' || caption[i] == u'\t'))
            ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < caption.size() && (caption[i] == u'-' || caption[i] == u'+')) {
        negative = caption[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    for (; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (c == u' ' || c == u'\t')
            continue; // blanks inside the number are skipped too
        if (c < u'0' || c > u'9')
            break;
        // A count this large never comes from counting; stop before overflow.
        if (value > (std::numeric_limits<qint64>::max() - 9) / 10)
            break;
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

QString numberText(qint64 number) { return QString::number(number); }

} // namespace session
