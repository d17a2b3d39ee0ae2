#include "engine/WaveBatch.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

#include "base/Errors.h"
#include "engine/WaveComponent.h"

namespace quillon {

namespace {

struct TBatchOutcome {
    std::vector<TSeries> results;
    std::vector<std::exception_ptr> errors;
};

// Takes the next request not yet taken until none is left.
void WorkOff(std::span<const TWaveRequest> requests, std::atomic<std::size_t>& next,
             TBatchOutcome& outcome) {
    for (std::size_t i = next++; i < requests.size(); i = next++) {
        const TWaveRequest& request = requests[i];
        try {
            outcome.results[i] =
                WaveComponent(*request.series, request.N, request.L, request.R, request.r);
        } catch (...) {
            outcome.errors[i] = std::current_exception();
        }
    }
}

} // namespace

void WaveComponents(std::span<const TWaveRequest> requests, std::span<TSeries> results) {
    if (results.size() < requests.size()) {
        ThrowRangeCheckError();
    }
    TBatchOutcome outcome{std::vector<TSeries>(requests.size()),
                          std::vector<std::exception_ptr>(requests.size())};
    std::atomic<std::size_t> next = 0;
    const std::size_t workers =
        std::min<std::size_t>(std::max(1U, std::thread::hardware_concurrency()), requests.size());
    {
        std::vector<std::jthread> threads;
        for (std::size_t w = 1; w < workers; ++w) {
            threads.emplace_back([&] { WorkOff(requests, next, outcome); });
        }
        WorkOff(requests, next, outcome);
    }
    for (const std::exception_ptr& error : outcome.errors) {
        if (error) {
            std::rethrow_exception(error);
        }
    }
    std::copy(outcome.results.begin(), outcome.results.end(), results.begin());
}

} // namespace quillon
