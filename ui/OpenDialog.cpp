#include "ui/OpenDialog.h"

#include <QDir>
#include <QFileDialog>

namespace quillon {

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
