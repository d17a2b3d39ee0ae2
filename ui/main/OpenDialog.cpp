#include "ui/main/OpenDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QSettings>

namespace quillon {

namespace {

// Qt's dialog reads its history and view from the user's settings when it opens and writes them
// back when it closes, even after a cancel. The program keeps no state between runs, so the
// user's settings files are looked for under /dev/null, where no folder and no file can be
// made, not even by root: the reads find nothing and the writes fail quietly.
void KeepNoDialogSettings() {
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
    }
}

} // namespace

TOpenDialog::TOpenDialog(QStringList filters, QString initialDir, TOpenDialogPresenter presenter)
    : filters_(std::move(filters))
    , initialDir_(std::move(initialDir))
    , presenter_(std::move(presenter)) {}

bool TOpenDialog::Execute(QWidget* parent) {
    const std::optional<QString> chosen = presenter_(parent, *this);
    if (!chosen) {
        return false;
    }
    fileName_ = *chosen;
    return true;
}

std::optional<QString> ExecuteOpenDialog(QWidget* parent, const TOpenDialog& setup) {
    KeepNoDialogSettings();
    QFileDialog dialog(parent);
    // The desktop's native dialogs insist on an existing file when opening; Qt's own does not.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(setup.Filters());
    dialog.setDirectory(setup.InitialDir());
    if (!setup.FileName().isEmpty()) {
        dialog.selectFile(setup.FileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace quillon
