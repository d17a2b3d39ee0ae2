// The main window's handlers: the Make-Waves run, the file selection, the steppers, the
// secondary windows and the refresh tick.

#include <algorithm>
#include <exception>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDateTime>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

#include "bars/ReadPolicy.h"
#include "bars/TextAfter.h"
#include "base/CheckedInt.h"
#include "base/ErrorText.h"
#include "base/Errors.h"
#include "base/IntegerText.h"
#include "chart/MakeWavesRun.h"
#include "chart/TChart.h"
#include "live/EightBitText.h"
#include "live/FilePath.h"
#include "ui/ScreenPlacement.h"
#include "ui/main/LocaleText.h"
#include "ui/main/Unit1.h"

namespace quillon {

namespace {

// The toolkit reads "[*]" in a window title as the place of the modified mark and drops it; a
// doubled one stands for itself, so a path shows in the title bar exactly as it is.
QString LiteralWindowTitle(const QString& text) {
    return QString(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}
constexpr std::int32_t MillisecondsPerSecond = 1000;
// Between the file's name and the run's status on the chart.
constexpr int RunStatusGap = 8;
// The line of the marks at close, under the file's name; and the room the lines leave at the
// chart's right edge.
constexpr int MarksAtCloseTop = 15;
constexpr int ChartLineRightMargin = 2;

std::int32_t EditValue(const QLineEdit* edit) {
    return TextToInteger(ToEightBit(edit->text()));
}

} // namespace

void TForm1::Bind(QAbstractButton* button, void (TForm1::*handler)()) {
    connect(button, &QAbstractButton::clicked, this, [this, handler] { ReportErrors(handler); });
}

void TForm1::ReportErrors(void (TForm1::*handler)()) {
    ReportErrors([this, handler] { (this->*handler)(); });
}

void TForm1::ReportErrors(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const QuillonError& error) {
        // The whole message: what() ends at a zero byte, which a quoted text may hold.
        ShowError(error.Message());
    } catch (const std::exception& error) {
        ShowError(error.what());
    }
}

void TForm1::ShowError(std::string_view message) {
    services_.errorBox(this, FromEightBit(ErrorBoxText(message)));
}

TRunSettings TForm1::RunSettings() const {
    TRunSettings settings;
    settings.barCountText = ToEightBit(Edit3->text());
    settings.lag1Text = ToEightBit(Edit1->text());
    settings.lag2Text = ToEightBit(Edit2->text());
    settings.sourceFilePath = PathBytes(sourceFilePath_);
    settings.read.decimalSeparator = DecimalSeparator(QLocale());
    return settings;
}

void TForm1::Button1Click() {
    clickRun_.reset();
    TRunSettings settings = RunSettings();
    // A click during a rewrite waits for the file within the pause that its failure would cost.
    settings.read = ClickRead(settings.read.decimalSeparator);
    pipeline_.UseSettings(settings);
    const auto run = std::make_shared<TRun>();
    const TRunOutcome outcome = MakeWavesRun(settings, *run, Chart1->Model());
    clickRun_ = TFileRun{WatchedSourcePath(),
                         run,
                         outcome,
                         run->ReadFailure() == TReadFailure::HeldOrBeingWritten,
                         {},
                         {}};
    RunEnded(run, outcome, false);
    if (outcome.Completed()) {
        AnnounceTurn(WatchedSourcePath(), *run);
        AwaitMarksAtClose();
        AwaitTrackRecords();
    }
}

void TForm1::RunEnded(const std::shared_ptr<const TRun>& run, const TRunOutcome& outcome,
                      bool followed) {
    const QString time = LongTimeText(QLocale(), QDateTime::currentDateTime().time());
    if (!outcome.Completed()) {
        ShowRunStatus(QStringLiteral("failed ") + time + QStringLiteral(": ") +
                          FromEightBit(outcome.failure),
                      true);
        return;
    }
    shownRun_ = run;
    ShowRunStatus(followed ? QStringLiteral("followed ") + time : QString(), false);
}

void TForm1::AnnounceTurn(const QString& path, const TRun& run,
                          const std::shared_ptr<const TMarksAtClose>& marks) {
    if (!NotifyTurns->isChecked()) {
        return;
    }
    if (!MarksAtClose->isChecked()) {
        turnNotifier_.Announce(path, run);
    } else if (marks) {
        turnNotifier_.AnnounceAtClose(path, run, *marks);
    }
}

void TForm1::ShowRunStatus(const QString& text, bool failure) {
    runStatusIsFailure_ = failure;
    QPalette palette = Label1->palette();
    if (failure) {
        palette.setColor(QPalette::WindowText, Qt::red);
    }
    RunStatus->setPalette(palette);
    SetChartLine(RunStatus, text);
    RunStatus->setVisible(!text.isEmpty());
    // Said by a screen reader with the chart, for a user who cannot see the line.
    Chart1->setAccessibleDescription(text);
}

void TForm1::SetChartLine(QLabel* line, const QString& text) {
    line->setToolTip(text);
    line->setAccessibleDescription(text);
    PlaceChartLines();
}

void TForm1::PlaceChartLines() {
    const auto place = [this](QLabel* line, QPoint at) {
        const QFontMetrics metrics(line->font());
        const int left = Chart1->LeftClearOfLabels(at.y(), at.y() + metrics.height() - 1, at.x());
        const int room = std::max(0, Chart1->width() - left - ChartLineRightMargin);
        line->setText(metrics.elidedText(line->toolTip(), Qt::ElideRight, room));
        line->adjustSize();
        line->move(left, at.y());
    };
    place(RunStatus, {Label1->geometry().right() + 1 + RunStatusGap, Label1->y()});
    // Under the file's name and the status line beside it, whatever their font.
    place(MarksAtCloseLine,
          {Label1->x(), std::max({MarksAtCloseTop, Label1->geometry().bottom() + 1,
                                  RunStatus->geometry().bottom() + 1})});
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Chart1 && event->type() == QEvent::Resize) {
        PlaceChartLines();
    } else if (watched == Chart1 && event->type() == QEvent::Paint && !chartLinesDue_) {
        chartLinesDue_ = true;
        QTimer::singleShot(0, this, [this] {
            chartLinesDue_ = false;
            PlaceChartLines();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::Button2Click() {
    if (!openDialog1_.Execute(this)) {
        return;
    }
    SelectSourceFile(openDialog1_.FileName());
}

void TForm1::SelectSourceFile(const QString& path) {
    sourceFilePath_ = path;
    Label1->setText(QString::fromStdString(FileLabelText(sourceFilePath_.toStdString())));
    Label1->adjustSize();
    setWindowTitle(LiteralWindowTitle(sourceFilePath_));
    // The run reports its own errors inside the click, so the chart is shown whatever it did.
    ClickOnUsersBehalf(Button1);
    Chart1->show();
    const QString folder = QFileInfo(WatchedSourcePath()).path();
    watchList_->ListFolder(folder);
    AskForMarksAtClose();
    // The choice's click read and ran the file: that run is its run for the watch list too, unless
    // the pipeline has more to work out beside it (marks at close, records).
    const bool adopt = clickRun_ && clickRun_->path == WatchedSourcePath() &&
                       !MarksAtClose->isChecked() && !TrackPageShown() &&
                       WatchListTrackRecordFiles().isEmpty();
    pipeline_.Watch(QFileInfo(folder).isDir() ? QStringList{folder} : QStringList{},
                    {WatchedSourcePath()}, adopt ? &*clickRun_ : nullptr);
    clickRun_.reset();
}

void TForm1::ClickOnUsersBehalf(QPushButton* button) {
    button->setFocus(Qt::MouseFocusReason);
    button->click();
}

void TForm1::StepEdit(QLineEdit* edit, std::int32_t step) {
    const std::int32_t value = CheckedAdd(EditValue(edit), step);
    edit->setText(QString::fromStdString(IntegerToText(value)));
}

void TForm1::Button3Click() {
    StepEdit(Edit4, -1);
}
void TForm1::Button4Click() {
    StepEdit(Edit1, +1);
}
void TForm1::Button5Click() {
    StepEdit(Edit1, -1);
}
void TForm1::Button6Click() {
    StepEdit(Edit4, +1);
}
void TForm1::Button8Click() {
    StepEdit(Edit2, +1);
}
void TForm1::Button9Click() {
    StepEdit(Edit2, -1);
}

void TForm1::Button7Click() {
    if (form8_ != nullptr) {
        ShowModalInScreenCentre(*form8_);
    }
}

void TForm1::Button10Click() {
    if (form9_ != nullptr) {
        ShowModalInScreenCentre(*form9_);
    }
}

void TForm1::Timer1Timer() {
    if (!CheckBox1->isChecked()) {
        return;
    }
    const std::int32_t periodMs = CheckedMultiply(EditValue(Edit4), MillisecondsPerSecond);
    // The timer's period is unsigned.
    if (periodMs < 0) {
        ThrowRangeCheckError();
    }
    timer1_.SetInterval(static_cast<std::uint32_t>(periodMs));
    const QTime now = QDateTime::currentDateTime().time();
    Label4->show();
    Label4->setText(LongTimeText(QLocale(), now));
    Label4->adjustSize();
    refreshTickCount_ = CheckedAdd(refreshTickCount_, 1);
    Label14->setText(QString::number(refreshTickCount_));
    Label14->adjustSize();
    Label14->repaint();
}

} // namespace quillon
