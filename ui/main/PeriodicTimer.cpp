#include "ui/main/PeriodicTimer.h"

#include <limits>

#include "base/Errors.h"

namespace quillon {

TPeriodicTimer::TPeriodicTimer(std::uint32_t intervalMs)
    : interval_(0) {
    // A clock shown to the second should not drift by the coarse timer's five per cent.
    timer_.setTimerType(Qt::PreciseTimer);
    SetInterval(intervalMs);
}

void TPeriodicTimer::SetInterval(std::uint32_t intervalMs) {
    if (intervalMs > static_cast<std::uint32_t>(std::numeric_limits<int>::max())) {
        ThrowRangeCheckError();
    }
    if (intervalMs == interval_) {
        return;
    }
    interval_ = intervalMs;
    // A Qt timer with a period of 0 would fire whenever the event loop is idle, not stop.
    if (intervalMs == 0) {
        timer_.stop();
    } else {
        timer_.start(static_cast<int>(intervalMs));
    }
}

} // namespace quillon
