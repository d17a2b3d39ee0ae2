#pragma once

#include <string>

#include <QByteArray>
#include <QFile>
#include <QString>

namespace quillon {

// File names are bytes; Qt's paths hold them decoded as the file system's names. These two are the
// one way between them, for the runs, the watcher, the windows and the tools.
inline std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

inline QString PathText(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

} // namespace quillon
