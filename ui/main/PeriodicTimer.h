#pragma once

#include <cstdint>

#include <QTimer>

namespace quillon {

// A periodic timer on the user-interface thread with the refresh box's period rules: setting the
// current period again changes nothing, a different non-zero period restarts the countdown, and
// 0 stops the timer. Ticks that fall due while the thread is busy are not stored up.
class TPeriodicTimer {
public:
    explicit TPeriodicTimer(std::uint32_t intervalMs);

    std::uint32_t Interval() const { return interval_; }
    // Fails with the range error for a period that the platform's timer cannot hold.
    void SetInterval(std::uint32_t intervalMs);

    // The ticks come as this timer's timeout(); it is inactive once stopped.
    QTimer& Ticker() { return timer_; }
    const QTimer& Ticker() const { return timer_; }

private:
    QTimer timer_;
    std::uint32_t interval_;
};

} // namespace quillon
