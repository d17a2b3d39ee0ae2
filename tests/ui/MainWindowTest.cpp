// The main window driven as a user drives it: its layout, the steppers, the file selection and
// the runs.

#include <string>
#include <string_view>

#include <QAccessible>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QSplitter>
#include <QWindow>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "bars/MarksAtClose.h"
#include "bars/TrackRecord.h"
#include "tests/chart/RunOutcome.h"
#include "tests/ui/FormsFixture.h"

namespace quillon::testing_ui {
namespace {

using Form1Test = FormsFixture;

TEST_F(Form1Test, StartsWithoutTheChartAndKeepsItsPanelsWhenSplitOrShrunk) {
    // The chart, which carries Label1 and Button10, waits for the first run.
    EXPECT_FALSE(Find("Chart1")->isVisible());
    // A screen reader can say every control's name; the edit boxes say what they hold.
    const auto spoken = [](QWidget* control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    QStringList names;
    for (const char* control : {"Edit1", "Edit2", "Edit3", "Edit4", "Chart1"}) {
        names << spoken(Find(control));
    }
    EXPECT_EQ(names, QStringList({"W1", "W2", "Load bars to wave", "Refresh period", "Chart"}));
    for (QWidget* control : form1_.findChildren<QWidget*>()) {
        if (control->focusPolicy() != Qt::NoFocus) {
            EXPECT_FALSE(spoken(control).isEmpty()) << control->metaObject()->className();
        }
    }
    // Each control where the designer put it in its parent; a label from its corner, since it
    // sizes itself to its text. Panel1 is 110 wide, its bottom panels 48, 88 and 41 high.
    const struct {
        const char* name;
        int x, y, width, height;
    } placed[] = {
        {"Button2", 8, 6, 97, 17},   {"Label2", 9, 26, 0, 0},      {"Label5", 8, 56, 0, 0},
        {"Button5", 34, 55, 21, 19}, {"Edit1", 57, 54, 25, 21},    {"Button4", 84, 54, 20, 20},
        {"Label6", 8, 96, 0, 0},     {"Button9", 35, 93, 20, 20},  {"Edit2", 57, 93, 24, 21},
        {"Button8", 83, 93, 21, 20}, {"Button7", 16, 152, 81, 25}, {"Label3", 12, 3, 0, 0},
        {"Edit3", 15, 19, 82, 21},   {"CheckBox1", 11, 7, 86, 17}, {"Button3", 12, 32, 17, 21},
        {"Edit4", 32, 32, 33, 21},   {"Button6", 68, 32, 16, 20},  {"Label14", 13, 66, 0, 0},
        {"Label4", 47, 66, 0, 0},    {"Button1", 8, 10, 97, 20},   {"Label1", 6, 3, 0, 0},
        {"Button10", 47, 27, 18, 17}};
    for (const auto& [name, x, y, width, height] : placed) {
        const QRect at = Find(name)->geometry();
        EXPECT_EQ(at,
                  QRect(x, y, width == 0 ? at.width() : width, height == 0 ? at.height() : height))
            << name;
    }
    EXPECT_EQ(Find("Panel1")->width(), 110);
    const QList<int> panelHeights{Find("Panel5")->height(), Find("Panel4")->height(),
                                  Find("Panel2")->height()};
    EXPECT_EQ(panelHeights, QList<int>({48, 88, 41}));
    // Dragged past either end, the splitter leaves 30 pixels on that side.
    auto* splitter = Find<QSplitter>("Splitter8");
    QSplitterHandle* handle = splitter->handle(1);
    for (const int side : {0, 1}) {
        const QPoint beyond(side == 0 ? -form1_.width() : form1_.width(), handle->height() / 2);
        QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(1, beyond.y()));
        QTest::mouseMove(handle, beyond);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, beyond);
        EXPECT_EQ(splitter->widget(side)->width(), 30) << side;
    }
    // Shrunk as far as it goes, the window keeps Panel5, Panel4 and Panel2 stacked at the foot of
    // the panel, below the controls above.
    form1_.resize(1, 1);
    const auto* panel1 = Find<QFrame>("Panel1");
    EXPECT_GT(Find("Panel5")->y(), Find("Button7")->geometry().bottom());
    EXPECT_EQ(Find("Panel5")->geometry().bottom() + 1, Find("Panel4")->y());
    EXPECT_EQ(Find("Panel4")->geometry().bottom() + 1, Find("Panel2")->y());
    EXPECT_EQ(Find("Panel2")->geometry().bottom(), panel1->contentsRect().bottom());
    EXPECT_EQ(panel1->width(), 30);
}

// A failure leaves the text; its box shows the whole message, past a zero character in the text.
TEST_F(Form1Test, SteppersStepTheirBoxOrReportAndLeaveTheText) {
    using namespace std::string_view_literals;
    const auto text = [](std::string_view s) { return QString::fromUtf8(s.data(), s.size()); };
    const struct {
        const char *button, *edit;
        std::string_view before, after, error;
    } cases[] = {
        {"Button4", "Edit1", "39", "40", ""},
        {"Button5", "Edit1", "39", "38", ""},
        {"Button9", "Edit2", "0", "-1", ""},
        {"Button8", "Edit2", "$10", "17", ""},
        {"Button6", "Edit4", " 007", "8", ""},
        {"Button3", "Edit4", "1", "0", ""},
        {"Button3", "Edit4", "a\0b"sv, "a\0b"sv, "'a\0b' is not a valid integer value."sv},
        {"Button4", "Edit1", "2147483647", "2147483647", "Integer overflow."},
    };
    for (const auto& c : cases) {
        errors_.clear();
        SetText(c.edit, text(c.before));
        Click(c.button);
        EXPECT_EQ(Find<QLineEdit>(c.edit)->text(), text(c.after)) << c.button;
        EXPECT_EQ(errors_, c.error.empty() ? QStringList{} : QStringList{text(c.error)})
            << c.button;
    }
}

TEST_F(Form1Test, ChoosingAFileRunsOnItWithTheBoxesAsTheyStand) {
    // A failed first run still shows the chart.
    const QString file = BarFile("experts/files");
    SetText("Edit3", QStringLiteral("abc"));
    ChooseFile(file);
    EXPECT_EQ(errors_, QStringList{QStringLiteral("'abc' is not a valid integer value.")});
    EXPECT_TRUE(Find("Chart1")->isVisible());
    // A cancel starts no run, which would report again.
    dialogAnswer_.reset();
    Click("Button2");
    EXPECT_EQ(errors_.size(), 1);
    errors_.clear();
    SetText("Edit3", QStringLiteral("500"));

    // The same file chosen again runs again. The label shows, as plain text, what follows the
    // first lower-case experts folder, and nothing without one; the title shows the path as it is.
    const std::pair<const char*, const char*> cases[] = {
        {"experts/<b>x</b>[*]", "<b>x</b>[*]/EURUSD60.csv"},
        {"experts/old/experts/files", "old/experts/files/EURUSD60.csv"},
        {"Experts/files", ""},
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
    // The chart at 800 x 600 after a run on the sample file (the generator's 2,000 bars) is
    // quillon-chart's picture in the README.
    ChooseFile(BarFile("experts/files", BarFileText(TBarFileSettings{.barCount = 2000})));
    QImage chart(800, 600, QImage::Format_RGB32);
    QPainter painter(&chart);
    Find<TChart>("Chart1")->Render(painter, chart.rect());
    painter.end();
    EXPECT_TRUE(chart ==
                QImage(QUILLON_DOCS_DIR "/quillon-chart.png").convertToFormat(chart.format()));
    // Widened by the user, for the project's page.
    form1_.resize(760, 440);
    QTest::qWait(20);
    SaveScreenshot(form1_, QStringLiteral("main-window-wide"));
    EXPECT_EQ(Find("Panel1")->width(), 110) << "the chart takes what the window gains";

    // W1 drives the first open wave and W2 the second: with W1 at W2's 16, the first is the
    // second of before.
    const double secondOpenWaveEnd = Series().Series19().Points().back().y;
    SetText("Edit1", QStringLiteral("16"));
    Click("Button1");
    EXPECT_EQ(Series().Series18().Points().back().y, secondOpenWaveEnd);

    // A file that cannot be read holds the window up for a second and ends the run silently.
    ASSERT_TRUE(QFile::remove(form1_.SourceFilePath()));
    QElapsedTimer clock;
    clock.start();
    Click("Button1");
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_EQ(CandleCount(), 500u);
    EXPECT_TRUE(errors_.isEmpty());
}

// A run shows all or nothing: one that fails leaves every series as the last complete run left it
// (before the first, nothing) and says why on the chart, where a screen reader says it too; the
// next complete run takes the words away.
TEST_F(Form1Test, AFailedRunKeepsTheLastCompleteChartAndSaysWhy) {
    const auto status = [this] {
        const auto* line = Find<QLabel>("RunStatus");
        const QString spoken =
            QAccessible::queryAccessibleInterface(Find("Chart1"))->text(QAccessible::Description);
        EXPECT_EQ(spoken, line->isVisible() ? line->toolTip() : QString());
        return spoken;
    };
    const auto says = [&](const char* words) {
        const QString text = status();
        return text.startsWith(QStringLiteral("failed ")) &&
               text.endsWith(QString::fromUtf8(words));
    };
    ChooseFile(BarFile(QStringLiteral("short"), BarFileText(TBarFileSettings{.barCount = 100})));
    EXPECT_TRUE(Find("Chart1")->isVisible());
    EXPECT_EQ(ChartContent(Series()), std::vector<TSeriesContent>(TChartModel::SeriesCount));
    EXPECT_TRUE(says(": only 100 lines, fewer than the 500 bars asked for"))
        << status().toStdString();

    const QString good = BarFile(QStringLiteral("good"));
    ChooseFile(good);
    const std::vector<TSeriesContent> complete = ChartContent(Series());
    EXPECT_EQ(CandleCount(), 500u);
    EXPECT_EQ(status(), QString());
    SetText("Edit1", QStringLiteral("abc"));
    Click("Button1");
    EXPECT_TRUE(says(": 'abc' is not a valid integer value (W1)"));
    form1_.resize(760, 440);
    SaveScreenshot(form1_, QStringLiteral("main-window-failed-run"));
    EXPECT_EQ(ChartContent(Series()), complete);
    SetText("Edit1", QStringLiteral("39"));
    const int holder = ::open(QFile::encodeName(good).constData(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    Click("Button1");
    ::close(holder);
    EXPECT_TRUE(says(": held or being written by another program"));
    EXPECT_EQ(ChartContent(Series()), complete);
    ChooseFile(BarFile(QStringLiteral("bad"),
                       BarFileText(TBarFileSettings{}) + "20240315,1200,1.08,high,1.07,1.08,87\n"));
    EXPECT_TRUE(says(": line 1,901: 'high' is not a valid floating point value"));
    EXPECT_EQ(ChartContent(Series()), complete);
    // A trailing empty line is a line the run loads, and fails on.
    ChooseFile(BarFile(QStringLiteral("empty"), BarFileText(TBarFileSettings{}) + "\r\n"));
    EXPECT_TRUE(says(": line 1,901: '' is not a valid floating point value"));
    EXPECT_EQ(ChartContent(Series()), complete);
    ChooseFile(good);
    EXPECT_EQ(status(), QString());
}

// "Marks at close": checked, the chart adds the mark each bar showed when it was the newest,
// worked out beside the window, and a line sums them up against the chart's marks with what their
// turns made; unchecked, they go. The figures are pinned: the marks at close themselves are held
// against the file cut at each line in the tests of bars/. At the window's
// first size the line is cut short, its whole text in its tip and for a screen reader, and it
// keeps clear of the price labels and of the file's name.
TEST_F(Form1Test, MarksAtCloseComeBesideTheChartsMarksAndGo) {
    const QString file = BarFile(QStringLiteral("files"));
    ChooseFile(file);
    const std::vector<TMark>& shown = Series().Marks().Points();
    EXPECT_TRUE(shown.empty());
    auto* line = Find<QLabel>("MarksAtCloseLine");
    Find<QCheckBox>("MarksAtClose")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.empty(); }, 10000));
    const auto ups = std::count_if(shown.begin(), shown.end(), [](const TMark& m) { return m.up; });
    EXPECT_EQ(ups, 249);
    EXPECT_EQ(static_cast<long>(shown.size()) - ups, 138);
    EXPECT_EQ(shown.front().x, 15);
    ASSERT_TRUE(QTest::qWaitFor([&] { return line->toolTip().contains("traded"); }, 10000));
    EXPECT_EQ(line->toolTip().toStdString(),
              "marks at close: 67 % agree with the chart; turns: 29 at close, 12 in the chart; "
              "traded at close +784 points in 11 trades; in the chart +1,875 in 5");
    EXPECT_EQ(line->accessibleDescription(), line->toolTip());
    EXPECT_TRUE(line->text().endsWith(QChar(0x2026))) << line->text().toStdString();
    auto* chart = Find<TChart>("Chart1");
    const TChartLayout layout = chart->Layout(chart->rect());
    for (const TAxisLabel& label : layout.labels) {
        const TPixelRect box = LabelTextBox(layout, label, chart->fontMetrics().height());
        EXPECT_FALSE(line->geometry().intersects(
            QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom))))
            << label.text;
    }
    EXPECT_LE(line->geometry().right(), chart->width());
    EXPECT_FALSE(line->geometry().intersects(Find("Label1")->geometry()));
    SaveScreenshot(form1_, QStringLiteral("main-window-marks-at-close"));
    Find<QCheckBox>("MarksAtClose")->click();
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(line->isVisible());
}

// A run reads prices with the decimal separator of the program's locale, as it stands at the run:
// under a decimal-comma locale a file written with decimal points ends its run at the first bar.
// Arabic writes its own separator, which no byte of a bar file can match: a point stands in.
TEST_F(Form1Test, RunsReadPricesWithTheDecimalSeparatorOfTheProgramsLocale) {
    const QString withPoints = BarFile(QStringLiteral("decimal-points"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ChooseFile(withPoints);
    EXPECT_EQ(CandleCount(), 0u);
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    ChooseFile(withPoints);
    EXPECT_EQ(CandleCount(), 500u);
}

} // namespace
} // namespace quillon::testing_ui
