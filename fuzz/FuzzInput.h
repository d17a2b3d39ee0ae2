#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace quillon
