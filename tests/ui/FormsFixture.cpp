#include "tests/ui/FormsFixture.h"

#include <QDir>
#include <QFile>

#include "tools/BarFileGenerator.h"

namespace quillon::testing_ui {

void FormsFixture::SetUp() {
    form1_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form1_));
}

void TerminalFileFixture::SetUp() {
    FormsFixture::SetUp();
    ASSERT_TRUE(folder_.isValid());
    ASSERT_TRUE(QDir(folder_.path()).mkpath(QStringLiteral("experts/files")));
    terminalFile_ = folder_.filePath(QStringLiteral("experts/files/EURUSD60.csv"));
    WriteGeneratedBarFile(terminalFile_, 1900);
}

void FormsFixture::Type(const char* editName, const QString& text) {
    QLineEdit* edit = Edit(editName);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void FormsFixture::ChooseFile(const QString& path) {
    dialogAnswer_ = path;
    Click("Button2");
}

void WriteGeneratedBarFile(const QString& path, int barCount) {
    TBarFileSettings settings;
    settings.barCount = barCount;
    WriteTextFile(QFile::encodeName(path).toStdString(), BarFileText(settings));
}

void SaveScreenshot(QWidget& widget, const QString& name) {
    const QDir folder(QStringLiteral(QUILLON_SCREENSHOT_DIR));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    EXPECT_TRUE(widget.grab().save(folder.filePath(name + QStringLiteral(".png"))));
}

} // namespace quillon::testing_ui
