// Files stored inside the program at build time (the pictures of resources/), looked up by name.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quillet {

// The bytes of the embedded file with that name ("note.png"), or an empty span.
std::span<const std::uint8_t> embedded_file(std::string_view name);

}  // namespace quillet
