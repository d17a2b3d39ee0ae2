// The windows that the main window opens as modal ones: the indicator window and the about box.

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "tests/ui/FormsFixture.h"
#include "ui/secondary/AboutPicture.h"

namespace quillon::testing_ui {
namespace {

using SecondaryFormsTest = FormsFixture;

TEST_F(SecondaryFormsTest, IndicatorWindowKeepsEditsAndAboutBoxClosesOnlyOnOk) {
    QPlainTextEdit* memo = forms_.Form8.Memo1;
    EXPECT_EQ(memo->document()->blockCount(), 125);
    EXPECT_TRUE(memo->toPlainText().contains(QStringLiteral("Обновили")));

    ClickAndWhileOpen("Button7", forms_.Form8, [this, memo] {
        SaveScreenshot(forms_.Form8, QStringLiteral("form8"));
        EXPECT_EQ(memo->geometry(), QRect(0, 0, 688, 453)) << "the whole client area";
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
        // The picture shown, pinned: its size, the title band's sky, and how many pixels its chart
        // paints in lime (the spikes up) and in red (the falling candles and the spikes down).
        const QImage picture = DrawAboutPicture();
        ASSERT_EQ(picture.size(), QSize(480, 360));
        EXPECT_EQ(about.Image1->pixmap().toImage().convertToFormat(picture.format()), picture);
        EXPECT_EQ(about.Image1->geometry(), about.rect());
        EXPECT_EQ(picture.pixelColor(0, 0), QColor(12, 24, 52));
        int lime = 0;
        int red = 0;
        for (int y = 88; y < 360; ++y) {
            for (int x = 0; x < 480; ++x) {
                const QColor pixel = picture.pixelColor(x, y);
                lime += pixel == QColor(0, 255, 0) ? 1 : 0;
                red += pixel == QColor(255, 0, 0) ? 1 : 0;
            }
        }
        EXPECT_EQ(lime, 265);
        EXPECT_EQ(red, 1443);
        QTest::keyClick(about.Button1, Qt::Key_Escape);
        EXPECT_TRUE(about.isVisible());
        QTest::mouseClick(about.Button1, Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
    });
}

} // namespace
} // namespace quillon::testing_ui
