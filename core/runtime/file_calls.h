// Test seam: every call that changes a file on disk (a create, write, sync, truncation, rename,
// link or removal) is counted here first, so that a test can stop the process just before the Nth
// one and look at what a kill at that moment leaves. Nothing stops unless a test asks.
#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// Whose call it is: the program's own, one of SQLite's steps (a create, sync or removal of its
// journal), or one of SQLite's page writes, of which a store's large change makes thousands.
enum class FileCall : char { kOwn = 'o', kStoreStep = 's', kStorePage = 'p' };

// Counts one call; kills the process (SIGKILL) when it is the one a test stops before.
void before_file_change(FileCall call = FileCall::kOwn);
// From now on the calls are counted and noted, and the process is killed before the nth (n >= 1;
// 0: never).
void stop_before_file_change(std::int64_t n);
// Whose each file change was since the count was last started, in order.
const std::string& file_changes_noted();

}  // namespace quillet
