#include "core/runtime/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    if (folder.empty()) return;
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0) return;
    // A lock file someone else made is not ours to go by, whoever holds it.
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || status.st_uid != ::getuid() || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return;
    }
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

std::string runtime_folder(const std::string& temporary_folder) {
    const char* folder = std::getenv("XDG_RUNTIME_DIR");
    if (folder != nullptr && *folder != '\0') {
        std::string path = folder;
        if (path.back() != '/') path += '/';
        return path;
    }
    const std::string own = temporary_folder + "quillet-" + std::to_string(::getuid());
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) return {};
    struct stat status {};
    if (::lstat(own.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != ::getuid() ||
        (status.st_mode & 077) != 0) {
        return {};
    }
    return own + "/";
}

}  // namespace quillet
