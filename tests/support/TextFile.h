#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

namespace quillon {

// Writes text to path byte for byte; throws std::runtime_error when it cannot.
inline void WriteTextFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot create " + path);
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace quillon
