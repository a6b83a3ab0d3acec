// What the companion store knows of a record beyond its bytes, named by the record's place: whether
// an import made it, and its state against the bank's statements. The register layer keeps these per
// slot (record_places.h); the store keeps them by place (core/store/companion_store.h).
#pragma once

#include <cstdint>

#include "core/register/record_fingerprint.h"

namespace quillet {

// A link as the list needs it, without its identity (read for every record at open).
struct LinkedPlace {
    RecordPlace record;
    std::int64_t import_id = 0;
};

// A transaction's state against the bank's statements.
enum class ClearState : std::uint8_t {
    kUncleared = 0,
    kCleared = 1,     // seen at the bank
    kReconciled = 2,  // part of a finished statement
};

struct StoredMark {
    RecordPlace record;
    ClearState state = ClearState::kUncleared;
    std::int64_t statement_id = 0;  // a reconciled transaction's statement
};

}  // namespace quillet
