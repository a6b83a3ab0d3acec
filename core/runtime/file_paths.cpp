// The operations on paths and on files by name.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/runtime/file_calls.h"

namespace quillet {
namespace {

constexpr std::size_t kCopyBlock = 1 << 20;
constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

std::string without_trailing_slashes(const std::string& path) {
    std::size_t end = path.size();
    while (end > 0 && path[end - 1] == '/') --end;
    // "/" and "//" still name the root folder.
    return end == 0 ? std::string("/") : path.substr(0, end);
}

}  // namespace

std::int64_t file_size(const std::string& path) {
    if (path.empty()) return -1;
    struct stat status {};
    if (::stat(without_trailing_slashes(path).c_str(), &status) != 0) return -1;
    if (S_ISDIR(status.st_mode)) return -2;
    return status.st_size;
}

FileStamp file_stamp(const std::string& path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return {};
    return {true, static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::int64_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

IoStatus link_target(const std::string& path, std::string& target) {
    struct stat status {};
    if (path.empty() || ::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
        target = path;
        return {};
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return IoStatus::from_errno();
    target = resolved;
    std::free(resolved);
    return {};
}

bool is_regular_file(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool is_read_only(const std::string& path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return false;
    return (status.st_mode & kAnyWriteBit) == 0 || ::access(path.c_str(), W_OK) != 0;
}

IoStatus read_only_cause(const std::string& path) {
    if (::access(path.c_str(), W_OK) != 0 && errno == EROFS) return IoStatus::failure(EROFS);
    return IoStatus::failure(EACCES);
}

IoStatus delete_file(const std::string& path, int options) {
    struct stat status {};
    if (path.empty()) return IoStatus::failure(ENOENT);
    if (::lstat(path.c_str(), &status) != 0) return IoStatus::from_errno();
    if (S_ISDIR(status.st_mode)) return IoStatus::failure(EISDIR);
    if (!S_ISLNK(status.st_mode) && is_read_only(path)) {
        if ((options & kDeleteReadOnly) == 0) return IoStatus::failure(EACCES);
        ::chmod(path.c_str(), (status.st_mode & 07777) | S_IWUSR);
    }
    before_file_change();
    if (::unlink(path.c_str()) != 0) return IoStatus::from_errno();
    return {};
}

IoStatus create_folders(const std::string& folder, unsigned mode) {
    std::string path;
    IoStatus made;
    for (const char c : folder + "/") {
        if (c == '/' && !path.empty() && file_size(path) == -1 &&
            ::mkdir(path.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) {
            made &= IoStatus::from_errno();
        }
        path += c;
    }
    if (file_size(folder) == -2) return {};
    return made.ok() ? IoStatus::failure(ENOTDIR) : made;
}

IoStatus rename_file(const std::string& old_path, const std::string& new_path) {
    if (old_path.empty() || new_path.empty()) return IoStatus::failure(ENOENT);
    before_file_change();
    if (::rename(old_path.c_str(), new_path.c_str()) == 0) return {};
    if (errno != EXDEV) return IoStatus::from_errno();
    // Another file system: copy, then remove the original only once the copy stands.
    if (const IoStatus copied = copy_file(old_path, new_path); !copied) return copied;
    before_file_change();
    if (::unlink(old_path.c_str()) != 0) return IoStatus::from_errno();
    return {};
}

IoStatus copy_file(const std::string& source_path, const std::string& destination_path) {
    if (destination_path.empty()) return IoStatus::failure(ENOENT);
    AtomicReplace destination(destination_path);
    if (const IoStatus copied = copy_into(source_path, destination); !copied) return copied;
    return destination.commit();
}

IoStatus copy_into(const std::string& source_path, AtomicReplace& destination) {
    const int source = ::open(source_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (source < 0) return IoStatus::from_errno();
    struct stat status {};
    if (::fstat(source, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(source);
        return IoStatus::failure(S_ISDIR(status.st_mode) ? EISDIR : ENXIO);
    }
    std::vector<char> block(kCopyBlock);
    IoStatus copied = destination.status();
    while (copied) {
        const ssize_t got = ::read(source, block.data(), block.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) copied = IoStatus::from_errno();
        if (got <= 0) break;
        copied = destination.write(block.data(), static_cast<std::size_t>(got));
    }
    ::close(source);
    return copied;
}

IoStatus link_file(const std::string& existing_path, const std::string& new_path) {
    before_file_change();
    return ::link(existing_path.c_str(), new_path.c_str()) == 0 ? IoStatus() : IoStatus::from_errno();
}

bool names_anything(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::lstat(path.c_str(), &status) == 0;
}

bool is_symbolic_link(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

std::string folder_part(std::string_view path) {
    if (!path.empty() && path.front() == '"') path.remove_prefix(1);
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string file_part(std::string_view path, int options) {
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if ((options & kCutExtension) != 0) {
        const std::size_t dot = name.rfind('.');
        if (dot != std::string_view::npos && dot + 1 < name.size() &&
            name.find(' ', dot + 1) == std::string_view::npos) {
            name = name.substr(0, dot);
        }
    }
    return std::string(name);
}

std::string program_file_path() {
    std::vector<char> buffer(4096);
    while (true) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string profile_folder() {
    std::string home;
    if (const char* variable = std::getenv("HOME"); variable != nullptr && *variable != '\0') {
        home = variable;
    } else if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        home = entry->pw_dir;
    }
    if (home.empty()) return {};
    if (home.back() != '/') home += '/';
    return home;
}

}  // namespace quillet
