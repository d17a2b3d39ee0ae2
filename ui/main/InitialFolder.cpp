#include "ui/main/InitialFolder.h"

#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "bars/TerminalFolder.h"
#include "live/FilePath.h"

namespace quillon {

QString BundledSampleFolder() {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    return QDir::cleanPath(
        programFolder.filePath(QStringLiteral(QUILLON_SAMPLE_FOLDER_FROM_BINARY)));
}

QString OpenDialogInitialFolder() {
    const std::string folder =
        InitialDialogFolder(WinePrefix(std::getenv("WINEPREFIX"), std::getenv("HOME")),
                            PathBytes(BundledSampleFolder()));
    return PathText(folder);
}

} // namespace quillon
