#include <gtest/gtest.h>

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "ui/ErrorBox.h"
#include "ui/OpenDialog.h"

namespace quillon {
namespace {

// Runs whileOpen on the modal window that the code under test opens next.
template <typename Window>
void WhenModal(const std::function<void(Window&)>& whileOpen) {
    QTimer::singleShot(0, [whileOpen] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        whileOpen(*window);
    });
}

TEST(StandardErrorBoxTest, HasStopIconOneOkButtonAndTheApplicationsTitle) {
    WhenModal<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box.text(), "Integer overflow.");
        EXPECT_EQ(box.windowTitle(), QGuiApplication::applicationDisplayName());
        box.button(QMessageBox::Ok)->click();
    });
    ShowStandardErrorBox(nullptr, QStringLiteral("Integer overflow."));
}

class OpenDialogTest : public testing::Test {
protected:
    QTemporaryDir folder_;
    TOpenDialog dialog_{{QStringLiteral("CSV (*.csv)"), QStringLiteral("TXT (*.txt)")},
                        folder_.path(),
                        ExecuteOpenDialog};
};

TEST_F(OpenDialogTest, TakesANameOfAFileThatDoesNotExistAndOffersItNextTime) {
    WhenModal<QFileDialog>([this](QFileDialog& shown) {
        EXPECT_EQ(shown.nameFilters(),
                  (QStringList{QStringLiteral("CSV (*.csv)"), QStringLiteral("TXT (*.txt)")}));
        EXPECT_EQ(shown.selectedNameFilter(), "CSV (*.csv)");
        EXPECT_EQ(shown.directory().absolutePath(), QDir(folder_.path()).absolutePath());
        shown.selectFile(QStringLiteral("EURUSD60.csv"));
        static_cast<QDialog&>(shown).accept();
    });
    ASSERT_TRUE(dialog_.Execute(nullptr));
    const QString chosen = QDir(folder_.path()).filePath(QStringLiteral("EURUSD60.csv"));
    EXPECT_EQ(dialog_.FileName(), QDir::toNativeSeparators(chosen));

    WhenModal<QFileDialog>([&chosen](QFileDialog& shown) {
        EXPECT_EQ(shown.selectedFiles(), QStringList{chosen});
        shown.reject();
    });
    EXPECT_FALSE(dialog_.Execute(nullptr));
    EXPECT_EQ(dialog_.FileName(), QDir::toNativeSeparators(chosen));
}

} // namespace
} // namespace quillon
