#include "ui/InitialFolder.h"

#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "ui/TerminalFolder.h"

namespace quillon {

QString BundledSampleFolder() {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    return QDir::cleanPath(
        programFolder.filePath(QStringLiteral(QUILLON_SAMPLE_FOLDER_FROM_BINARY)));
}

QString OpenDialogInitialFolder() {
    const std::vector<std::string> terminalFolders =
        TerminalFilesFolders(WinePrefix(std::getenv("WINEPREFIX"), std::getenv("HOME")));
    const auto folderExists = [](const std::string& folder) {
        return QFileInfo(QString::fromStdString(folder)).isDir();
    };
    return QString::fromStdString(
        InitialDialogFolder(terminalFolders, BundledSampleFolder().toStdString(), folderExists));
}

} // namespace quillon
