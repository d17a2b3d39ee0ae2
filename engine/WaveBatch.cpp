#include "engine/WaveBatch.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

#include "base/Errors.h"
#include "engine/WaveComponent.h"

namespace quillon {

namespace {

// Same arguments, bit for bit in the points used, give the same result or the same error, so
// such a request is worked out once. Requests beyond the capacities are never merged.
bool SameRequest(const TWaveRequest& a, const TWaveRequest& b) {
    if (a.N != b.N || a.L != b.L || a.R != b.R || a.r != b.r || a.N < 0 || a.N > SeriesCapacity) {
        return false;
    }
    return a.series == b.series ||
           std::memcmp(a.series->Slice(0, a.N).data(), b.series->Slice(0, b.N).data(),
                       sizeof(double) * static_cast<std::size_t>(a.N)) == 0;
}

struct TBatch {
    std::span<const TWaveRequest> requests;
    // The requests worked out, by index; each other request copies an earlier equal one.
    std::vector<std::size_t> distinct;
    std::vector<TSeries> results;
    std::vector<std::exception_ptr> errors;
    std::atomic<std::size_t> next = 0;
};

// Takes the next distinct request not yet taken until none is left.
void WorkOff(TBatch& batch) {
    for (std::size_t d = batch.next++; d < batch.distinct.size(); d = batch.next++) {
        const std::size_t i = batch.distinct[d];
        const TWaveRequest& q = batch.requests[i];
        try {
            batch.results[i] = WaveComponent(*q.series, q.N, q.L, q.R, q.r);
        } catch (...) {
            batch.errors[i] = std::current_exception();
        }
    }
}

} // namespace

void WaveComponents(std::span<const TWaveRequest> requests, std::span<TSeries> results,
                    unsigned maxThreads) {
    if (results.size() < requests.size()) {
        ThrowRangeCheckError();
    }
    TBatch batch;
    batch.requests = requests;
    batch.results.resize(requests.size());
    batch.errors.resize(requests.size());
    std::vector<std::size_t> source(requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
        source[i] = i;
        for (std::size_t d : batch.distinct) {
            if (SameRequest(requests[d], requests[i])) {
                source[i] = d;
                break;
            }
        }
        if (source[i] == i) {
            batch.distinct.push_back(i);
        }
    }

    const unsigned allowed =
        maxThreads != 0 ? maxThreads : std::max(1U, std::thread::hardware_concurrency());
    const std::size_t workers = std::min<std::size_t>(allowed, batch.distinct.size());
    {
        std::vector<std::jthread> threads;
        try {
            for (std::size_t w = 1; w < workers; ++w) {
                threads.emplace_back([&batch] { WorkOff(batch); });
            }
        } catch (const std::system_error&) {
            // No thread to spare: the threads there are, this one included, do all the work.
        }
        WorkOff(batch);
    }
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (batch.errors[source[i]]) {
            std::rethrow_exception(batch.errors[source[i]]);
        }
    }
    for (std::size_t i = 0; i < requests.size(); ++i) {
        results[i] = batch.results[source[i]];
    }
}

} // namespace quillon
