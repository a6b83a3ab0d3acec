// Test seam: every call that changes a file on disk (a create, write, sync, truncation, rename,
// link or removal) is counted here first, so that a test can stop the process just before the Nth
// one and look at what a kill at that moment leaves. Nothing stops unless a test asks.
#pragma once

#include <cstdint>

namespace quillet {

// Counts one call; kills the process (SIGKILL) when it is the one a test stops before.
void before_file_change();
// The process is killed before its nth file change from now on (n >= 1); 0 never.
void stop_before_file_change(std::int64_t n);
// The file changes counted since the count was last reset.
std::int64_t file_changes_counted();
void reset_file_change_count();

}  // namespace quillet
