// A record's fingerprint: a 64-bit hash of its bytes without the deleted flag and the record
// number. A transaction keeps it when it is flagged deleted and when compaction renumbers it, so
// that what is remembered of a transaction beside the register finds it again, and a write can
// tell that the record in a slot is still the one the list showed.
#pragma once

#include <cstdint>

namespace quillet {

// The bytes are a whole record (record_format::kRecordSize of them). The value is stored, so the
// hash never changes (XXH3, 64 bits).
std::uint64_t record_fingerprint(const std::uint8_t* record);

// A record named so that compaction and appends keep the name: its fingerprint and its place, the
// rank among the file's records with that fingerprint (deleted ones too) in file order.
struct RecordPlace {
    std::uint64_t fingerprint = 0;
    std::int64_t place = 0;
    bool operator==(const RecordPlace&) const = default;
};

}  // namespace quillet
