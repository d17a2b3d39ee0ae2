// The program's windows driven as a user drives them: the main window with its layout, boxes,
// file selection, runs and refresh timer; the indicator window, the about box and the open dialog.

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QTimerEvent>
#include <QWindow>

#include "chart/TChart.h"
#include "tests/bars/BarTestFiles.h"
#include "ui/ApplicationForms.h"
#include "ui/LocaleText.h"
#include "ui/OpenDialog.h"

namespace quillon::testing_ui {
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

// Saves a picture of the widget under the build folder for a person to look at.
inline void SaveScreenshot(QWidget& widget, const QString& name) {
    const QDir folder(QStringLiteral(QUILLON_SCREENSHOT_DIR));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    EXPECT_TRUE(widget.grab().save(folder.filePath(name + QStringLiteral(".png"))));
}

// The program's windows, shown, with the desktop's dialogs replaced: the open dialog records the
// name it offers and answers with dialogAnswer_ (nothing: cancel); the error box records its text.
class FormsFixture : public testing::Test {
protected:
    void SetUp() override {
        form1_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form1_));
    }

    template <typename T = QWidget>
    T* Find(const char* name) {
        T* widget = form1_.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    TChart* Chart() { return Find<TChart>("Chart1"); }
    TChartModel& Series() { return Chart()->Model(); }
    std::size_t CandleCount() { return Series().Series17().Candles().size(); }

    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    // Replaces the edit box's text the way the user would: select all, delete, type.
    void Type(const char* editName, const QString& text) {
        auto* edit = Find<QLineEdit>(editName);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    // The "get file *.CSV" button with the dialog answering path.
    void ChooseFile(const QString& path) {
        dialogAnswer_ = path;
        Click("Button2");
    }
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

    // The generator's bar file of 1,900 lines, as the terminal writes it, in a temporary folder.
    QString BarFile(const QString& folder) {
        EXPECT_TRUE(QDir(folder_.path()).mkpath(folder));
        const QString path = folder_.filePath(folder + QStringLiteral("/EURUSD60.csv"));
        WriteQuietFile(QFile::encodeName(path).toStdString(), BarFileText(TBarFileSettings{}));
        return path;
    }

    QTemporaryDir folder_;
    QStringList errors_;
    std::optional<QString> dialogAnswer_;
    QStringList presetNames_;
    TApplicationForms forms_{
        TDesktopServices{[this](QWidget*, const TOpenDialog& dialog) {
                             presetNames_ << dialog.FileName();
                             return dialogAnswer_;
                         },
                         [this](QWidget*, const QString& text) { errors_ << text; }}};
    TForm1& form1_ = forms_.Form1;
};

using Form1Test = FormsFixture;

TEST_F(Form1Test, StartsWithTheDefaultsAndArrangementOfItsLayout) {
    EXPECT_EQ(form1_.windowTitle(), "Quillon waves :)");
    for (const auto& [edit, text] :
         {std::pair{"Edit1", "39"}, {"Edit2", "16"}, {"Edit3", "500"}, {"Edit4", "10"}}) {
        EXPECT_EQ(Find<QLineEdit>(edit)->text(), text) << edit;
    }
    EXPECT_FALSE(Find("CheckBox1")->property("checked").toBool());
    EXPECT_EQ(form1_.OpenDialog1().Filters(),
              (QStringList{QStringLiteral("CSV (*.csv)"), QStringLiteral("TXT (*.txt)")}));

    // The chart left, the 110-pixel panel right with Panel5, Panel4 and Panel2 stacked at its foot.
    EXPECT_EQ(Find<QSplitter>("Splitter8")->widget(1)->width(), 110);
    EXPECT_EQ(Find("Panel4")->geometry().bottom() + 1, Find("Panel2")->y());
    EXPECT_EQ(Find("Panel5")->geometry().bottom() + 1, Find("Panel4")->y());

    // The chart, which carries Label1 and Button10, waits for the first run.
    EXPECT_FALSE(Chart()->isVisible());
}

TEST_F(Form1Test, NeitherTheSplitterNorAShrunkWindowLosesAPanelOrOverlapsItsControls) {
    auto* splitter = Find<QSplitter>("Splitter8");
    QSplitterHandle* handle = splitter->handle(1);
    // Dragged past either end, the splitter leaves 30 pixels on that side.
    for (const int side : {0, 1}) {
        const QPoint beyond(side == 0 ? -form1_.width() : form1_.width(), handle->height() / 2);
        QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(1, beyond.y()));
        QTest::mouseMove(handle, beyond);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, beyond);
        EXPECT_EQ(splitter->widget(side)->width(), 30) << side;
    }
    // Shrunk as far as it goes, the window keeps the panels at the foot below the controls above.
    form1_.resize(1, 1);
    const auto* panel1 = Find<QFrame>("Panel1");
    EXPECT_GT(Find("Panel5")->y(), Find("Button7")->geometry().bottom());
    EXPECT_EQ(Find("Panel2")->geometry().bottom(), panel1->contentsRect().bottom());
    EXPECT_EQ(panel1->width(), 30);
}

