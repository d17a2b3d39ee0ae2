#pragma once

#include <algorithm>
#include <chrono>

#include <QApplication>

namespace quillon {

// Times each event that the event loop hands out, with the events sent while handling it: the
// loop answers nothing else meanwhile.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    double longestBusyMs = 0.0;

    bool notify(QObject* receiver, QEvent* event) override {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point start = Clock::now();
        ++depth_;
        const bool handled = QApplication::notify(receiver, event);
        if (--depth_ == 0) {
            const std::chrono::duration<double, std::milli> busy = Clock::now() - start;
            longestBusyMs = std::max(longestBusyMs, busy.count());
        }
        return handled;
    }

private:
    int depth_ = 0;
};

} // namespace quillon
