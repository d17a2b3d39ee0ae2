#include <QCheckBox>
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
    std::uint32_t Period() { return form1_.Timer1().Interval(); }
};

TEST_F(RefreshTimerTest, CheckedTicksShowTheTimeAndCountAndTakeThePeriod) {
    // Unchecked, a tick reads nothing, not even a period that is no number.
    Type("Edit4", QStringLiteral("abc"));
    Tick();
    EXPECT_FALSE(Time()->isVisible());
    EXPECT_EQ(Count(), "T");
    EXPECT_EQ(Period(), 1000u);
    Type("Edit4", QStringLiteral("10"));
    CheckRefresh(true);
    Tick();
    EXPECT_TRUE(Time()->isVisible());
    // The C locale of the test run writes a 24-hour clock with leading zeros.
    EXPECT_TRUE(QTime::fromString(Time()->text(), QStringLiteral("HH:mm:ss")).isValid())
        << Time()->text().toStdString();
    EXPECT_EQ(Count(), "1");
    EXPECT_EQ(form1_.Timer1().Ticker().interval(), 10000);
    // The count goes on where it stood after a pause.
    CheckRefresh(false);
    Tick();
    CheckRefresh(true);
    Tick();
    EXPECT_EQ(Count(), "2");
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

TEST_F(RefreshTimerTest, ABadPeriodIsReportedAtEveryTickAndChangesNothing) {
    CheckRefresh(true);
    Tick();
    for (const auto& [period, error] :
         {std::pair{"-1", "Range check error."}, {"2147484", "Integer overflow."}}) {
        errors_.clear();
        Type("Edit4", QString::fromUtf8(period));
        Tick();
        Tick();
        EXPECT_EQ(errors_, (QStringList{error, error})) << period;
        EXPECT_EQ(Period(), 10000u);
        EXPECT_EQ(Count(), "1");
    }
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

} // namespace
} // namespace quillon::testing_ui
