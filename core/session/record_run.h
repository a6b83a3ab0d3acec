// Whole records kept one after another in a string: a batch a change appends, or cuts again.
#pragma once

#include <cstdint>
#include <string>

#include "core/register/format.h"

namespace quillet {

inline std::int64_t count_of(const std::string& records) {
    return static_cast<std::int64_t>(records.size() / record_format::kRecordSize);
}

inline const std::uint8_t* record_at(const std::string& records, std::int64_t at) {
    return reinterpret_cast<const std::uint8_t*>(records.data()) +
           at * static_cast<std::int64_t>(record_format::kRecordSize);
}

}  // namespace quillet
