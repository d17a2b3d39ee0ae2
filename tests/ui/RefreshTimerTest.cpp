#include <QCheckBox>
#include <QRegularExpression>
#include <QTimerEvent>

#include "tests/ui/FormsFixture.h"
#include "ui/LocaleText.h"

namespace quillon::testing_ui {
namespace {

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
    QString Count() { return Label("Label14")->text(); }
    QLabel* Time() { return Label("Label4"); }
};

TEST_F(RefreshTimerTest, UncheckedTicksChangeNothingWhateverThePeriodHolds) {
    Type("Edit4", QStringLiteral("abc"));
    Tick();
    Tick();
    EXPECT_FALSE(Time()->isVisible());
    EXPECT_EQ(Count(), "T");
    EXPECT_EQ(form1_.Timer1().Interval(), 1000u);
    EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(RefreshTimerTest, CheckedTicksShowTheTimeCountAndTakeThePeriod) {
    CheckRefresh(true);
    Tick();
    EXPECT_TRUE(Time()->isVisible());
    // The C locale of the test run writes a 24-hour clock with leading zeros.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))
                    .match(Time()->text())
                    .hasMatch())
        << Time()->text().toStdString();
    EXPECT_EQ(Count(), "1");
    EXPECT_EQ(form1_.Timer1().Interval(), 10000u);
    EXPECT_EQ(form1_.Timer1().Ticker().interval(), 10000);
    Tick();
    EXPECT_EQ(Count(), "2");
}

TEST_F(RefreshTimerTest, CountGoesOnAfterUncheckingAndCheckingAgain) {
    CheckRefresh(true);
    Tick();
    CheckRefresh(false);
    Tick();
    EXPECT_EQ(Count(), "1");
    CheckRefresh(true);
    Tick();
    EXPECT_EQ(Count(), "2");
    EXPECT_EQ(form1_.RefreshTickCount(), 2);
}

TEST_F(RefreshTimerTest, PeriodZeroTicksOnceMoreAndThenStopsForGood) {
    CheckRefresh(true);
    Tick();
    Type("Edit4", QStringLiteral("0"));
    Tick();
    EXPECT_EQ(Count(), "2");
    EXPECT_FALSE(form1_.Timer1().Ticker().isActive());
    EXPECT_EQ(form1_.Timer1().Interval(), 0u);
}

struct PeriodErrorCase {
    const char* name;
    const char* period;
    const char* error;
};

void PrintTo(const PeriodErrorCase& c, std::ostream* out) {
    *out << c.name;
}

class RefreshPeriodErrorTest : public RefreshTimerTest,
                               public testing::WithParamInterface<PeriodErrorCase> {};

TEST_P(RefreshPeriodErrorTest, ReportsAtEveryTickAndKeepsPeriodAndLabels) {
    CheckRefresh(true);
    Tick();
    const QString shownTime = Time()->text();
    Type("Edit4", QString::fromUtf8(GetParam().period));
    Tick();
    Tick();
    const QString error = QString::fromUtf8(GetParam().error);
    EXPECT_EQ(errors_, (QStringList{error, error}));
    EXPECT_EQ(form1_.Timer1().Interval(), 10000u);
    EXPECT_TRUE(form1_.Timer1().Ticker().isActive());
    EXPECT_EQ(Count(), "1");
    EXPECT_EQ(Time()->text(), shownTime);
}

INSTANTIATE_TEST_SUITE_P(
    Periods, RefreshPeriodErrorTest,
    testing::Values(PeriodErrorCase{"Negative", "-1", "Range check error."},
                    PeriodErrorCase{"TooLongInMilliseconds", "2147484", "Integer overflow."},
                    PeriodErrorCase{"NotANumber", "ten", "'ten' is not a valid integer value."},
                    PeriodErrorCase{"Empty", "", "'' is not a valid integer value."}),
    [](const testing::TestParamInfo<PeriodErrorCase>& info) { return info.param.name; });

TEST_F(RefreshTimerTest, LongestPeriodFitsInMilliseconds) {
    CheckRefresh(true);
    Type("Edit4", QStringLiteral("2147483"));
    Tick();
    EXPECT_TRUE(errors_.isEmpty());
    EXPECT_EQ(form1_.Timer1().Interval(), 2147483000u);
    EXPECT_TRUE(form1_.Timer1().Ticker().isActive());
}

TEST(PeriodicTimerTest, SamePeriodKeepsTheCountdownAndANewOneRestartsIt) {
    TPeriodicTimer timer(1000);
    QTest::qWait(300);
    timer.SetInterval(1000);
    EXPECT_LE(timer.Ticker().remainingTime(), 900);
    timer.SetInterval(2000);
    EXPECT_GT(timer.Ticker().remainingTime(), 1700);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Ticker().isActive());
    timer.SetInterval(3000);
    EXPECT_TRUE(timer.Ticker().isActive());
}

TEST(LocaleTextTest, LongTimeFollowsTheLocaleWithoutTimeZone) {
    const QTime afternoon(14, 5, 9);
    EXPECT_EQ(LongTimeText(QLocale(QStringLiteral("de_DE")), afternoon), "14:05:09");
    EXPECT_EQ(LongTimeText(QLocale(QStringLiteral("en_US")), afternoon), "2:05:09 PM");
    EXPECT_EQ(LongTimeText(QLocale(QStringLiteral("en_US")), QTime(9, 0, 0)), "9:00:00 AM");
}

TEST(LocaleTextTest, DecimalSeparatorFallsBackToAPoint) {
    EXPECT_EQ(DecimalSeparator(QLocale(QStringLiteral("de_DE"))), ',');
    EXPECT_EQ(DecimalSeparator(QLocale(QStringLiteral("en_US"))), '.');
    // Arabic writes its own separator, which no byte of the bar file can match.
    EXPECT_EQ(DecimalSeparator(QLocale(QStringLiteral("ar_EG"))), '.');
}

} // namespace
} // namespace quillon::testing_ui
