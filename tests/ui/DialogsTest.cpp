// The modal windows: the indicator window, the about box and the desktop's standard dialogs.

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "tests/ui/FormsFixture.h"
#include "ui/ErrorBox.h"
#include "ui/OpenDialog.h"

namespace quillon::testing_ui {
namespace {

class SecondaryFormsTest : public FormsFixture {
protected:
    // Clicks the button and, inside the modal loop it starts, runs whileOpen; then closes the
    // window if it is still open.
    void ClickAndWhileOpen(const char* button, QDialog& expected,
                           const std::function<void()>& whileOpen) {
        bool ran = false;
        WhenModal<QDialog>([&](QDialog& shown) {
            ran = true;
            EXPECT_EQ(&shown, &expected);
            whileOpen();
            shown.close();
        });
        Click(button);
        EXPECT_TRUE(ran);
    }

    QPlainTextEdit* Memo() { return forms_.Form8.Memo1; }
};

TEST_F(SecondaryFormsTest, IndicatorWindowHoldsTheTemplateAndKeepsEditsBetweenOpenings) {
    const QTextDocument* text = Memo()->document();
    ASSERT_EQ(text->blockCount(), 125);
    EXPECT_EQ(text->findBlockByNumber(0).text(), "");
    EXPECT_EQ(text->findBlockByNumber(1).text(),
              "//+------------------------------------------------------------------+");
    EXPECT_EQ(text->findBlockByNumber(123).text(), "  }");
    EXPECT_EQ(text->findBlockByNumber(124).text(), "");
    EXPECT_TRUE(Memo()->toPlainText().contains(QStringLiteral("Обновили")));

    ClickAndWhileOpen("Button7", forms_.Form8, [this] {
        EXPECT_EQ(forms_.Form8.windowTitle(), "Form8");
        SaveScreenshot(forms_.Form8, QStringLiteral("form8"));
        Memo()->moveCursor(QTextCursor::Start);
        QTest::keyClicks(Memo(), QStringLiteral("// mine"));
        QTest::keyClick(Memo(), Qt::Key_Escape);
        EXPECT_TRUE(forms_.Form8.isVisible());
    });
    ClickAndWhileOpen("Button7", forms_.Form8,
                      [this] { EXPECT_EQ(Memo()->document()->firstBlock().text(), "// mine"); });
}

TEST_F(SecondaryFormsTest, AboutBoxShowsItsPictureAndOkClosesIt) {
    ChooseFile(BarFile("experts/files"));
    TForm9& about = forms_.Form9;
    ClickAndWhileOpen("Button10", about, [&about] {
        EXPECT_EQ(about.windowTitle(), "Hi !");
        EXPECT_EQ(about.Image1->pixmap().size(), QSize(480, 360));
        EXPECT_EQ(about.Button1->text(), "ok");
        SaveScreenshot(about, QStringLiteral("form9"));
        QTest::keyClick(about.Button1, Qt::Key_Escape);
        EXPECT_TRUE(about.isVisible());
        QTest::mouseClick(about.Button1, Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
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

TEST(OpenDialogTest, TakesANameOfAFileThatDoesNotExistAndOffersItNextTime) {
    const QTemporaryDir temporary;
    const QDir folder(temporary.path());
    const QStringList filters{QStringLiteral("CSV (*.csv)"), QStringLiteral("TXT (*.txt)")};
    TOpenDialog dialog(filters, folder.path(), ExecuteOpenDialog);
    WhenModal<QFileDialog>([&](QFileDialog& shown) {
        EXPECT_EQ(shown.nameFilters(), filters);
        EXPECT_EQ(shown.directory(), folder);
        // A dialog for existing files only would refuse the name with a box of its own.
        if (shown.fileMode() != QFileDialog::AnyFile) {
            shown.reject();
            return;
        }
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
