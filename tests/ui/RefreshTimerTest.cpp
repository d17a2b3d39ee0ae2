// The main window's refresh timer: what its ticks show and the period they take from the box.

#include <QCheckBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTimerEvent>

#include "tests/ui/FormsFixture.h"

namespace quillon::testing_ui {
namespace {

using RefreshTimerTest = FormsFixture;

// Each step sets the period box and the check box, then ticks: a timer event to the running
// timer, as the platform delivers a tick.
TEST_F(RefreshTimerTest, CheckedTicksShowTheTimeAndCountAndTakeThePeriod) {
    const struct {
        const char* period;
        bool checked;
        int ticks;
        const char* count;
        std::uint32_t interval;
        const char* error;
    } steps[] = {
        // Unchecked, a tick reads nothing, not even a period that is no number.
        {"abc", false, 1, "T", 1000, nullptr},
        {"10", true, 1, "1", 10000, nullptr},
        // The count goes on where it stood after a pause.
        {"10", false, 1, "1", 10000, nullptr},
        {"10", true, 1, "2", 10000, nullptr},
        // A bad period is reported at every tick and changes nothing.
        {"-1", true, 2, "2", 10000, "Range check error."},
        {"2147484", true, 2, "2", 10000, "Integer overflow."},
        // The longest period that fits in milliseconds; then 0 stops the timer after its last tick.
        {"2147483", true, 1, "3", 2147483000u, nullptr},
        {"0", true, 1, "4", 0, nullptr},
    };
    QTimer& ticker = form1_.Timer1().Ticker();
    auto* refresh = Find<QCheckBox>("CheckBox1");
    EXPECT_FALSE(refresh->isChecked());
    for (const auto& s : steps) {
        errors_.clear();
        SetText("Edit4", QString::fromUtf8(s.period));
        refresh->setChecked(s.checked);
        for (int tick = 0; tick < s.ticks; ++tick) {
            ASSERT_TRUE(ticker.isActive()) << "a stopped timer does not tick";
            QTimerEvent event(ticker.timerId());
            QCoreApplication::sendEvent(&ticker, &event);
        }
        EXPECT_EQ(Find<QLabel>("Label14")->text(), s.count) << s.period;
        EXPECT_EQ(Find<QLabel>("Label4")->isVisible(), QString(s.count) != "T") << s.period;
        EXPECT_EQ(form1_.Timer1().Interval(), s.interval) << s.period;
        EXPECT_EQ(errors_, s.error ? QStringList(s.ticks, s.error) : QStringList()) << s.period;
    }
    EXPECT_FALSE(ticker.isActive());
    // The clock in the program's locale, which the tests' main makes the C locale's 24-hour one.
    const QRegularExpression hhmmss(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"));
    EXPECT_TRUE(hhmmss.match(Find<QLabel>("Label4")->text()).hasMatch());
}

} // namespace
} // namespace quillon::testing_ui
