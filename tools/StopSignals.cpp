#include "tools/StopSignals.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace quillon {

TStopSignals::TStopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    if (const int error = ::pthread_sigmask(SIG_BLOCK, &signals, nullptr); error != 0) {
        errno = error;
        return;
    }
    fd_ = ::signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC);
}

TStopSignals::~TStopSignals() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void TStopSignals::Take() {
    signalfd_siginfo info;
    while (::read(fd_, &info, sizeof(info)) == static_cast<ssize_t>(sizeof(info))) {
    }
}

} // namespace quillon
