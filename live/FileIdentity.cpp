#include "live/FileIdentity.h"

#include <sys/stat.h>

#include <QFile>

namespace quillon {

TFileIdentity FileIdentityOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return std::nullopt;
    }
    return std::pair(status.st_dev, status.st_ino);
}

} // namespace quillon
