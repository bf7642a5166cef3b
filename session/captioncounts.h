#pragma once

#include <QString>

namespace session {

// The number a count caption holds: its leading decimal number, blanks
// skipped, 0 when the text does not begin with one.
qint64 captionNumber(const QString &caption);
// The shortest decimal text of a number: no leading zero, no leading blank.
QString numberText(qint64 number);

} // namespace session
