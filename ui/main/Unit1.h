#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include <QString>
#include <QWidget>

#include "bars/Run.h"
#include "bars/RunFromTexts.h"
#include "live/LivePipeline.h"
#include "live/TurnNotifier.h"
#include "ui/main/ErrorBox.h"
#include "ui/main/OpenDialog.h"
#include "ui/main/PeriodicTimer.h"
#include "ui/watch/WatchList.h"

class QAbstractButton;
class QCheckBox;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTableView;
class QTimer;

namespace quillon {

class TChart;
class TTrackRecordPage;

// What the main window asks of the desktop beyond its own controls. Tests put their own answers
// in.
struct TDesktopServices {
    TOpenDialogPresenter openDialog = ExecuteOpenDialog;
    TErrorBoxPresenter errorBox = ShowStandardErrorBox;
    // Where turns of the waves are announced; the session bus when none is given.
    std::optional<QDBusConnection> notificationBus;
    // The run of a watched file off the window's thread.
    TRunWork watchedRun = RunWatchedFile;
};

// The main window: the chart on the left, the control panel on the right. Its controls carry
// their designer names as object names.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(TDesktopServices services = {});
    ~TForm1() override;

    // The windows that the "MT4 indicator" and "(C)" buttons show; they are created after the
    // main window.
    void AttachSecondaryForms(QDialog& form8, QDialog& form9);

    // Everything the file selection does once the dialog has answered with a path.
    void SelectSourceFile(const QString& path);

    const QString& SourceFilePath() const { return sourceFilePath_; }
    std::int32_t RefreshTickCount() const { return refreshTickCount_; }
    const TPeriodicTimer& Timer1() const { return timer1_; }
    TPeriodicTimer& Timer1() { return timer1_; }
    const TOpenDialog& OpenDialog1() const { return openDialog1_; }
    const TLivePipeline& Pipeline() const { return pipeline_; }

protected:
    // The chart's lines are placed anew when the chart is resized, and after it is painted, since
    // its price labels move with every run and zoom.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Handlers. Their errors go to the standard error box through ReportErrors.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Timer1Timer();
    // "Follow file" checked or unchecked.
    void FollowFileClick();
    // A watched file's run has finished: the chosen file's goes to the chart while "Follow file"
    // is checked, and a turn in it or in a ticked row of the watch list goes to the desktop.
    void LiveRunFinished(const TFileRun& fileRun);
    // A double-click on a row of the watch list chooses its file as the open dialog's answer does.
    void WatchListDoubleClick(const QModelIndex& index);
    // The files whose track records the watch list wants, and the one place that asks for them.
    QSet<QString> WatchListTrackRecordFiles() const;
    void AskForTrackRecords();

    // The edit boxes and the chosen file, as a run takes them.
    TRunSettings RunSettings() const;
    // After a run, clicked or followed, which the chart shows only if it completed: a complete
    // run is kept as the one shown; a failure is said on the chart, with its time.
    void RunEnded(const std::shared_ptr<const TRun>& run, const TRunOutcome& outcome,
                  bool followed);
    // A turn of the waves at the newest bar of a complete run of the file goes to the desktop while
    // "Notify turns" is checked; with "Marks at close" checked as well, a turn at close of the bar
    // that has just closed instead, once the run's marks at close are there.
    void AnnounceTurn(const QString& path, const TRun& run,
                      const std::shared_ptr<const TMarksAtClose>& marks = {});
    // "Marks at close": the chart's marks at close of the shown run, worked out by the pipeline.
    void MarksAtCloseClick();
    // The files whose runs work out marks at close: the chosen file while the box is checked, and
    // the ticked rows of the watch list while turns at close are announced.
    void AskForMarksAtClose();
    // A new run shown: its marks at close follow when the pipeline has them.
    void AwaitMarksAtClose();
    void ShowMarksAtClose(const TFileRun& fileRun);
    // The chosen file, for the records asked of the pipeline: over its loaded bars while "Marks at
    // close" is checked or the page "Track record" is shown, with the whole file's while the page
    // is shown; none otherwise.
    QSet<QString> ChosenFileRecords(bool wholeFile) const;
    bool TrackPageShown() const;
    // The page "Track record" shown or left.
    void TrackPageChanged();
    // A new run shown: while the page is shown, its records follow when the pipeline has them.
    void AwaitTrackRecords();
    // A run of the chosen file: the page shows its records when they are those of the run shown,
    // the whole file's among them; a failed run leaves the page as it was.
    void ShowTrackRecords(const TFileRun& fileRun);
    // A line at the top of the chart with its whole text, as its tip and for a screen reader.
    void SetChartLine(QLabel* line, const QString& text);
    // The lines at the top of the chart clear of each other and of the price labels, each cut
    // short with "…" where it does not fit.
    void PlaceChartLines();
    // The chosen file as the pipeline names it.
    QString WatchedSourcePath() const;
    // One line on the chart beside the file's name, red for a failure; none for an empty text.
    void ShowRunStatus(const QString& text, bool failure);

