// Replacing a whole file without ever leaving it half written.
//
// The new contents go to a temporary file in the target's own folder (so the final rename never
// crosses file systems); a target that is a symbolic link is the file it leads to, replaced in that
// file's folder, so that the link stays a link (a link that leads nowhere is refused); commit() flushes and
// syncs it, renames it over the target in one step and syncs the folder. Until commit() succeeds the target
// keeps its old bytes, and a replacement that fails or is abandoned removes its temporary file. A target that
// is read-only (no write permission) is not replaced: the replacement fails with EACCES, as a write to it
// would.
#pragma once

#include <string>
#include <string_view>

#include "core/runtime/io_status.h"

namespace quillet {

class AtomicReplace {
  public:
    // Creates the temporary file beside the target (beside the file a link at the target's path
    // leads to); ok() tells whether that worked.
    explicit AtomicReplace(std::string target_path);
    // Removes the temporary file unless commit() succeeded.
    ~AtomicReplace();
    AtomicReplace(const AtomicReplace&) = delete;
    AtomicReplace& operator=(const AtomicReplace&) = delete;

    // False once anything has failed; later writes and commit() then do nothing.
    bool ok() const { return descriptor_ >= 0 && failure_.ok(); }
    // Why the replacement failed (the first failure), or success while all is well.
    IoStatus status() const;
    IoStatus write(const void* data, std::size_t size);
    IoStatus write(std::string_view text) { return write(text.data(), text.size()); }
    // Makes the written bytes the target's contents. The new file keeps the permissions of the
    // file it replaces (new files get the usual ones). Success only when the target was replaced.
    IoStatus commit();

    // The file replaced: the path given, or the file its link leads to.
    const std::string& target_path() const { return target_path_; }
    const std::string& temporary_path() const { return temporary_path_; }

  private:
    void abandon();

    std::string target_path_;
    std::string temporary_path_;
    int descriptor_ = -1;
    IoStatus failure_;
    bool committed_ = false;
};

// Test seam: makes the next replacement fail at the given step, as a folder that may not be
// written (EACCES, kCreate), a full disk (ENOSPC) or a vanished folder (ENOENT) would. The fault is
// used up by the replacement it hits.
enum class ReplaceFault { kNone, kCreate, kWrite, kRename };
void inject_replace_fault(ReplaceFault fault);

// Removes the temporary files that killed replacements of the file left beside it
// (".<name>.tmp-XXXXXX", beside the file a link leads to), if they are older than an hour. Every
// replacement does it first; a register is also tidied when it is opened, under its lock.
void remove_stale_temporaries(const std::string& path);

// Removes the file if it is a regular file older than an hour (a work file a killed program left).
bool remove_if_stale(const std::string& path);

// Writes the file's bytes into the replacement (which the caller commits).
IoStatus copy_into(const std::string& source_path, AtomicReplace& destination);

// Replaces the target's contents with the text in one step; on failure the target is untouched.
IoStatus replace_file_contents(const std::string& target_path, std::string_view contents);

// Like replace_file_contents, but where no temporary file can be made beside the target (its
// folder may not be written) while the target itself may be, the target is rewritten in place,
// flushed and synced: not in one step, but the only way such a file can be saved at all.
IoStatus replace_or_rewrite_in_place(const std::string& target_path, std::string_view contents);

}  // namespace quillet
