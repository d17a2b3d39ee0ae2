#include "ui/main/Unit1.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "base/IntegerText.h"
#include "chart/TChart.h"
#include "chart/WindowFont.h"
#include "ui/ScreenPlacement.h"
#include "ui/main/InitialFolder.h"
#include "ui/track/TrackRecordPage.h"

namespace quillon {

namespace {

// The window's size without its frame; with a usual frame it comes to 345 x 413.
constexpr QSize ClientSize(337, 386);
constexpr int Panel1Width = 110;
constexpr int SplitterWidth = 3;
// Dragging the splitter leaves at least this much of the chart and of the panel, as such
// splitters do by default, so that neither side can be lost.
constexpr int SplitterMinSize = 30;
constexpr std::uint32_t StartTimerPeriodMs = 1000;
constexpr std::chrono::milliseconds MarksAtCloseWait{300};

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(geometry);
    return button;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const char* text, QRect geometry) {
    auto* edit = new QLineEdit(QString::fromUtf8(text), parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setGeometry(geometry);
    return edit;
}

// Labels size themselves to their text.
QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, QPoint position) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    // Captions are shown as they stand: a file name with tags in it is not markup.
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QString::fromUtf8(name));
    label->move(position);
    label->adjustSize();
    return label;
}

QFrame* MakePanel(QWidget* parent, const char* name, int bevelWidth) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromUtf8(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(bevelWidth);
    return panel;
}

QFrame* MakeBottomPanel(QWidget* parent, const char* name, int height) {
    QFrame* panel = MakePanel(parent, name, 2);
    panel->setFixedHeight(height);
    return panel;
}

void SetBoldColouredText(QLabel* label, const QColor& colour) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->adjustSize();
}

QStringList BarFileFilters() {
    return {QStringLiteral("CSV (*.csv)"), QStringLiteral("TXT (*.txt)")};
}

} // namespace

TForm1::TForm1(TDesktopServices services)
    : services_(std::move(services))
    , timer1_(StartTimerPeriodMs)
    , openDialog1_(BarFileFilters(), OpenDialogInitialFolder(), services_.openDialog)
    , turnNotifier_(services_.notificationBus ? TTurnNotifier(*services_.notificationBus)
                                              : TTurnNotifier())
    , pipeline_(services_.watchedRun) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillon waves :)"));
    UseWindowFont(*this);
    CreateControls();
    NameForScreenReaders();
    BindHandlers();
    resize(ClientSize);
    PlaceInScreenCentre(*this);
}

TForm1::~TForm1() = default;

void TForm1::AttachSecondaryForms(QDialog& form8, QDialog& form9) {
    form8_ = &form8;
    form9_ = &form9;
}

void TForm1::CreateControls() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("TabSheet1"));
    auto* formLayout = new QVBoxLayout(this);
    formLayout->setContentsMargins(0, 0, 0, 0);
    formLayout->addWidget(PageControl1);

    Splitter8 = new QSplitter(Qt::Horizontal, TabSheet1);
    Splitter8->setObjectName(QStringLiteral("Splitter8"));
    Splitter8->setHandleWidth(SplitterWidth);
    Splitter8->setChildrenCollapsible(false);
    auto* pageLayout = new QHBoxLayout(TabSheet1);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(Splitter8);

    // Created on the splitter, so that they have the window's font when the labels size
    // themselves.
    CreateChart();
    CreatePanel1();
    chartArea_->setMinimumWidth(SplitterMinSize);
    Panel1->setMinimumWidth(SplitterMinSize);
    Splitter8->setStretchFactor(0, 1);
    Splitter8->setStretchFactor(1, 0);
    Splitter8->setSizes({ClientSize.width() - Panel1Width - SplitterWidth, Panel1Width});
    // The bar between chart and panel has the colour of button shadows.
    QSplitterHandle* handle = Splitter8->handle(1);
    QPalette shadow = handle->palette();
    shadow.setColor(QPalette::Window, shadow.color(QPalette::Dark));
    handle->setPalette(shadow);
    handle->setAutoFillBackground(true);
    CreateWatchPage();
    CreateTrackPage();
}

void TForm1::CreateChart() {
    // The chart fills this area; while the chart is hidden the area stays, empty.
    chartArea_ = new QWidget(Splitter8);
    auto* areaLayout = new QVBoxLayout(chartArea_);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    Chart1 = new TChart(chartArea_);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    areaLayout->addWidget(Chart1);
    Chart1->hide();

    Label1 = MakeLabel(Chart1, "Label1", "File:", {6, 3});
    QFont smallFont = Label1->font();
    smallFont.setPixelSize(8);
    Label1->setFont(smallFont);
    SetBoldColouredText(Label1, Qt::blue);
    Button10 = MakeButton(Chart1, "Button10", "(C)", {47, 27, 18, 17});
}

