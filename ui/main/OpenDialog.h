#pragma once

#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

class QWidget;

namespace quillon {

class TOpenDialog;

// Asks the user for a file as the dialog is set up; no answer when the user cancels. Tests put
// their own answer in its place.
using TOpenDialogPresenter =
    std::function<std::optional<QString>(QWidget* parent, const TOpenDialog& dialog)>;

// The file-open dialog of the main window: its filters, the folder it starts in, and the name it
// offers, which is the last file chosen.
class TOpenDialog {
public:
    TOpenDialog(QStringList filters, QString initialDir, TOpenDialogPresenter presenter);

    const QStringList& Filters() const { return filters_; }
    const QString& InitialDir() const { return initialDir_; }
    const QString& FileName() const { return fileName_; }

    // Shows the dialog; true, with FileName set to the chosen path, unless the user cancels.
    bool Execute(QWidget* parent);

private:
    QStringList filters_;
    QString initialDir_;
    QString fileName_;
    TOpenDialogPresenter presenter_;
};

// The desktop's own dialog, as Qt draws it: resizable, one file, and a typed name is taken
// whether or not such a file exists. The path comes back with the platform's separators.
std::optional<QString> ExecuteOpenDialog(QWidget* parent, const TOpenDialog& dialog);

} // namespace quillon
