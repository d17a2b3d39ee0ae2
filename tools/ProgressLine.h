#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

namespace quillon {

// How far long work has come, on one line of a terminal rewritten in place ("quillon-scan: 120 of
// 252 files"), so that a user sees that it goes on; nothing at all where the descriptor is no
// terminal, which a script reads. Shown only once the work has taken ProgressDelay, and redrawn
// at most every ProgressStep, so that short work writes nothing and long work little.
inline constexpr std::chrono::milliseconds ProgressDelay{500};
inline constexpr std::chrono::milliseconds ProgressStep{100};

class TProgressLine {
public:
    TProgressLine(std::string_view program, int fd);
    // Clears the line.
    ~TProgressLine();
    TProgressLine(const TProgressLine&) = delete;
    TProgressLine& operator=(const TProgressLine&) = delete;

    // done of total files; from any thread. Writing errors are let be: the line is no output.
    void Tell(std::size_t done, std::size_t total);
    // Blanks the line shown, if any, and puts the cursor at its start, before other output.
    void Clear();

private:
    std::mutex mutex_;
    const std::string program_;
    const int fd_;
    const bool terminal_;
    const std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point shownAt_;
    // The length of the line shown; 0 when none is.
    std::size_t shown_ = 0;
};

} // namespace quillon
