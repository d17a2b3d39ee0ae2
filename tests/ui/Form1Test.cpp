#include <QFrame>
#include <QSplitter>

#include "tests/ui/FormsFixture.h"

namespace quillon::testing_ui {
namespace {

using Form1Test = FormsFixture;

TEST_F(Form1Test, StartsWithTheCaptionsDefaultsAndArrangementOfItsLayout) {
    EXPECT_EQ(form1_.windowTitle(), "Quillon waves :)");
    // The texts of Button1, Button2, ... (or Edit1, ...) in order.
    const auto expectTexts = [this](const char* kind, const QStringList& texts) {
        for (int i = 0; i < texts.size(); ++i) {
            const std::string name = kind + std::to_string(i + 1);
            EXPECT_EQ(Find(name.c_str())->property("text").toString(), texts[i]) << name;
        }
    };
    expectTexts("Button", {"Make Waves !!!", "get file *.CSV", "-", "+", "-", "+", "MT4 indicator",
                           "+", "-", "(C)"});
    expectTexts("Edit", {"39", "16", "500", "10"});
    expectTexts("Label", {"File:", "Waves lag [ 0-100 ]", "Load bars to wave", "TIME", "W1", "W2"});
    EXPECT_EQ(Label("Label14")->text(), "T");
    EXPECT_EQ(Find("CheckBox1")->property("text").toString(), "Refresh , sec");
    EXPECT_FALSE(Find("CheckBox1")->property("checked").toBool());
    EXPECT_EQ(form1_.OpenDialog1().Filters(),
              (QStringList{QStringLiteral("CSV (*.csv)"), QStringLiteral("TXT (*.txt)")}));

    // The chart left, the 110-pixel panel right with Panel5, Panel4 and Panel2 stacked at its foot.
    const auto* panel1 = Find<QFrame>("Panel1");
    EXPECT_EQ(Find<QSplitter>("Splitter8")->widget(1), panel1);
    EXPECT_EQ(panel1->width(), 110);
    EXPECT_EQ(Find("Panel2")->geometry().bottom(), panel1->contentsRect().bottom());
    EXPECT_EQ(Find("Panel4")->geometry().bottom() + 1, Find("Panel2")->y());
    EXPECT_EQ(Find("Panel5")->geometry().bottom() + 1, Find("Panel4")->y());

    // The chart carries Label1 and Button10; "TIME" waits for the first refresh.
    EXPECT_FALSE(Chart()->isVisible());
    EXPECT_FALSE(Label("Label4")->isVisible());
    EXPECT_FALSE(forms_.Form8.isVisible() || forms_.Form9.isVisible());
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
        {"Button5", "Edit1", "", "", "'' is not a valid integer value."},
        {"Button4", "Edit1", "2147483647", "2147483647", "Integer overflow."},
    };
    for (const auto& c : cases) {
        errors_.clear();
        Type(c.edit, QString::fromUtf8(c.before));
        Click(c.button);
        EXPECT_EQ(Find<QLineEdit>(c.edit)->text(), c.after)
            << c.button << " on '" << c.before << "'";
        EXPECT_EQ(errors_, c.error ? QStringList{c.error} : QStringList{}) << c.button;
    }
    // The box shows the whole message, past a zero character in the quoted text.
    errors_.clear();
    const QString withZero = QStringLiteral("4") + QChar(0) + QStringLiteral("2");
    Find<QLineEdit>("Edit1")->setText(withZero);
    Click("Button4");
    EXPECT_EQ(errors_, QStringList{"'" + withZero + "' is not a valid integer value."});
}

} // namespace
} // namespace quillon::testing_ui
