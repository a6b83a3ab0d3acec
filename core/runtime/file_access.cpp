#include "core/runtime/file_access.h"
#include "core/runtime/file_calls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

namespace quillet {
namespace {

constexpr std::int64_t kBufferSize = 64 * 1024;
constexpr int kFirstChosenNumber = 0x10000;

// One open file. Reads and writes go through pread/pwrite at the file's own position, so the
// read-ahead and the write buffer never disagree with the descriptor's offset.
struct OpenFile {
    int descriptor = -1;
    int flags = 0;
    bool writable = false;
    std::int64_t position = 0;
    std::string read_ahead;  // the file's bytes from read_base on
    std::int64_t read_base = 0;
    std::string pending;  // bytes not yet written, for the file from write_base on
    std::int64_t write_base = 0;
    IoStatus failure;  // the first buffered write that failed; reported by flush and close
};

std::map<int, OpenFile>& open_files() {
    static std::map<int, OpenFile> files;
    return files;
}

OpenFile* find_file(int number) {
    auto& files = open_files();
    const auto found = files.find(number);
    return found == files.end() ? nullptr : &found->second;
}

std::int64_t pread_fully(int descriptor, char* buffer, std::int64_t count, std::int64_t offset) {
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(descriptor, buffer + done, static_cast<std::size_t>(count - done), offset + done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += got;
    }
    return done;
}

IoStatus pwrite_fully(int descriptor, const char* data, std::int64_t count, std::int64_t offset) {
    std::int64_t done = 0;
    while (done < count) {
        before_file_change();
        const ssize_t put =
            ::pwrite(descriptor, data + done, static_cast<std::size_t>(count - done), offset + done);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return IoStatus::from_errno();
        if (put == 0) return IoStatus::failure(ENOSPC);
        done += put;
    }
    return {};
}

// Writes the buffered bytes. A failure is kept, so that a later flush or close reports it even
// though the bytes are gone from the buffer.
IoStatus write_pending(OpenFile& file) {
    if (file.pending.empty()) return {};
    const IoStatus written = pwrite_fully(file.descriptor, file.pending.data(),
                                          static_cast<std::int64_t>(file.pending.size()), file.write_base);
    file.pending.clear();
    file.failure &= written;
    return written;
}

// The number of read-ahead bytes available at the file's position, refilling when none are.
// -1 on a read error, 0 at the end of the file.
std::int64_t buffered_bytes(OpenFile& file) {
    const std::int64_t offset = file.position - file.read_base;
    if (offset >= 0 && offset < static_cast<std::int64_t>(file.read_ahead.size())) {
        return static_cast<std::int64_t>(file.read_ahead.size()) - offset;
    }
    if (!write_pending(file).ok()) return -1;
    file.read_ahead.resize(kBufferSize);
    const std::int64_t got = pread_fully(file.descriptor, file.read_ahead.data(), kBufferSize, file.position);
    file.read_ahead.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    file.read_base = file.position;
    return got;
}

int choose_number() {
    int number = kFirstChosenNumber;
    while (find_file(number) != nullptr) ++number;
    return number;
}

int open_with(int number, const std::string& path, int open_flags, int flags, IoStatus* cause) {
    const auto fail = [cause](IoStatus why) {
        if (cause != nullptr) *cause = why;
        return -1;
    };
    if (path.empty()) return fail(IoStatus::failure(ENOENT));
    if ((open_flags & (O_CREAT | O_TRUNC)) != 0) before_file_change();
    // Never blocks: a named pipe would otherwise hold the program in open() until a writer comes.
    const int descriptor = ::open(path.c_str(), open_flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (descriptor < 0) return fail(IoStatus::from_errno());
    struct stat status {};
    const bool described = ::fstat(descriptor, &status) == 0;
    if (!described || S_ISDIR(status.st_mode) || S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode)) {
        const IoStatus why = !described                ? IoStatus::from_errno()
                             : S_ISDIR(status.st_mode) ? IoStatus::failure(EISDIR)
                                                       : IoStatus::failure(ENXIO);
        ::close(descriptor);
        return fail(why);
    }
    if (cause != nullptr) *cause = {};
    if (number == kAnyFileNumber) {
        number = choose_number();
    } else if (find_file(number) != nullptr) {
        // A caller that gives a number still in use gives up that file, and what it failed to write.
        (void)close_file(number);
    }
    OpenFile file;
    file.descriptor = descriptor;
    file.flags = flags;
    file.writable = (open_flags & O_ACCMODE) != O_RDONLY;
    if ((flags & file_flags::kAtEnd) != 0) file.position = status.st_size;
    open_files()[number] = std::move(file);
    return number;
}

IoStatus close_one(OpenFile& file) {
    (void)write_pending(file);  // a failure is kept in file.failure
    IoStatus closed = file.failure;
    if (::close(file.descriptor) != 0) closed &= IoStatus::from_errno();
    return closed;
}

}  // namespace

int read_open_file(int number, const std::string& path, int flags, IoStatus* cause) {
    return open_with(number, path, O_RDONLY, flags, cause);
}

int open_file(int number, const std::string& path, int flags, IoStatus* cause) {
    return open_with(number, path, O_RDWR | O_CREAT, flags, cause);
}

int open_existing_file(int number, const std::string& path, int flags, IoStatus* cause) {
    return open_with(number, path, O_RDWR, flags, cause);
}

int create_file(int number, const std::string& path, int flags, IoStatus* cause) {
    return open_with(number, path, O_RDWR | O_CREAT | O_TRUNC, flags & ~file_flags::kAtEnd, cause);
}

int create_exclusive_file(int number, const std::string& path) {
    return create_file(number, path, file_flags::kText8Bit);
}

IoStatus close_file(int number) {
    auto& files = open_files();
    if (number == kAllFiles) {
        IoStatus all_closed;
        for (auto& [unused, file] : files) all_closed &= close_one(file);
        files.clear();
        return all_closed;
    }
    const auto found = files.find(number);
    if (found == files.end()) return IoStatus::failure(EBADF);
    const IoStatus closed = close_one(found->second);
    files.erase(found);
    return closed;
}

bool is_file_open(int number) { return find_file(number) != nullptr; }

bool seek_file(int number, std::int64_t position) {
    OpenFile* file = find_file(number);
    if (file == nullptr || position < 0) return false;
    file->position = position;
    return true;
}

std::int64_t file_position(int number) {
    const OpenFile* file = find_file(number);
    return file == nullptr ? -1 : file->position;
}

std::int64_t read_bytes(int number, void* buffer, std::int64_t count) {
    OpenFile* file = find_file(number);
    if (file == nullptr || count < 0) return -1;
    char* out = static_cast<char*>(buffer);
    std::int64_t copied = 0;
    while (copied < count) {
        const std::int64_t wanted = count - copied;
        // Large blocks, and every read of an unbuffered file, go straight to the file.
        if (wanted >= kBufferSize || (file->flags & file_flags::kNoBuffering) != 0) {
            if (!write_pending(*file).ok()) return -1;
            file->read_ahead.clear();
            const std::int64_t got = pread_fully(file->descriptor, out + copied, wanted, file->position);
            if (got < 0) return copied > 0 ? copied : -1;
            file->position += got;
            return copied + got;
        }
        const std::int64_t available = buffered_bytes(*file);
        if (available < 0) return copied > 0 ? copied : -1;
        if (available == 0) break;
        const std::int64_t take = std::min(available, wanted);
        std::memcpy(out + copied, file->read_ahead.data() + (file->position - file->read_base),
                    static_cast<std::size_t>(take));
        file->position += take;
        copied += take;
    }
    return copied;
}

IoStatus write_bytes(int number, const void* data, std::int64_t count) {
    OpenFile* file = find_file(number);
    if (file == nullptr) return IoStatus::failure(EBADF);
    if (!file->writable || count < 0) return IoStatus::failure(EINVAL);
    file->read_ahead.clear();
    const char* bytes = static_cast<const char*>(data);
    if ((file->flags & file_flags::kNoBuffering) != 0 || count >= kBufferSize) {
        IoStatus written = write_pending(*file);
        if (written) written = pwrite_fully(file->descriptor, bytes, count, file->position);
        if (written) file->position += count;
        return written;
    }
    const bool contiguous =
        file->write_base + static_cast<std::int64_t>(file->pending.size()) == file->position;
    if (!file->pending.empty() && !contiguous) {
        if (const IoStatus written = write_pending(*file); !written) return written;
    }
    if (file->pending.empty()) file->write_base = file->position;
    file->pending.append(bytes, static_cast<std::size_t>(count));
    file->position += count;
    if (static_cast<std::int64_t>(file->pending.size()) < kBufferSize) return {};
    return write_pending(*file);
}

std::int64_t file_length(int number) {
    OpenFile* file = find_file(number);
    if (file == nullptr || !write_pending(*file).ok()) return -1;
    struct stat status {};
    if (::fstat(file->descriptor, &status) != 0) return -1;
    return status.st_size;
}

bool end_of_file(int number) {
    const OpenFile* file = find_file(number);
    if (file == nullptr) return true;
    return file->position >= file_length(number);
}

std::string read_line(int number) {
    OpenFile* file = find_file(number);
    std::string line;
    if (file == nullptr) return line;
    while (true) {
        const std::int64_t available = buffered_bytes(*file);
        if (available <= 0) return line;
        const char* start = file->read_ahead.data() + (file->position - file->read_base);
        const char* end = start + available;
        const char* stop =
            std::find_if(start, end, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
        line.append(start, stop);
        file->position += stop - start;
        if (stop == end) continue;
        const char line_end = *stop;
        ++file->position;
        // A CR LF pair is one line end; a CR alone is one too.
        if (line_end == '\r' && buffered_bytes(*file) > 0 &&
            file->read_ahead[static_cast<std::size_t>(file->position - file->read_base)] == '\n') {
            ++file->position;
        }
        return line;
    }
}

std::string read_all(int number) {
    const std::int64_t length = file_length(number);
    const std::int64_t position = file_position(number);
    if (length < 0 || position < 0 || position >= length) return {};
    std::string text(static_cast<std::size_t>(length - position), '\0');
    const std::int64_t got = read_bytes(number, text.data(), static_cast<std::int64_t>(text.size()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    return text;
}

IoStatus write_text(int number, std::string_view text) {
    return write_bytes(number, text.data(), static_cast<std::int64_t>(text.size()));
}

IoStatus write_line(int number, std::string_view text) {
    IoStatus written = write_text(number, text);
    if (written) written = write_text(number, "\r\n");
    return written;
}

IoStatus flush_file(int number) {
    OpenFile* file = find_file(number);
    if (file == nullptr) return IoStatus::failure(EBADF);
    (void)write_pending(*file);  // a failure is kept in file->failure
    IoStatus flushed = file->failure;
    if (flushed) before_file_change();
    if (flushed && ::fsync(file->descriptor) != 0) flushed = IoStatus::from_errno();
    return flushed;
}

IoStatus truncate_file(int number, std::int64_t length) {
    OpenFile* file = find_file(number);
    if (file == nullptr) return IoStatus::failure(EBADF);
    if (!file->writable || length < 0) return IoStatus::failure(EINVAL);
    if (const IoStatus written = write_pending(*file); !written) return written;
    file->read_ahead.clear();
    before_file_change();
    while (::ftruncate(file->descriptor, length) != 0) {
        if (errno != EINTR) return IoStatus::from_errno();
    }
    return {};
}

}  // namespace quillet