void TForm1::CreatePanel1() {
    Panel1 = MakePanel(Splitter8, "Panel1", 1);
    Panel1->resize(Panel1Width, Panel1->height());
    Button2 = MakeButton(Panel1, "Button2", "get file *.CSV", {8, 6, 97, 17});
    CreateLagSteppers();
    CreateFollowControls();
    Button7 = MakeButton(Panel1, "Button7", "MT4 indicator", {16, 152, 81, 25});
    CreateBottomPanels();
}

void TForm1::CreateLagSteppers() {
    Label2 = MakeLabel(Panel1, "Label2", "Waves lag [ 0-100 ]", {9, 26});
    Label5 = MakeLabel(Panel1, "Label5", "W1", {8, 56});
    Button5 = MakeButton(Panel1, "Button5", "-", {34, 55, 21, 19});
    Edit1 = MakeEdit(Panel1, "Edit1", IntegerToText(DefaultLag1).c_str(), {57, 54, 25, 21});
    QPalette blackText = Edit1->palette();
    blackText.setColor(QPalette::Text, Qt::black);
    Edit1->setPalette(blackText);
    Button4 = MakeButton(Panel1, "Button4", "+", {84, 54, 20, 20});
    Label6 = MakeLabel(Panel1, "Label6", "W2", {8, 96});
    Button9 = MakeButton(Panel1, "Button9", "-", {35, 93, 20, 20});
    Edit2 = MakeEdit(Panel1, "Edit2", IntegerToText(DefaultLag2).c_str(), {57, 93, 24, 21});
    Button8 = MakeButton(Panel1, "Button8", "+", {83, 93, 21, 20});
}

void TForm1::CreateFollowControls() {
    // Between the W2 stepper and "MT4 indicator", with room for a second box of the same size
    // under it.
    FollowFile = new QCheckBox(QStringLiteral("Follow file"), Panel1);
    FollowFile->setObjectName(QStringLiteral("FollowFile"));
    FollowFile->setGeometry(8, 113, 97, 13);
    NotifyTurns = new QCheckBox(QStringLiteral("Notify turns"), Panel1);
    NotifyTurns->setObjectName(QStringLiteral("NotifyTurns"));
    NotifyTurns->setGeometry(8, 126, 97, 13);
    MarksAtClose = new QCheckBox(QStringLiteral("Marks at close"), Panel1);
    MarksAtClose->setObjectName(QStringLiteral("MarksAtClose"));
    MarksAtClose->setGeometry(8, 139, 97, 13);
    // On the chart beside the file's name, where the user looks for news of the file.
    RunStatus = MakeLabel(Chart1, "RunStatus", "", {0, 3});
    RunStatus->setFont(Label1->font());
    RunStatus->hide();
    MarksAtCloseLine = MakeLabel(Chart1, "MarksAtCloseLine", "", {6, 15});
    MarksAtCloseLine->setFont(Label1->font());
    MarksAtCloseLine->setPalette(Label1->palette());
    MarksAtCloseLine->hide();
    marksAtCloseWait_ = new QTimer(this);
    marksAtCloseWait_->setSingleShot(true);
    marksAtCloseWait_->setInterval(MarksAtCloseWait);
}

// Names that a screen reader says; buttons, labels and check boxes say their captions.
void TForm1::NameForScreenReaders() {
    // The page container takes focus; it is named for the page it starts on.
    PageControl1->setAccessibleName(QStringLiteral("TabSheet1"));
    WatchList->setAccessibleName(QStringLiteral("Watch list"));
    Edit1->setAccessibleName(QStringLiteral("W1"));
    Edit2->setAccessibleName(QStringLiteral("W2"));
    Edit3->setAccessibleName(QStringLiteral("Load bars to wave"));
    Edit4->setAccessibleName(QStringLiteral("Refresh period"));
    Chart1->setAccessibleName(QStringLiteral("Chart"));
}

