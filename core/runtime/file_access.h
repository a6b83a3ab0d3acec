// File access: files addressed by a small number the caller chooses, and the few operations on
// paths and files by name that the program rests on. Every failure is a result (an IoStatus with
// its errno, -1 or an empty text); nothing here shows a message or throws.
//
// Paths are Linux paths, held as the operating system's bytes and passed on unchanged: folders are
// separated by "/" alone (a backslash is an ordinary character of a file name), and there are no
// drive letters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/runtime/io_status.h"

namespace quillet {

// Open flags. The text format sits in the low five bits; the program uses 8-bit text everywhere,
// and read_line/read_all/write_text treat every format as bytes. Linux does not lock files
// against other processes, so the sharing flags are accepted and always hold.
namespace file_flags {
inline constexpr int kText8Bit = 24;
inline constexpr int kTextFormatMask = 0x1F;
inline constexpr int kShareRead = 0x20000;
inline constexpr int kShareAll = 0x40000;     // others may read, write and delete the file
inline constexpr int kNoBuffering = 0x80000;  // every write reaches the file at once
inline constexpr int kAtEnd = 0x100000;       // open_file only: start at the end of the file
}  // namespace file_flags

// Pass as the number to an open to have one chosen; the open then returns it.
inline constexpr int kAnyFileNumber = -1;
// Pass to close_file to close every open file.
inline constexpr int kAllFiles = -1;

// The opens return the file's number, or -1 on failure, with its cause in *cause when one is
// given. Opening a number that is in use closes the file that had it first. An open never blocks:
// a named pipe or a socket is refused (ENXIO), as is a folder (EISDIR).
// The file must exist; reading only.
int read_open_file(int number, const std::string& path, int flags = 0, IoStatus* cause = nullptr);
// Opens an existing file or creates a missing one; reading and writing.
int open_file(int number, const std::string& path, int flags = 0, IoStatus* cause = nullptr);
// Opens an existing file for reading and writing; a missing file is not created.
int open_existing_file(int number, const std::string& path, int flags = 0, IoStatus* cause = nullptr);
// Creates the file, emptying an existing one; reading and writing.
int create_file(int number, const std::string& path, int flags = 0, IoStatus* cause = nullptr);
// Like create_file, with 8-bit text.
int create_exclusive_file(int number, const std::string& path);
// Writes what is still buffered and closes. A failure of that last write, or of any buffered write
// before it, is the result.
IoStatus close_file(int number);

bool is_file_open(int number);
bool seek_file(int number, std::int64_t position);
std::int64_t file_position(int number);
// Bytes actually read, 0 at the end of the file, -1 on error or for a number that is not open.
std::int64_t read_bytes(int number, void* buffer, std::int64_t count);
// Success only when every byte was written (or, while buffering, accepted into the buffer).
IoStatus write_bytes(int number, const void* data, std::int64_t count);
// Size in bytes; -1 for a number that is not open, and when the buffered bytes could not be
// written first (close_file and flush_file then report why).
std::int64_t file_length(int number);
// True at the end of the file, and for a number that is not open.
bool end_of_file(int number);
// Reads up to the next line end: CR, LF, CR LF or a zero byte, which is not part of the text.
std::string read_line(int number);
// Reads to the end of the file as one text, zero bytes dropped.
std::string read_all(int number);
IoStatus write_text(int number, std::string_view text);
// The text followed by CR LF.
IoStatus write_line(int number, std::string_view text);
// Writes buffered bytes to the file and syncs them to the disk. A buffered write that failed
// earlier is reported here too.
IoStatus flush_file(int number);
// Cuts or extends the file to the length.
IoStatus truncate_file(int number, std::int64_t length);

// Closes the file with its number when it goes out of scope, unless closed before.
class FileCloser {
  public:
    explicit FileCloser(int number) : number_(number) {}
    // A caller that must know whether the file's writes reached it calls close() instead.
    ~FileCloser() {
        if (number_ >= 0) (void)close_file(number_);
    }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;
    // Closes now; a failed buffered write is the result.
    IoStatus close() {
        const IoStatus closed = number_ >= 0 ? close_file(number_) : IoStatus::failure(EBADF);
        number_ = -1;
        return closed;
    }

  private:
    int number_;
};

// -1 for an empty path or one that names nothing, -2 for a folder, else the size in bytes.
// Trailing "/" characters are ignored.
std::int64_t file_size(const std::string& path);

// What tells one state of a file from another: its identity, size and last change. Two equal
// stamps of a path: the file did not change in between (as far as the file system can tell).
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified_ns = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp file_stamp(const std::string& path);

// True when the path names a regular file (not a folder, a named pipe, a device or a socket).
bool is_regular_file(const std::string& path);

// True when the file exists and is read-only: it has no write permission bit, or this process
// may not write it.
bool is_read_only(const std::string& path);
// Why a read-only file may not be written: EROFS on a read-only file system, else EACCES.
IoStatus read_only_cause(const std::string& path);

// The file a write to the path replaces: the path itself, or where a symbolic link at the path
// leads (through any chain of links), so that the link stays a link. A path that names nothing is
// its own target (a new file); a link that leads nowhere fails with its cause (ENOENT, ELOOP).
IoStatus link_target(const std::string& path, std::string& target);

// Delete options: kDeleteReadOnly also removes a file that has no write permission, which is
// otherwise kept (the read-only attribute of the file).
inline constexpr int kDeleteReadOnly = 2;
IoStatus delete_file(const std::string& path, int options = 0);
// Makes the folder and any missing folder above it (with the mode, less the umask). Success when
// the folder is there afterwards.
IoStatus create_folders(const std::string& folder, unsigned mode = 0777);

// Moves the file, across file systems too.
IoStatus rename_file(const std::string& old_path, const std::string& new_path);
// Copies the file, replacing the destination in one step; an existing destination stays as it
// was when the copy fails.
IoStatus copy_file(const std::string& source_path, const std::string& destination_path);
// Gives the file a second name (a hard link); fails where the file system has none (EPERM, EXDEV).
IoStatus link_file(const std::string& existing_path, const std::string& new_path);
// Whether anything has the name: a file, a folder, or a symbolic link, even one that leads nowhere.
bool names_anything(const std::string& path);
bool is_symbolic_link(const std::string& path);

// The text up to and including the last "/"; a leading double quote is left out.
std::string folder_part(std::string_view path);
// The text after the last "/". With kCutExtension the extension is cut at the last "." when at
// least one character follows it and none of them is a space.
inline constexpr int kCutExtension = 1;
std::string file_part(std::string_view path, int options = 0);

// The full path of the running program file.
std::string program_file_path();
// The user's home folder, ending in "/".
std::string profile_folder();

}  // namespace quillet
