// The exit codes every subcommand keeps, for scripts (written in the man page too).
#pragma once

#include "core/runtime/io_status.h"

namespace quillet::cli {

inline constexpr int kDone = 0;
inline constexpr int kRefused = 1;           // bad arguments, a value out of range, an answer wanted
inline constexpr int kFileTrouble = 2;       // missing, unreadable, damaged, read-only, locked too long
inline constexpr int kChangedElsewhere = 3;  // another program changed the register: nothing written

// The code of a failed operation on a file.
inline int exit_code_of(const IoStatus& status) {
    if (status) return kDone;
    return status.error() == ESTALE ? kChangedElsewhere : kFileTrouble;
}

}  // namespace quillet::cli