void TForm1::CreateBottomPanels() {
    // Above the stack stays room for every control placed on Panel1, so that a small window
    // does not slide the stack over them: the window's minimum height follows from it.
    const int upperControlsHeight = Panel1->childrenRect().bottom() + 1 - Panel1->frameWidth();
    // Stacked from the bottom up: Panel2, Panel4 above it, Panel5 above that.
    Panel5 = MakeBottomPanel(Panel1, "Panel5", 48);
    Panel4 = MakeBottomPanel(Panel1, "Panel4", 88);
    Panel2 = MakeBottomPanel(Panel1, "Panel2", 41);
    auto* stack = new QVBoxLayout(Panel1);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addSpacerItem(new QSpacerItem(0, upperControlsHeight, QSizePolicy::Minimum,
                                         QSizePolicy::MinimumExpanding));
    stack->addWidget(Panel5);
    stack->addWidget(Panel4);
    stack->addWidget(Panel2);

    Label3 = MakeLabel(Panel5, "Label3", "Load bars to wave", {12, 3});
    Edit3 = MakeEdit(Panel5, "Edit3", IntegerToText(DefaultBarCount).c_str(), {15, 19, 82, 21});

    CheckBox1 = new QCheckBox(QStringLiteral("Refresh , sec"), Panel4);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(11, 7, 86, 17);
    Button3 = MakeButton(Panel4, "Button3", "-", {12, 32, 17, 21});
    Edit4 = MakeEdit(Panel4, "Edit4", "10", {32, 32, 33, 21});
    Button6 = MakeButton(Panel4, "Button6", "+", {68, 32, 16, 20});
    Label14 = MakeLabel(Panel4, "Label14", "T", {13, 66});
    SetBoldColouredText(Label14, Qt::blue);
    Label14->setAutoFillBackground(true);
    QPalette scrollBarBackground = Label14->palette();
    scrollBarBackground.setColor(QPalette::Window, palette().color(QPalette::Midlight));
    Label14->setPalette(scrollBarBackground);
    Label4 = MakeLabel(Panel4, "Label4", "TIME", {47, 66});
    SetBoldColouredText(Label4, Qt::yellow);
    Label4->hide();

    Button1 = MakeButton(Panel2, "Button1", "Make Waves !!!", {8, 10, 97, 20});
}

void TForm1::BindHandlers() {
    Bind(Button1, &TForm1::Button1Click);
    Bind(Button2, &TForm1::Button2Click);
    Bind(Button3, &TForm1::Button3Click);
    Bind(Button4, &TForm1::Button4Click);
    Bind(Button5, &TForm1::Button5Click);
    Bind(Button6, &TForm1::Button6Click);
    Bind(Button7, &TForm1::Button7Click);
    Bind(Button8, &TForm1::Button8Click);
    Bind(Button9, &TForm1::Button9Click);
    Bind(Button10, &TForm1::Button10Click);
    connect(&timer1_.Ticker(), &QTimer::timeout, this,
            [this] { ReportErrors(&TForm1::Timer1Timer); });
    connect(FollowFile, &QCheckBox::toggled, this,
            [this] { ReportErrors(&TForm1::FollowFileClick); });
    connect(MarksAtClose, &QCheckBox::toggled, this,
            [this] { ReportErrors(&TForm1::MarksAtCloseClick); });
    connect(NotifyTurns, &QCheckBox::toggled, this, &TForm1::AskForMarksAtClose);
    connect(&watchList_->Model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (roles.contains(Qt::CheckStateRole)) {
                    AskForMarksAtClose();
                }
            });
    connect(marksAtCloseWait_, &QTimer::timeout, this, [this] {
        SetChartLine(MarksAtCloseLine, QStringLiteral("marks at close: working..."));
        MarksAtCloseLine->show();
    });
    Chart1->installEventFilter(this);
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this] { ReportErrors(&TForm1::TrackPageChanged); });
    connect(&pipeline_, &TLivePipeline::Working, this,
            [this](const QString& path, int done, int total) {
                if (TrackPageShown() && path == WatchedSourcePath()) {
                    TrackPage->ShowWorking(done, total);
                }
            });
    connect(&pipeline_, &TLivePipeline::RunFinished, watchList_, &TWatchList::RunFinished);
    connect(&pipeline_, &TLivePipeline::FileRemoved, watchList_, &TWatchList::FileRemoved);
    connect(&pipeline_, &TLivePipeline::CaughtUp, watchList_, &TWatchList::CaughtUp);
    // After the watch list, so that the chart and the file's row change together.
    connect(&pipeline_, &TLivePipeline::RunFinished, this, [this](const TFileRun& fileRun) {
        ReportErrors([this, &fileRun] { LiveRunFinished(fileRun); });
    });
    connect(WatchList, &QAbstractItemView::doubleClicked, this, &TForm1::WatchListDoubleClick);
}

} // namespace quillon