    // Runs a handler; an error that leaves it ends it and is shown in the standard error box.
    void ReportErrors(void (TForm1::*handler)());
    void ReportErrors(const std::function<void()>& handler);
    void ShowError(std::string_view message);
    void Bind(QAbstractButton* button, void (TForm1::*handler)());

    void StepEdit(QLineEdit* edit, std::int32_t step);
    void ClickOnUsersBehalf(QPushButton* button);

    void CreateControls();
    void CreatePanel1();
    void CreateLagSteppers();
    void CreateFollowControls();
    void NameForScreenReaders();
    void CreateBottomPanels();
    void CreateChart();
    void CreateWatchPage();
    void CreateTrackPage();
    void BindHandlers();

    TDesktopServices services_;
    QString sourceFilePath_;
    std::int32_t refreshTickCount_ = 0;
    // The last complete run: what the chart shows. None before the first.
    std::shared_ptr<const TRun> shownRun_;
    // The last click's run, until a choice hands it to the pipeline.
    std::optional<TFileRun> clickRun_;
    TPeriodicTimer timer1_;
    TOpenDialog openDialog1_;
    TTurnNotifier turnNotifier_;
    // Watches the chosen file and the bar files of its folder, and runs them off the window's
    // thread for the chart, the watch list and the notifier.
    TLivePipeline pipeline_;
    // Created after the pages, so that the view lets go of its rows before they go.
    TWatchList* watchList_ = nullptr;
    QDialog* form8_ = nullptr;
    QDialog* form9_ = nullptr;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QSplitter* Splitter8 = nullptr;
    QWidget* chartArea_ = nullptr;
    TChart* Chart1 = nullptr;
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QFrame* Panel4 = nullptr;
    QFrame* Panel5 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label14 = nullptr;
    // Beside the file's name on the chart: the time of the last followed run that completed, or
    // why the last run failed.
    QLabel* RunStatus = nullptr;
    bool runStatusIsFailure_ = false;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* FollowFile = nullptr;
    QCheckBox* NotifyTurns = nullptr;
    QCheckBox* MarksAtClose = nullptr;
    // Under the file's name on the chart: how the marks at close of the shown run agree with the
    // chart's marks, or that they are being worked out.
    QLabel* MarksAtCloseLine = nullptr;
    // A cold start of the marks at close that takes longer than this says that it is working.
    QTimer* marksAtCloseWait_ = nullptr;
    // A placing of the chart's lines is due after the chart's painting.
    bool chartLinesDue_ = false;
    // "Watch list": a row for each bar file of the chosen file's folder.
    QWidget* WatchPage = nullptr;
    QTableView* WatchList = nullptr;
    // "Track record": the chosen file's track record, for the shown run.
    TTrackRecordPage* TrackPage = nullptr;
    // The run whose records the page shows; none before the first.
    std::shared_ptr<const TRun> trackRun_;
};

} // namespace quillon
