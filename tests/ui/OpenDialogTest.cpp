// The open dialog as the desktop shows it.

#include <QFileDialog>

#include "tests/ui/FormsFixture.h"
#include "ui/main/OpenDialog.h"

namespace quillon::testing_ui {
namespace {

TEST(OpenDialogTest, TakesANameOfAFileThatDoesNotExistAndOffersItNextTime) {
    const QTemporaryDir temporary;
    const QDir folder(temporary.path());
    const QStringList filters{QStringLiteral("CSV (*.csv)"), QStringLiteral("TXT (*.txt)")};
    TOpenDialog dialog(filters, folder.path(), ExecuteOpenDialog);
    WhenModal<QFileDialog>([&](QFileDialog& shown) {
        EXPECT_EQ(shown.nameFilters(), filters);
        EXPECT_EQ(shown.directory(), folder);
        // A dialog for existing files only would refuse the name with a box of its own.
        EXPECT_EQ(shown.fileMode(), QFileDialog::AnyFile);
        shown.selectFile(QStringLiteral("EURUSD60.csv"));
        static_cast<QDialog&>(shown).accept();
    });
    ASSERT_TRUE(dialog.Execute(nullptr));
    const QString chosen = folder.filePath(QStringLiteral("EURUSD60.csv"));
    EXPECT_EQ(dialog.FileName(), QDir::toNativeSeparators(chosen));

    WhenModal<QFileDialog>([&chosen](QFileDialog& shown) {
        EXPECT_EQ(shown.selectedFiles(), QStringList{chosen});
        shown.reject();
    });
    EXPECT_FALSE(dialog.Execute(nullptr));
    EXPECT_EQ(dialog.FileName(), QDir::toNativeSeparators(chosen));
    // The closed dialogs kept nothing in the user's home, which the tests make an empty folder.
    const QStringList kept =
        QDir::home().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_TRUE(kept.isEmpty()) << kept.join(QLatin1Char(' ')).toStdString();
}

} // namespace
} // namespace quillon::testing_ui
