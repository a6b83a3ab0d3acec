// Operations on a register file, addressed by its path. The file is never held open between
// operations: each single-record operation opens it, transfers one record and closes it; the
// whole-file walks keep it open for their loop and read it in large blocks.
//
// Every operation reports failure through its result, with its cause, and leaves the file as it
// was. Paths are the operating system's bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/register/record.h"
#include "core/register/record_fingerprint.h"
#include "core/register/register_lock.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/runtime/io_status.h"

namespace quillet {

// File length / 211, deleted records included; 0 for a missing file.
std::int64_t count_records(const std::string& path);

// Reads record index's bytes as they stand in the file. Fails like read_record.
IoStatus read_record_bytes(const std::string& path, std::int64_t index, RecordBytes& bytes);

// Reads record index into the record. Fails when the file cannot be read or has no such record
// (ESPIPE).
IoStatus read_record(const std::string& path, std::int64_t index, TransactionRecord& record);

// The three writes below change one record on their own, with no intent: a kill inside one that
// straddles a page boundary leaves part of it. A user's change goes through the register session's
// change path (core/session/register_session.h), which writes such a record under an intent; these
// serve the tests, as another program's writes.
//
// Writes the record at index; index = count_records() appends. Fails when the file is missing,
// read-only (EACCES) or cannot be written, or when index would leave a gap (EINVAL). A write that
// fails half way (a full disk) puts the file back to its old bytes and length, so that it stays a
// whole number of records. Every write holds the register's lock (register_lock.h).
IoStatus write_record(const std::string& path, std::int64_t index, const TransactionRecord& record);

// Appends the record at the end that the file has under the lock, its record number set to that
// slot, which index tells.
IoStatus append_record(const std::string& path, const TransactionRecord& record, std::int64_t& index);

// Sets the deleted byte of record index to value, under one lock, leaving every other byte as it
// is.
IoStatus set_deleted_flag(const std::string& path, std::int64_t index, std::uint8_t value);

// The writes of a caller that holds the register's lock already (the register session's change
// path, which checks that the file is as listed itself): each checks what it writes over, writes
// nothing when that is not what the caller expects (ESTALE), syncs what it wrote, and puts the
// file back as it was when it fails. None takes the lock again, which would wait for ourselves.
//
// Writes the bytes over record index, which must hold expected.
IoStatus write_record_locked(const RegisterLock& lock, const std::string& path, std::int64_t index,
                             const RecordBytes& bytes, const RecordBytes& expected);
// Appends the records (whole records, one after another) in one write, their record numbers set
// to their slots from first on, which first tells. A write that fails cuts the file back.
IoStatus append_records_locked(const RegisterLock& lock, const std::string& path, std::string& records,
                               std::int64_t& first);
// Cuts the records from first on, which must be the file's last records and hold these bytes.
IoStatus cut_records_locked(const RegisterLock& lock, const std::string& path, std::int64_t first,
                            std::string_view expected);

// Test seam: the next write of a record stops half way and fails (EIO), as a failing disk would,
// so that its putting back can be seen. Used up by the write it hits.
void inject_record_write_fault();

// Copies the register while holding its lock, so that no write of another program is half in the
// copy. The destination is replaced in one step.
IoStatus copy_register(const std::string& source, const std::string& destination);

// Reads every byte of the register (a caller that holds its lock).
IoStatus read_whole_register(const std::string& path, std::string& bytes);

// Removes temporary files of this program that killed writes left beside the register (older than
// an hour), under the register's lock. Called when a register is opened.
void tidy_register_folder(const std::string& path);

// Whether a file may be opened as a register. The caller tells the user what the refusal means.
enum class RegisterCheck {
    kAccepted,
    kMissing,             // nothing has the name
    kFolder,              // the name is a folder's
    kNotAFile,            // a named pipe, a device or a socket: nothing a register can be
    kReadOnly,            // the file is read-only
    kUnreadable,          // the file cannot be read (the cause says why)
    kWrongLength,         // the length is not a whole multiple of the record size
    kDamagedFirstRecord,  // record 0's deleted or void byte is neither 0 nor 1 (refused silently)
};
// With cause, an unreadable file's errno is stored there.
RegisterCheck check_register_file(const std::string& path, IoStatus* cause = nullptr);

// Visits every record of the file in order, reading it in large blocks; the bytes are valid for
// the call only. The visitor returns false to stop early (a success). Fails when the file cannot
// be read. With backward, the records are visited from the last to the first.
using RecordVisitor = std::function<bool(std::int64_t index, const std::uint8_t* bytes)>;
IoStatus visit_records(const std::string& path, const RecordVisitor& visit, bool backward = false);

// The four texts of a record that the program writes by itself.
struct RecordTexts {
    std::string type;
    std::string number;
    std::string payee;
    std::string description;
};

// Replaces the file with a one-record register: the opening record, dated now, holding the
// opening amount read from its text, the kind and the texts.
// The opening record of a new register: dated now, holding the opening amount read from its text,
// the kind and the texts.
TransactionRecord opening_record(std::string_view opening_amount_text, std::uint8_t kind,
                                 const RecordTexts& texts);
IoStatus create_new_register(const std::string& path, std::string_view opening_amount_text, std::uint8_t kind,
                             const RecordTexts& texts);

// The three example transactions of the sample register: a deposit of 1200.00 and two
// withdrawals of 48.50 and 18.99, each with its texts.
inline constexpr int kSampleRecordCount = 3;
// Writes the sample register at path unless a non-empty file is already there. Success when the
// path holds a non-empty register afterwards.
IoStatus create_sample_register(const std::string& path, const RecordTexts (&texts)[kSampleRecordCount]);

struct CompactionCounts {
    std::int64_t kept = 0;
    std::int64_t removed = 0;
    // removed * 100 / the count before compaction, truncated; 0 for an empty register.
    std::int64_t percent_removed() const;
};

// Rewrites the register without its deleted records and renumbers the rest from 0, and tells in
// counts what was kept and removed. The new file is written beside the register and renamed over
// it in one step: on any failure the register stays byte for byte as it was. A file whose length
// is not a whole multiple of the record size is refused (EINVAL). The lock is held until the new
// file is in place, so that no append of another process is lost.
IoStatus compact_register(const std::string& path, CompactionCounts& counts);
// The compacted register written into the replacement, which the caller (holding the lock) commits;
// with removed, the places the removed records had (what the companion store must forget).
IoStatus compact_into_locked(const RegisterLock& lock, const std::string& path, AtomicReplace& compacted,
                             CompactionCounts& counts, std::vector<RecordPlace>* removed);

}  // namespace quillet
