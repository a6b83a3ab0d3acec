#include "core/register/register_lock.h"

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

}  // namespace quillet
