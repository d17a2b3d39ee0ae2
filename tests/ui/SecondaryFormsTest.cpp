#include <functional>

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>

#include "tests/ui/FormsFixture.h"

namespace quillon::testing_ui {
namespace {

class SecondaryFormsTest : public TerminalFileFixture {
protected:
    // Clicks the button and, inside the modal loop it starts, runs whileOpen on the window that
    // is then modal. A window that will not close is closed after a while, and the test fails.
    void ClickAndWhileOpen(const char* buttonName, QDialog& expected,
                           const std::function<void()>& whileOpen) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            // Modal for the whole application: the main window takes no input meanwhile.
            EXPECT_EQ(QApplication::activeModalWidget(), &expected);
            EXPECT_EQ(expected.windowModality(), Qt::ApplicationModal);
            whileOpen();
        });
        QTimer::singleShot(5000, &expected, [&expected] {
            ADD_FAILURE() << "the window did not close";
            expected.close();
        });
        Click(buttonName);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(expected.isVisible());
    }

    QPlainTextEdit* Memo() { return forms_.Form8.Memo1; }
};

TEST_F(SecondaryFormsTest, IndicatorWindowKeepsEditsBetweenOpenings) {
    ClickAndWhileOpen("Button7", forms_.Form8, [this] {
        EXPECT_EQ(forms_.Form8.windowTitle(), "Form8");
        SaveScreenshot(forms_.Form8, QStringLiteral("form8"));
        Memo()->moveCursor(QTextCursor::Start);
        QTest::keyClicks(Memo(), QStringLiteral("// mine"));
        forms_.Form8.close();
    });
    ClickAndWhileOpen("Button7", forms_.Form8, [this] {
        EXPECT_EQ(Memo()->document()->firstBlock().text(), "// mine");
        forms_.Form8.close();
    });
}

TEST_F(SecondaryFormsTest, IndicatorTextStartsEmptyThenTheBannerAndEndsWithTheClosingBrace) {
    const QTextDocument* text = Memo()->document();
    ASSERT_EQ(text->blockCount(), 125);
    EXPECT_EQ(text->findBlockByNumber(0).text(), "");
    EXPECT_EQ(text->findBlockByNumber(1).text(),
              "//+------------------------------------------------------------------+");
    EXPECT_EQ(text->findBlockByNumber(123).text(), "  }");
    EXPECT_EQ(text->findBlockByNumber(124).text(), "");
    EXPECT_TRUE(Memo()->toPlainText().contains(QStringLiteral("Обновили")));
    EXPECT_FALSE(Memo()->isReadOnly());
}

TEST(IndicatorTemplateTest, ResourceHoldsOneHundredTwentyFiveEndedLines) {
    QFile file(QStringLiteral(":/quillon/IndicatorTemplate.mq4"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_EQ(text.count('\n'), 125);
    EXPECT_TRUE(text.endsWith("  }\n\n"));
    EXPECT_FALSE(text.contains('\r'));
}

TEST_F(SecondaryFormsTest, AboutBoxShowsItsPictureAndOkClosesIt) {
    ChooseFile(terminalFile_);
    ASSERT_TRUE(Button("Button10")->isVisible());
    TForm9& about = forms_.Form9;
    ClickAndWhileOpen("Button10", about, [&about] {
        EXPECT_EQ(about.windowTitle(), "Hi !");
        EXPECT_EQ(about.size(), QSize(369, 263));
        EXPECT_EQ(about.Image1->pixmap().size(), QSize(480, 360));
        EXPECT_EQ(about.Button1->text(), "ok");
        EXPECT_FALSE(about.StaticText1->text().isEmpty());
        SaveScreenshot(about, QStringLiteral("form9"));
        QTest::mouseClick(about.Button1, Qt::LeftButton);
    });
    EXPECT_TRUE(form1_.isEnabled());
}

} // namespace
} // namespace quillon::testing_ui
