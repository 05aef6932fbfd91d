#pragma once
// Files from res/embedded/ compiled into the library (see cmake/EmbedResources.cmake).

#include <optional>
#include <span>
#include <string_view>

namespace zelt {

// The bytes of the embedded file with this base name, or nothing when there is none.
std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view name);

}  // namespace zelt
