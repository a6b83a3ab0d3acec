// Keeps a second copy of the program from running: the first copy holds an exclusive lock on a
// file named after the program's instance name and the user until it ends (the kernel lets go
// even when the process is killed). Each user has a lock of their own, even in a shared /tmp.
#pragma once

#include <string>

namespace quillet {

class InstanceLock {
  public:
    // Tries to take the lock on folder + name. Never waits.
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

// The user's runtime folder ($XDG_RUNTIME_DIR, else /tmp), ending in "/".
std::string runtime_folder();

}  // namespace quillet
