#include "core/session/session_result.h"

namespace quillet {

SessionResult SessionResult::of(const IoStatus& status, const std::string& file) {
    SessionResult result;
    if (status) return result;
    result.outcome_ = status.error() == ESTALE ? SessionOutcome::kStale : SessionOutcome::kFailed;
    result.cause_ = status;
    result.file_ = file;
    return result;
}

SessionResult SessionResult::of_store(const IoStatus& status, const std::string& store_file) {
    SessionResult result = of(status, store_file);
    result.in_store_ = !status.ok();
    return result;
}

}  // namespace quillet
