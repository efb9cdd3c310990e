#pragma once
// Baked assets carried inside the program (see cmake/Assets.cmake).
#include <cstdint>
#include <span>
#include <string_view>

namespace tb {
// The bytes of the named asset, or an empty span when the program carries no such asset.
std::span<const std::uint8_t> embedded_blob(std::string_view name);
}