TEST_F(Form1Test, SteppersStepTheirBoxOrReportAndLeaveTheText) {
    const struct {
        const char *button, *edit, *before, *after, *error;
    } cases[] = {
        {"Button4", "Edit1", "39", "40", nullptr},
        {"Button5", "Edit1", "39", "38", nullptr},
        {"Button9", "Edit2", "0", "-1", nullptr},
        {"Button8", "Edit2", "$10", "17", nullptr},
        {"Button6", "Edit4", " 007", "8", nullptr},
        {"Button3", "Edit4", "1", "0", nullptr},
        {"Button3", "Edit4", "abc", "abc", "'abc' is not a valid integer value."},
        {"Button4", "Edit1", "2147483647", "2147483647", "Integer overflow."},
    };
    for (const auto& c : cases) {
        errors_.clear();
        Type(c.edit, QString::fromUtf8(c.before));
        Click(c.button);
        EXPECT_EQ(Find<QLineEdit>(c.edit)->text(), c.after) << c.button << " on " << c.before;
        EXPECT_EQ(errors_, c.error ? QStringList{c.error} : QStringList{}) << c.button;
    }
    // The box shows the whole message, past a zero character in the quoted text.
    errors_.clear();
    const QString withZero = QStringLiteral("4") + QChar(0) + QStringLiteral("2");
    Find<QLineEdit>("Edit1")->setText(withZero);
    Click("Button4");
    EXPECT_EQ(errors_, QStringList{"'" + withZero + "' is not a valid integer value."});
}

TEST_F(Form1Test, ChoosingAFileRunsOnItWithTheBoxesAsTheyStand) {
    // A failed first run still shows the chart.
    const QString file = BarFile("experts/files");
    Type("Edit3", QStringLiteral("abc"));
    ChooseFile(file);
    EXPECT_EQ(errors_, QStringList{QStringLiteral("'abc' is not a valid integer value.")});
    EXPECT_TRUE(Chart()->isVisible());
    // The dialog offers the last name chosen; a cancel starts no run, which would report again.
    dialogAnswer_.reset();
    Click("Button2");
    EXPECT_EQ(presetNames_, (QStringList{QString(), file}));
    EXPECT_EQ(errors_.size(), 1);
    EXPECT_EQ(form1_.SourceFilePath(), file);
    errors_.clear();
    Type("Edit3", QStringLiteral("500"));

    // The same file chosen again runs again. The label shows, as plain text, what follows the
    // first lower-case experts folder, and nothing without one; the title shows the path as it is.
    const std::pair<const char*, const char*> cases[] = {
        {"experts/files", "files/EURUSD60.csv"},
        {"experts/old/experts/files", "old/experts/files/EURUSD60.csv"},
        {"Experts/files", ""},
        {"experts/<b>x</b>[*]", "<b>x</b>[*]/EURUSD60.csv"},
        {"experts/files", "files/EURUSD60.csv"}};
    for (const auto& [folder, label] : cases) {
        Series().Series17().ClearPoints();
        const QString path = BarFile(folder);
        ChooseFile(path);
        EXPECT_EQ(Find<QLabel>("Label1")->text(), label) << folder;
        EXPECT_EQ(form1_.windowHandle()->title(), path);
        EXPECT_EQ(CandleCount(), 500u) << folder;
    }
    EXPECT_EQ(Find<QLabel>("Label1")->textFormat(), Qt::PlainText);
    EXPECT_EQ(form1_.focusWidget(), Find("Button1"));
    QTest::qWait(20);
    SaveScreenshot(form1_, QStringLiteral("main-window"));
    // The same, widened by the user, for the project's page.
    form1_.resize(760, 440);
    QTest::qWait(20);
    SaveScreenshot(form1_, QStringLiteral("main-window-wide"));

    // W1 drives the first open wave and W2 the second: with W1 at W2's 16, the first is the
    // second of before.
    const double secondOpenWaveEnd = Series().Series19().Points().back().y;
    Type("Edit1", QStringLiteral("16"));
    Click("Button1");
    EXPECT_EQ(Series().Series18().Points().back().y, secondOpenWaveEnd);
    Type("Edit3", QStringLiteral("300"));
    Click("Button1");
    EXPECT_EQ(CandleCount(), 300u);
    EXPECT_TRUE(errors_.isEmpty());
}

