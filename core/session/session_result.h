// How a change of the register session ended, and the file to name when it did not: done; stale,
// when another program changed the register since it was listed (nothing was written: the caller
// reads the register again); or failed, with the file that failed (the register or its companion
// store) and the cause, both files as they were.
#pragma once

#include <string>

#include "core/runtime/io_status.h"

namespace quillet {

enum class SessionOutcome {
    kDone,
    kStale,   // another program changed the register since it was listed; nothing was written
    kFailed,  // the write failed; the register and its store are as they were
};

class [[nodiscard]] SessionResult {
  public:
    SessionResult() = default;
    // ESTALE is the stale outcome, any other failure a failed one, of the file named.
    static SessionResult of(const IoStatus& status, const std::string& file = {});
    // A failure of the companion store's part: the store's file is the one to name.
    static SessionResult of_store(const IoStatus& status, const std::string& store_file);
    SessionOutcome outcome() const { return outcome_; }
    bool done() const { return outcome_ == SessionOutcome::kDone; }
    bool stale() const { return outcome_ == SessionOutcome::kStale; }
    bool failed() const { return outcome_ == SessionOutcome::kFailed; }
    const IoStatus& cause() const { return cause_; }
    // The file the failure is to be said with: the register's path or the store's.
    const std::string& file() const { return file_; }
    bool in_store() const { return in_store_; }

  private:
    SessionOutcome outcome_ = SessionOutcome::kDone;
    IoStatus cause_;
    std::string file_;
    bool in_store_ = false;
};

}  // namespace quillet
