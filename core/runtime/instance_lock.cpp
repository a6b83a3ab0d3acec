#include "core/runtime/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "core/runtime/windows1252.h"

namespace quillet {

InstanceLock::InstanceLock(const std::string& folder, const std::string& name) {
    // The name is a program text; the folder is the file system's own.
    const std::string path = folder + windows1252_to_utf8(name) + "-" + std::to_string(::getuid()) + ".lock";
    // Close-on-exec: programs started later must not inherit the lock. No link is followed: in a
    // shared /tmp the name could point anywhere.
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0) return;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        another_holds_ = errno == EWOULDBLOCK;
        ::close(descriptor);
        return;
    }
    descriptor_ = descriptor;
}

InstanceLock::~InstanceLock() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

std::string runtime_folder() {
    const char* folder = std::getenv("XDG_RUNTIME_DIR");
    std::string path = folder != nullptr && *folder != '\0' ? std::string(folder) : std::string("/tmp");
    if (path.back() != '/') path += '/';
    return path;
}

}  // namespace quillet
