#include "ui/main/InitialFolder.h"

#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "bars/TerminalFolder.h"

namespace quillon {

QString BundledSampleFolder() {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    return QDir::cleanPath(
        programFolder.filePath(QStringLiteral(QUILLON_SAMPLE_FOLDER_FROM_BINARY)));
}

QString OpenDialogInitialFolder() {
    const std::string folder =
        InitialDialogFolder(WinePrefix(std::getenv("WINEPREFIX"), std::getenv("HOME")),
                            QFile::encodeName(BundledSampleFolder()).toStdString());
    return QFile::decodeName(QByteArray::fromStdString(folder));
}

} // namespace quillon
