#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace quillon {

// The threads a piece of work may take: `asked` where it is given, else one a processor.
inline unsigned ThreadsAllowed(unsigned asked) {
    return asked != 0 ? asked : std::max(1U, std::thread::hardware_concurrency());
}

// Works items 0..count-1 out on up to `workers` threads, the caller's included: each thread makes
// its own state once (makeState(), storage too large to make per item) and then takes the next
// item not yet taken, work(state, item), until none is left. What a thread raises ends that
// thread; once all have ended, the first such error (by thread) is raised again. Where the system
// has no thread to spare, the threads there are do all the items.
template <typename MakeState, typename Work>
void ShareOut(std::size_t count, std::size_t workers, const MakeState& makeState,
              const Work& work) {
    if (workers == 0 || count == 0) {
        return;
    }
    std::atomic<std::size_t> next = 0;
    std::vector<std::exception_ptr> errors(workers);
    const auto worker = [&](std::size_t self) {
        try {
            auto state = makeState();
            for (std::size_t item = next++; item < count; item = next++) {
                work(*state, item);
            }
        } catch (...) {
            errors[self] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> threads;
        try {
            for (std::size_t self = 1; self < workers; ++self) {
                threads.emplace_back(worker, self);
            }
        } catch (const std::system_error&) {
        }
        worker(0);
    }
    for (const std::exception_ptr& error : errors) {
        if (error) {
            std::rethrow_exception(error);
        }
    }
}

} // namespace quillon
