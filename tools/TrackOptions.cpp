#include "tools/TrackOptions.h"

#include "base/IntegerText.h"

namespace quillon {

std::array<TOption, 2> TTrackOptions::Table(TTrackRequest& request) {
    return {TOption{"whole-file", 0, nullptr, &request.wholeFile},
            TOption{"spread", 0, &spreadText_, &spreadGiven_, &spreadTyped_}};
}

bool TTrackOptions::Check(TTrackRequest& request, std::string& reason) const {
    const std::string only = ": only with " + std::string(trackOption_);
    if (!request.track && (request.wholeFile || spreadGiven_)) {
        reason = (request.wholeFile ? "--whole-file" : "--spread") + only;
        return false;
    }
    int spread = 0;
    if (!ReadIntegerOption("--spread", spreadText_, 0, MostSpreadPoints, spread, reason,
                           spreadTyped_)) {
        return false;
    }
    request.spread = spread;
    return true;
}

std::string TTrackOptions::Usage() const {
    const std::string with = std::string(trackOption_);
    return "  --whole-file\n"
           "             with " +
           with +
           ", the whole file's record too\n"
           "  --spread S with " +
           with + ", S points off each trade, the open one included: an integer from 0\n" +
           "             to " + IntegerToText(MostSpreadPoints) + " (default 0)\n";
}

} // namespace quillon
