// What the fuzz targets share: the input written to a file in a folder of their own, for the
// parsers that read files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/runtime/atomic_replace.h"
#include "tests/support/temp_folder.h"

namespace quillet::fuzz {

inline testing::TempFolder& folder() {
    static testing::TempFolder temporary;
    return temporary;
}

// Writes the bytes to the named file in the fuzz folder and returns its path.
inline std::string write_input(std::string_view name, const std::uint8_t* data, std::size_t size) {
    const std::string path = folder().file(name);
    testing::TempFolder::write_bytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
    return path;
}

// A broken promise of the code under test: the fuzzer takes the crash as a finding.
inline void require(bool holds) {
    if (!holds) __builtin_trap();
}

}  // namespace quillet::fuzz
