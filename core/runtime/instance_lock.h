// Keeps a second copy of the program from running: the first copy holds an exclusive lock on a
// file named after the program's instance name and the user until it ends (the kernel lets go
// even when the process is killed). The lock lives in a folder only the user may write, and a
// lock file that is not the user's own is never used: no other user can keep the program from
// starting.
#pragma once

#include <string>

namespace quillet {

class InstanceLock {
  public:
    // Tries to take the lock on folder + name. Never waits. An empty folder (none could be had
    // safely) takes no lock.
    InstanceLock(const std::string& folder, const std::string& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process (or another lock object) holds it, or the file cannot be made.
    bool held() const { return descriptor_ >= 0; }
    // True only when another holder has it: a lock file that cannot be made proves no other copy.
    bool another_holds() const { return another_holds_; }

  private:
    int descriptor_ = -1;
    bool another_holds_ = false;
};

// The user's runtime folder, ending in "/": $XDG_RUNTIME_DIR, else a folder of the user's own in the
// temporary folder (quillet-<uid>, mode 0700), made when missing and taken only when it is a real
// folder, not a link, that belongs to the user and that nobody else may enter. Empty when there is
// no such folder: the program then runs without the guard.
std::string runtime_folder(const std::string& temporary_folder = "/tmp/");

}  // namespace quillet
