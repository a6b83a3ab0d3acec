#include "core/register/register_lock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <thread>

#include "core/runtime/file_access.h"

namespace quillet {
namespace {

constexpr auto kLongestWait = std::chrono::seconds(5);
constexpr auto kPoll = std::chrono::milliseconds(5);
constexpr int kMostRetries = 100;  // renamed over this often while we wait: give up
constexpr std::time_t kStaleSeconds = 3600;

bool same_file(const struct stat& one, const struct stat& other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

// Waits for the exclusive lock, polling so that a stuck process cannot hold us forever.
bool lock_within_limit(int descriptor) {
    const auto give_up = std::chrono::steady_clock::now() + kLongestWait;
    while (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= give_up) {
            errno = EWOULDBLOCK;
            return false;
        }
        std::this_thread::sleep_for(kPoll);
    }
    return true;
}

}  // namespace

RegisterLock::RegisterLock(const std::string& path) {
    for (int attempt = 0; attempt < kMostRetries; ++attempt) {
        // Read-only opening is enough for a lock, and works on a file we may only read.
        const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (descriptor < 0) {
            status_ = IoStatus::from_errno();
            return;
        }
        if (!lock_within_limit(descriptor)) {
            status_ = IoStatus::from_errno();
            ::close(descriptor);
            return;
        }
        struct stat locked {};
        struct stat named {};
        if (::fstat(descriptor, &locked) == 0 && ::stat(path.c_str(), &named) == 0 &&
            same_file(locked, named)) {
            descriptor_ = descriptor;
            status_ = {};
            return;
        }
        // The path names another file now (a compaction renamed it in): lock that one.
        ::close(descriptor);
    }
    status_ = IoStatus::failure(EAGAIN);
}

RegisterLock::~RegisterLock() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

void remove_stale_temporaries(const std::string& register_path) {
    // A register reached through a link has its temporaries beside the file the link leads to.
    std::string target;
    if (!link_target(register_path, target)) return;
    const std::string folder = folder_part(target);
    // Built by appending: GCC 12 at -O3 warns falsely about "." + string.
    std::string prefix = ".";
    prefix += file_part(target);
    prefix += ".tmp-";
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0 || name.size() != prefix.size() + 6) continue;
        const std::string path = folder + name;
        struct stat status {};
        if (::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            now - status.st_mtime > kStaleSeconds) {
            ::unlink(path.c_str());
        }
    }
    ::closedir(listing);
}

}  // namespace quillet
