#include "cli/mapped_register.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "cli/exit_codes.h"
#include "core/register/format.h"

namespace quillet::cli {

namespace {

std::string& mapped_path() {
    static std::string path;
    return path;
}

// Only what a signal handler may do: write the message and end.
void on_fault(int) {
    constexpr char kStart[] = "quillet-cli: ";
    constexpr char kEnd[] = ": another program changed it while it was read; nothing was written\n";
    (void)!::write(STDERR_FILENO, kStart, sizeof kStart - 1);
    (void)!::write(STDERR_FILENO, mapped_path().data(), mapped_path().size());
    (void)!::write(STDERR_FILENO, kEnd, sizeof kEnd - 1);
    ::_exit(kChangedElsewhere);
}

}  // namespace

MappedRegister::~MappedRegister() {
    if (bytes_ != nullptr) ::munmap(const_cast<std::uint8_t*>(bytes_), length_);
}

IoStatus MappedRegister::open(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return IoStatus::failure(errno);
    struct stat status {};
    if (::fstat(file, &status) != 0) {
        const int error = errno;
        ::close(file);
        return IoStatus::failure(error);
    }
    count_ = status.st_size / static_cast<std::int64_t>(record_format::kRecordSize);
    length_ = static_cast<std::size_t>(count_) * record_format::kRecordSize;
    if (length_ > 0) {
        mapped_path() = path;
        std::signal(SIGBUS, on_fault);
        void* mapped = ::mmap(nullptr, length_, PROT_READ, MAP_SHARED, file, 0);
        if (mapped == MAP_FAILED) {
            const int error = errno;
            ::close(file);
            length_ = 0;
            count_ = 0;
            return IoStatus::failure(error);
        }
        bytes_ = static_cast<const std::uint8_t*>(mapped);
        (void)::madvise(mapped, length_, MADV_SEQUENTIAL);
    }
    ::close(file);
    return {};
}

const std::uint8_t* MappedRegister::record(std::int64_t slot) const {
    return bytes_ + static_cast<std::size_t>(slot) * record_format::kRecordSize;
}

}  // namespace quillet::cli
