#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/CommandLine.h"

namespace quillon {

// The most points a spread may take off a trade: a thousand times the widest spread a broker
// quotes, and far from any overflow of a record's sums.
inline constexpr int MostSpreadPoints = 1000000;

// What the track record options ask for: the track records (quillon-waves --trades, quillon-scan
// --track), the whole file's among them, and a spread in points off each trade.
struct TTrackRequest {
    bool track = false;
    bool wholeFile = false;
    std::int64_t spread = 0;
};

// --whole-file and --spread S, which go only with the tool's option that asks for the records
// (trackOption, as "--trades"): their table entries, then their check once the command line is
// read.
class TTrackOptions {
public:
    explicit TTrackOptions(std::string_view trackOption)
        : trackOption_(trackOption) {}

    // The entries of --whole-file and --spread, which fill request.
    std::array<TOption, 2> Table(TTrackRequest& request);
    // After the command line: the spread read as an integer from 0 to MostSpreadPoints, and
    // neither option given without request.track; else false with the usage error's reason.
    bool Check(TTrackRequest& request, std::string& reason) const;
    // Their usage lines.
    std::string Usage() const;

private:
    std::string_view trackOption_;
    std::string spreadText_ = "0";
    bool spreadGiven_ = false;
    std::string spreadTyped_;
};

} // namespace quillon
