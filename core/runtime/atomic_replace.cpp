#include "core/runtime/atomic_replace.h"

#include "core/runtime/file_access.h"
#include "core/runtime/file_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

namespace quillet {
namespace {

// A temporary file older than this was left by a killed write: a younger one may be another
// process's write that is still going on.
constexpr std::time_t kStaleSeconds = 3600;

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

// The permissions a new file gets from the user's umask.
ReplaceFault& injected_fault() {
    static ReplaceFault fault = ReplaceFault::kNone;
    return fault;
}

// True once for the step that a test asked to fail.
bool take_fault(ReplaceFault step) {
    if (injected_fault() != step) return false;
    injected_fault() = ReplaceFault::kNone;
    return true;
}

mode_t default_file_mode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool sync_folder(const std::string& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return false;
    before_file_change();
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
}

}  // namespace

void remove_stale_temporaries(const std::string& path) {
    // A file reached through a link has its temporaries beside the file the link leads to.
    std::string target;
    if (!link_target(path, target)) return;
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
        const std::string stale = folder + name;
        struct stat status {};
        if (::lstat(stale.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            now - status.st_mtime > kStaleSeconds) {
            ::unlink(stale.c_str());
        }
    }
    ::closedir(listing);
}

bool remove_if_stale(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           std::time(nullptr) - status.st_mtime > kStaleSeconds && ::unlink(path.c_str()) == 0;
}

void inject_replace_fault(ReplaceFault fault) { injected_fault() = fault; }

AtomicReplace::AtomicReplace(std::string target_path) : target_path_(std::move(target_path)) {
    if (target_path_.empty() || target_path_.back() == '/') {
        failure_ = IoStatus::failure(target_path_.empty() ? ENOENT : EISDIR);
        return;
    }
    // A link stays a link: the file it leads to is replaced.
    if (const IoStatus resolved = link_target(target_path_, target_path_); !resolved) {
        failure_ = resolved;
        return;
    }
    // What a killed replacement of this file left beside it goes now.
    remove_stale_temporaries(target_path_);
    // A file that may not be written is not replaced either: its refusal holds for every write.
    if (is_read_only(target_path_)) {
        failure_ = read_only_cause(target_path_);
        return;
    }
    const std::size_t slash = target_path_.rfind('/');
    const std::string name = slash == std::string::npos ? target_path_ : target_path_.substr(slash + 1);
    std::string pattern = (slash == std::string::npos ? std::string() : target_path_.substr(0, slash + 1)) +
                          "." + name + ".tmp-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (take_fault(ReplaceFault::kCreate)) {
        failure_ = IoStatus::failure(EACCES);
        return;
    }
    before_file_change();
    descriptor_ = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (descriptor_ >= 0) {
        temporary_path_ = buffer.data();
    } else {
        failure_ = IoStatus::from_errno();
    }
}

IoStatus AtomicReplace::status() const {
    if (!failure_.ok() || descriptor_ >= 0) return failure_;
    return IoStatus::failure(EBADF);  // committed already, or never begun
}

AtomicReplace::~AtomicReplace() {
    if (!committed_) abandon();
}

void AtomicReplace::abandon() {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
    if (!temporary_path_.empty()) {
        before_file_change();
        ::unlink(temporary_path_.c_str());
    }
    temporary_path_.clear();
    if (failure_.ok()) failure_ = IoStatus::failure(ECANCELED);
}

IoStatus AtomicReplace::write(const void* data, std::size_t size) {
    if (!ok()) return status();
    if (take_fault(ReplaceFault::kWrite)) {
        failure_ = IoStatus::failure(ENOSPC);
        return failure_;
    }
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        before_file_change();
        const ssize_t written = ::write(descriptor_, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            failure_ = written < 0 ? IoStatus::from_errno() : IoStatus::failure(ENOSPC);
            return failure_;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

IoStatus AtomicReplace::commit() {
    if (committed_) return IoStatus::failure(EINVAL);
    if (!ok()) return status();
    struct stat existing {};
    const mode_t mode =
        ::stat(target_path_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : default_file_mode();
    IoStatus done;
    before_file_change();
    if (::fchmod(descriptor_, mode) != 0 || ::fsync(descriptor_) != 0) done = IoStatus::from_errno();
    if (::close(descriptor_) != 0) done &= IoStatus::from_errno();
    descriptor_ = -1;
    if (done && take_fault(ReplaceFault::kRename)) done = IoStatus::failure(ENOENT);
    if (done) before_file_change();
    if (done && ::rename(temporary_path_.c_str(), target_path_.c_str()) != 0) done = IoStatus::from_errno();
    if (!done) {
        failure_ = done;
        abandon();
        return done;
    }
    committed_ = true;
    // The rename is done; a folder that cannot be synced does not undo it.
    sync_folder(folder_of(target_path_));
    return {};
}

IoStatus replace_file_contents(const std::string& target_path, std::string_view contents) {
    AtomicReplace replacement(target_path);
    IoStatus replaced = replacement.write(contents);
    if (replaced) replaced = replacement.commit();
    return replaced;
}

IoStatus replace_or_rewrite_in_place(const std::string& target_path, std::string_view contents) {
    AtomicReplace replacement(target_path);
    const bool no_temporary =
        !replacement.ok() && replacement.temporary_path().empty() &&
        (replacement.status().error() == EACCES || replacement.status().error() == EROFS ||
         replacement.status().error() == EPERM);
    if (!no_temporary || is_read_only(target_path) || file_size(target_path) < 0) {
        IoStatus replaced = replacement.write(contents);
        if (replaced) replaced = replacement.commit();
        return replaced;
    }
    const int descriptor = ::open(target_path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return IoStatus::from_errno();
    IoStatus written;
    std::size_t done = 0;
    while (written && done < contents.size()) {
        before_file_change();
        const ssize_t put = ::write(descriptor, contents.data() + done, contents.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) written = put < 0 ? IoStatus::from_errno() : IoStatus::failure(ENOSPC);
        if (put > 0) done += static_cast<std::size_t>(put);
    }
    if (written) before_file_change();
    if (written && ::ftruncate(descriptor, static_cast<off_t>(contents.size())) != 0)
        written = IoStatus::from_errno();
    if (written && ::fsync(descriptor) != 0) written = IoStatus::from_errno();
    if (::close(descriptor) != 0) written &= IoStatus::from_errno();
    return written;
}

}  // namespace quillet
