#include "live/TurnMemory.h"

#include <algorithm>

namespace quillon {

TTurnMemory::TTurnMemory(std::size_t maxFiles)
    : maxFiles_(std::max<std::size_t>(maxFiles, 1)) {}

bool TTurnMemory::FirstTime(const std::string& file, const std::string& bar, TTick direction) {
    const auto found = byName_.find(file);
    if (found == byName_.end()) {
        if (files_.size() >= maxFiles_) {
            byName_.erase(files_.back().file);
            files_.pop_back();
        }
        files_.push_front({file, {}});
        byName_.emplace(file, files_.begin());
    } else {
        const std::deque<std::pair<std::string, TTick>>& turns = found->second->turns;
        if (std::find(turns.begin(), turns.end(), std::pair(bar, direction)) != turns.end()) {
            return false;
        }
        files_.splice(files_.begin(), files_, found->second);
    }
    std::deque<std::pair<std::string, TTick>>& turns = files_.front().turns;
    if (turns.size() >= BarsPerFile) {
        turns.pop_front();
    }
    turns.emplace_back(bar, direction);
    return true;
}

bool TTurnMemory::Remembers(const std::string& file) const {
    return byName_.contains(file);
}

} // namespace quillon
