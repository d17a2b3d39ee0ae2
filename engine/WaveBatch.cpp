#include "engine/WaveBatch.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

#include "base/Errors.h"
#include "base/ShareOut.h"
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

} // namespace

void WaveComponents(std::span<const TWaveRequest> requests, std::span<TSeries> results,
                    unsigned maxThreads) {
    if (results.size() < requests.size()) {
        ThrowRangeCheckError();
    }
    // The requests worked out, by index; each other request copies an earlier equal one.
    std::vector<std::size_t> distinct;
    std::vector<std::size_t> source(requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
        source[i] = i;
        for (std::size_t d : distinct) {
            if (SameRequest(requests[d], requests[i])) {
                source[i] = d;
                break;
            }
        }
        if (source[i] == i) {
            distinct.push_back(i);
        }
    }

    std::vector<TSeries> worked(requests.size());
    std::vector<std::exception_ptr> errors(requests.size());
    const unsigned allowed = ThreadsAllowed(maxThreads);
    // Each request's error is kept, not raised, so that the first failing one in order is told.
    ShareOut(
        distinct.size(), std::min<std::size_t>(allowed, distinct.size()),
        [] { return std::make_unique<int>(0); },
        [&](int&, std::size_t d) {
            const std::size_t i = distinct[d];
            const TWaveRequest& q = requests[i];
            try {
                worked[i] = WaveComponent(*q.series, q.N, q.L, q.R, q.r);
            } catch (...) {
                errors[i] = std::current_exception();
            }
        });
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (errors[source[i]]) {
            std::rethrow_exception(errors[source[i]]);
        }
    }
    for (std::size_t i = 0; i < requests.size(); ++i) {
        results[i] = worked[source[i]];
    }
}

} // namespace quillon
