// The windows that the main window opens as modal ones: the indicator window and the about box.

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "tests/ui/FormsFixture.h"

namespace quillon::testing_ui {
namespace {

using SecondaryFormsTest = FormsFixture;

TEST_F(SecondaryFormsTest, IndicatorWindowKeepsEditsAndAboutBoxClosesOnlyOnOk) {
    QPlainTextEdit* memo = forms_.Form8.Memo1;
    EXPECT_EQ(memo->document()->blockCount(), 125);
    EXPECT_TRUE(memo->toPlainText().contains(QStringLiteral("Обновили")));

    ClickAndWhileOpen("Button7", forms_.Form8, [this, memo] {
        SaveScreenshot(forms_.Form8, QStringLiteral("form8"));
        memo->moveCursor(QTextCursor::Start);
        QTest::keyClicks(memo, QStringLiteral("// mine"));
        QTest::keyClick(memo, Qt::Key_Escape);
        EXPECT_TRUE(forms_.Form8.isVisible());
    });
    ClickAndWhileOpen("Button7", forms_.Form8,
                      [memo] { EXPECT_EQ(memo->document()->firstBlock().text(), "// mine"); });

    // The about box, on the chart, which a chosen file shows.
    ChooseFile(BarFile("experts/files"));
    TForm9& about = forms_.Form9;
    ClickAndWhileOpen("Button10", about, [&about] {
        SaveScreenshot(about, QStringLiteral("form9"));
        QTest::keyClick(about.Button1, Qt::Key_Escape);
        EXPECT_TRUE(about.isVisible());
        QTest::mouseClick(about.Button1, Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
    });
}

} // namespace
} // namespace quillon::testing_ui
