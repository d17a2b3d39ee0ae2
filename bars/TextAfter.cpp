#include "bars/TextAfter.h"

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

std::string FileLabelText(std::string_view path) {
    const std::string experts = ExpertsFolderPattern();
    if (path.find(experts) != std::string_view::npos) {
        return TextAfter(experts, path);
    }
    // The name MQL4 stays in the label: "Files/EURUSD60.csv" alone would not say which terminal
    // folder the file is in.
    const std::string dataFolder =
        std::string("MQL4") + static_cast<char>(std::filesystem::path::preferred_separator);
    const std::size_t position = path.find(dataFolder);
    if (position == std::string_view::npos) {
        return {};
    }
    return std::string(path.substr(position));
}

} // namespace quillon
