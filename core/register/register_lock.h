// The lock every write to a register holds. A register may be shared with other processes (a
// second copy of the program, a command-line tool, a sync client): each write takes an exclusive
// advisory lock (flock) on the register's file from the moment it reads the file for the write
// until its bytes are synced or its new file is renamed into place.
//
// A compaction renames a new file over the register, so a lock taken on the file that the path
// named a moment ago may guard a file that is gone: once locked, the lock checks that the path
// still names the locked file (same device and inode) and starts again on the new one when not.
#pragma once

#include <string>

#include "core/runtime/io_status.h"

namespace quillet {

class RegisterLock {
  public:
    // Locks the file the path names, waiting a few seconds at most for another process to finish
    // its write (EWOULDBLOCK then: the register is busy). A missing file gives ENOENT.
    explicit RegisterLock(const std::string& path);
    ~RegisterLock();
    RegisterLock(const RegisterLock&) = delete;
    RegisterLock& operator=(const RegisterLock&) = delete;

    IoStatus status() const { return status_; }
    bool held() const { return descriptor_ >= 0; }

  private:
    int descriptor_ = -1;
    IoStatus status_;
};

}  // namespace quillet
