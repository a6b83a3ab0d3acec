// Test seam: SQLite's own file calls counted with ours (core/runtime/file_calls.h), so that a kill
// test can stop a process before any file call, the store's among them. Installs a file system
// layer over SQLite's default one that counts every create, write, truncation, sync and removal.
#pragma once

namespace quillet::testing {

// Makes the counting layer SQLite's default, once per process.
void count_sqlite_file_changes();

}  // namespace quillet::testing
