#include "core/register/record_fingerprint.h"

#include <xxhash.h>

#include "core/register/format.h"

namespace quillet {

using namespace record_format;

static_assert(kDeletedOffset == 0 && kRecordNumberOffset == 1 && kDateOffset == 5,
              "the fingerprint covers every byte from the date on");

std::uint64_t record_fingerprint(const std::uint8_t* record) {
    return XXH3_64bits(record + kDateOffset, kRecordSize - kDateOffset);
}

}  // namespace quillet
