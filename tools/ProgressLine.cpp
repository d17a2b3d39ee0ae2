#include "tools/ProgressLine.h"

#include <unistd.h>

#include "tools/ToolOutput.h"

namespace quillon {

TProgressLine::TProgressLine(std::string_view program, int fd)
    : program_(program)
    , fd_(fd)
    , terminal_(::isatty(fd) == 1)
    , start_(std::chrono::steady_clock::now()) {}

TProgressLine::~TProgressLine() {
    Clear();
}

void TProgressLine::Tell(std::size_t done, std::size_t total) {
    if (!terminal_) {
        return;
    }
    const std::lock_guard lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < ProgressDelay || (shown_ > 0 && now - shownAt_ < ProgressStep)) {
        return;
    }
    std::string text =
        program_ + ": " + std::to_string(done) + " of " + std::to_string(total) + " files";
    // A shorter line than the one shown blanks the rest of it.
    const std::size_t length = text.size();
    text.append(shown_ > length ? shown_ - length : 0, ' ');
    WriteAll(fd_, '\r' + text);
    shown_ = length;
    shownAt_ = now;
}

void TProgressLine::Clear() {
    const std::lock_guard lock(mutex_);
    if (shown_ > 0) {
        WriteAll(fd_, '\r' + std::string(shown_, ' ') + '\r');
        shown_ = 0;
    }
}

} // namespace quillon
