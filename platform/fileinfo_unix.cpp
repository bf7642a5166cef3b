#include "platform/fileinfo.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace platform {

bool isOrdinaryFile(const QString &path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    // A leading dot is what makes a file hidden here.
    return !QFileInfo(path).fileName().startsWith(u'.');
}

} // namespace platform
