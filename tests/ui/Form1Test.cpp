#include <QCheckBox>
#include <QFrame>
#include <QSplitter>
#include <QTabWidget>

#include "tests/ui/FormsFixture.h"

namespace quillon::testing_ui {
namespace {

using Form1Test = FormsFixture;

struct Caption {
    const char* control;
    const char* text;
};

TEST_F(Form1Test, StartsWithTheCaptionsAndDefaultsOfItsLayout) {
    EXPECT_EQ(form1_.windowTitle(), "Quillon waves :)");
    for (const Caption& c :
         {Caption{"Button1", "Make Waves !!!"}, Caption{"Button2", "get file *.CSV"},
          Caption{"Button3", "-"}, Caption{"Button4", "+"}, Caption{"Button5", "-"},
          Caption{"Button6", "+"}, Caption{"Button7", "MT4 indicator"}, Caption{"Button8", "+"},
          Caption{"Button9", "-"}, Caption{"Button10", "(C)"}}) {
        EXPECT_EQ(Button(c.control)->text(), c.text) << c.control;
    }
    for (const Caption& c : {Caption{"Edit1", "39"}, Caption{"Edit2", "16"},
                             Caption{"Edit3", "500"}, Caption{"Edit4", "10"}}) {
        EXPECT_EQ(Edit(c.control)->text(), c.text) << c.control;
    }
    for (const Caption& c :
         {Caption{"Label1", "File:"}, Caption{"Label2", "Waves lag [ 0-100 ]"},
          Caption{"Label3", "Load bars to wave"}, Caption{"Label4", "TIME"},
          Caption{"Label5", "W1"}, Caption{"Label6", "W2"}, Caption{"Label14", "T"}}) {
        EXPECT_EQ(Label(c.control)->text(), c.text) << c.control;
    }
    const QCheckBox* refresh = Find<QCheckBox>("CheckBox1");
    EXPECT_EQ(refresh->text(), "Refresh , sec");
    EXPECT_FALSE(refresh->isChecked());
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->tabText(0), "TabSheet1");
}

TEST_F(Form1Test, HidesTheChartItsLabelsAndTheTime) {
    EXPECT_FALSE(Chart()->isVisible());
    EXPECT_FALSE(Label("Label1")->isVisible());
    EXPECT_FALSE(Button("Button10")->isVisible());
    EXPECT_FALSE(Label("Label4")->isVisible());
    EXPECT_TRUE(Label("Label14")->isVisible());
    EXPECT_FALSE(forms_.Form8.isVisible());
    EXPECT_FALSE(forms_.Form9.isVisible());
    EXPECT_TRUE(form1_.SourceFilePath().isEmpty());
    EXPECT_TRUE(form1_.Timer1().Ticker().isActive());
    EXPECT_EQ(form1_.Timer1().Interval(), 1000u);
}

TEST_F(Form1Test, ArrangesChartLeftAndThePanelWithItsStackRight) {
    const QFrame* panel1 = Find<QFrame>("Panel1");
    const QSplitter* splitter = Find<QSplitter>("Splitter8");
    EXPECT_EQ(panel1->width(), 110);
    EXPECT_EQ(splitter->handleWidth(), 3);
    EXPECT_EQ(splitter->widget(1), panel1);
    EXPECT_LT(splitter->widget(0)->geometry().right(), panel1->geometry().left());
    const QFrame* panel2 = Find<QFrame>("Panel2");
    const QFrame* panel4 = Find<QFrame>("Panel4");
    const QFrame* panel5 = Find<QFrame>("Panel5");
    EXPECT_EQ(panel2->height(), 41);
    EXPECT_EQ(panel4->height(), 88);
    EXPECT_EQ(panel5->height(), 48);
    EXPECT_EQ(panel2->geometry().bottom(), panel1->contentsRect().bottom());
    EXPECT_EQ(panel4->geometry().bottom() + 1, panel2->geometry().top());
    EXPECT_EQ(panel5->geometry().bottom() + 1, panel4->geometry().top());
    // The controls placed on the panel itself stay clear of the stack.
    EXPECT_LT(Button("Button7")->geometry().bottom(), panel5->geometry().top());
}

struct StepCase {
    const char* name;
    const char* button;
    const char* edit;
    const char* before;
    const char* after;
    const char* error;
};

void PrintTo(const StepCase& c, std::ostream* out) {
    *out << c.name;
}

class StepperTest : public FormsFixture, public testing::WithParamInterface<StepCase> {};

TEST_P(StepperTest, StepsTheTextOrReportsAndLeavesIt) {
    const StepCase& c = GetParam();
    Type(c.edit, QString::fromUtf8(c.before));
    Click(c.button);
    EXPECT_EQ(Edit(c.edit)->text(), QString::fromUtf8(c.after));
    if (*c.error == '\0') {
        EXPECT_TRUE(errors_.isEmpty()) << errors_.join(QLatin1Char('|')).toStdString();
    } else {
        EXPECT_EQ(errors_, QStringList{QString::fromUtf8(c.error)});
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllSixHandlers, StepperTest,
    testing::Values(StepCase{"W1UpFrom39", "Button4", "Edit1", "39", "40", ""},
                    StepCase{"W1DownFrom39", "Button5", "Edit1", "39", "38", ""},
                    StepCase{"W2DownFrom0", "Button9", "Edit2", "0", "-1", ""},
                    StepCase{"W2UpFrom100", "Button8", "Edit2", "100", "101", ""},
                    StepCase{"RefreshUpFromBlank007", "Button6", "Edit4", " 007", "8", ""},
                    StepCase{"RefreshDownFrom1", "Button3", "Edit4", "1", "0", ""},
                    StepCase{"HexDollar10Up", "Button8", "Edit2", "$10", "17", ""},
                    StepCase{"NotANumber", "Button3", "Edit4", "abc", "abc",
                             "'abc' is not a valid integer value."},
                    StepCase{"Empty", "Button5", "Edit1", "", "",
                             "'' is not a valid integer value."},
                    StepCase{"TopOfTheRange", "Button4", "Edit1", "2147483647", "2147483647",
                             "Integer overflow."},
                    StepCase{"BottomOfTheRange", "Button9", "Edit2", "-2147483648", "-2147483648",
                             "Integer overflow."}),
    [](const testing::TestParamInfo<StepCase>& info) { return info.param.name; });

TEST_F(Form1Test, MakeWavesWithABarCountThatIsNoNumberReportsItAndChangesNothing) {
    const std::size_t candlesBefore = Series().Series17().Candles().size();
    Type("Edit3", QStringLiteral("5OO"));
    Click("Button1");
    EXPECT_EQ(errors_, QStringList{QStringLiteral("'5OO' is not a valid integer value.")});
    EXPECT_EQ(Series().Series17().Candles().size(), candlesBefore);
    EXPECT_FALSE(Chart()->isVisible());
}

} // namespace
} // namespace quillon::testing_ui