class RefreshTimerTest : public FormsFixture {
protected:
    // One tick, delivered as the platform delivers it: a timer event to the running timer.
    void Tick() {
        QTimer& ticker = form1_.Timer1().Ticker();
        ASSERT_TRUE(ticker.isActive()) << "a stopped timer does not tick";
        QTimerEvent tick(ticker.timerId());
        QCoreApplication::sendEvent(&ticker, &tick);
    }
    void CheckRefresh(bool checked) { Find<QCheckBox>("CheckBox1")->setChecked(checked); }
    QString Count() { return Find<QLabel>("Label14")->text(); }
    std::uint32_t Period() { return form1_.Timer1().Interval(); }
};

TEST_F(RefreshTimerTest, CheckedTicksShowTheTimeAndCountAndTakeThePeriod) {
    // Unchecked, a tick reads nothing, not even a period that is no number.
    Type("Edit4", QStringLiteral("abc"));
    Tick();
    EXPECT_FALSE(Find<QLabel>("Label4")->isVisible());
    EXPECT_EQ(Count(), "T");
    EXPECT_EQ(Period(), 1000u);
    Type("Edit4", QStringLiteral("10"));
    CheckRefresh(true);
    Tick();
    EXPECT_TRUE(Find<QLabel>("Label4")->isVisible());
    EXPECT_FALSE(Find<QLabel>("Label4")->text().isEmpty());
    EXPECT_EQ(Count(), "1");
    // The count goes on where it stood after a pause.
    CheckRefresh(false);
    Tick();
    CheckRefresh(true);
    Tick();
    EXPECT_EQ(Count(), "2");
    // A bad period is reported at every tick and changes nothing.
    for (const auto& [period, error] :
         {std::pair{"-1", "Range check error."}, {"2147484", "Integer overflow."}}) {
        errors_.clear();
        Type("Edit4", QString::fromUtf8(period));
        Tick();
        Tick();
        EXPECT_EQ(errors_, (QStringList{error, error})) << period;
        EXPECT_EQ(Period(), 10000u);
        EXPECT_EQ(Count(), "2");
    }
    errors_.clear();
    // The longest period that fits in milliseconds; then 0 stops the timer after its last tick.
    Type("Edit4", QStringLiteral("2147483"));
    Tick();
    EXPECT_EQ(Period(), 2147483000u);
    Type("Edit4", QStringLiteral("0"));
    Tick();
    EXPECT_EQ(Count(), "4");
    EXPECT_FALSE(form1_.Timer1().Ticker().isActive());
    EXPECT_TRUE(errors_.isEmpty());
}

TEST(LocaleTextTest, LongTimeAndDecimalSeparatorFollowTheLocale) {
    const QLocale german(QStringLiteral("de_DE"));
    const QLocale american(QStringLiteral("en_US"));
    EXPECT_EQ(LongTimeText(german, QTime(14, 5, 9)), "14:05:09");
    EXPECT_EQ(LongTimeText(american, QTime(14, 5, 9)), "2:05:09 PM");
    EXPECT_EQ(DecimalSeparator(german), ',');
    EXPECT_EQ(DecimalSeparator(american), '.');
    // Arabic writes its own separator, which no byte of the bar file can match.
    EXPECT_EQ(DecimalSeparator(QLocale(QStringLiteral("ar_EG"))), '.');
}

using SecondaryFormsTest = FormsFixture;

TEST_F(SecondaryFormsTest, IndicatorWindowHoldsTheTemplateAndKeepsEditsBetweenOpenings) {
    QPlainTextEdit* memo = forms_.Form8.Memo1;
    ASSERT_EQ(memo->document()->blockCount(), 125);
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
}

TEST_F(SecondaryFormsTest, AboutBoxShowsItsPictureAndOkClosesIt) {
    ChooseFile(BarFile("experts/files"));
    TForm9& about = forms_.Form9;
    ClickAndWhileOpen("Button10", about, [&about] {
        EXPECT_EQ(about.Image1->pixmap().size(), QSize(480, 360));
        SaveScreenshot(about, QStringLiteral("form9"));
        QTest::keyClick(about.Button1, Qt::Key_Escape);
        EXPECT_TRUE(about.isVisible());
        QTest::mouseClick(about.Button1, Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
    });
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
