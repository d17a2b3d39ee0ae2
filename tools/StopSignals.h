#pragma once

namespace quillon {

// SIGINT and SIGTERM taken from their default action, which ends the program at once, and told
// instead through a descriptor that an event loop can watch (signalfd): no handler runs, so no
// work is done inside one and no descriptor needs to be global for it.
class TStopSignals {
public:
    // Blocks both signals in this thread and in every thread it starts from now on. Made before
    // the program's first thread: a thread started earlier would take the signal and end the
    // program. Descriptor() is -1 when the descriptor cannot be had, with errno saying why.
    TStopSignals();
    // The signals stay blocked: a second one would otherwise end the program on its way out.
    ~TStopSignals();
    TStopSignals(const TStopSignals&) = delete;
    TStopSignals& operator=(const TStopSignals&) = delete;

    int Descriptor() const { return fd_; }
    // Reads the signals that have come, so that the descriptor is quiet until the next one.
    void Take();

private:
    int fd_ = -1;
};

} // namespace quillon
