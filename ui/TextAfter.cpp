#include "ui/TextAfter.h"

#include <filesystem>

namespace quillon {

std::string TextAfter(std::string_view pattern, std::string_view subject) {
    // An empty pattern counts as occurring nowhere, so it cannot echo the whole subject.
    const std::size_t position = pattern.empty() ? std::string_view::npos : subject.find(pattern);
    if (position == std::string_view::npos) {
        return {};
    }
    return std::string(subject.substr(position + pattern.size()));
}

std::string ExpertsFolderPattern() {
    return std::string("experts") + static_cast<char>(std::filesystem::path::preferred_separator);
}

} // namespace quillon
