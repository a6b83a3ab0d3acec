#include "core/register/register_file.h"

#include <limits>

#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/register/record_fingerprint.h"
#include "core/register/register_lock.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"

namespace quillet {

using namespace record_format;

namespace {

// Shared with other processes, no write buffer, 8-bit text.
constexpr int kRegisterOpenFlags =
    file_flags::kShareRead | file_flags::kShareAll | file_flags::kNoBuffering | file_flags::kText8Bit;
// Whole-file walks read this many records at a time (about 860 KB).
constexpr std::int64_t kRecordsPerBlock = 4096;
constexpr auto kRecordBytes = static_cast<std::int64_t>(kRecordSize);

bool is_flag(std::uint8_t value) { return value == 0 || value == 1; }

IoStatus write_whole_register(const std::string& path, const std::vector<TransactionRecord>& records) {
    std::string bytes;
    bytes.reserve(records.size() * kRecordSize);
    for (const TransactionRecord& record : records) {
        const RecordBytes encoded = encode_record(record);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    return replace_file_contents(path, bytes);
}

bool& record_write_fault() {
    static bool fault = false;
    return fault;
}

// Large appends go out in pieces of this many bytes, then one sync: the kernel may stop any write
// at a page boundary anyway, so a piece's end inside a record is what a kill can leave in any case.
constexpr std::int64_t kAppendPiece = std::int64_t{4} << 20;

// Writes the bytes at the offset, without syncing.
IoStatus write_unsynced(int file, std::int64_t offset, const std::uint8_t* bytes, std::int64_t count) {
    if (!seek_file(file, offset)) return IoStatus::failure(EINVAL);
    if (record_write_fault()) {
        record_write_fault() = false;
        (void)write_bytes(file, bytes, count / 2);
        (void)flush_file(file);
        return IoStatus::failure(EIO);
    }
    return write_bytes(file, bytes, count);
}

IoStatus write_at(int file, std::int64_t offset, const std::uint8_t* bytes, std::int64_t count) {
    IoStatus written;
    for (std::int64_t done = 0; written && done < count; done += kAppendPiece)
        written = write_unsynced(file, offset + done, bytes + done, std::min(kAppendPiece, count - done));
    if (written) written = flush_file(file);
    return written;
}

// A write that finds the record other than the caller expects it (another program changed it).
IoStatus changed_meanwhile() { return IoStatus::failure(ESTALE); }

// Writes the bytes at index (kAppendRecord: at the end, with the record's number set to its slot)
// and syncs them to the disk: the user's record is safe once the write reports success. With
// expected, the record written over must hold those bytes. A write that fails puts back what it
// replaced and cuts the file to its old length, so that a full disk never leaves part of a record
// behind. The caller holds the register's lock.
IoStatus write_locked(const std::string& path, std::int64_t index, RecordBytes bytes,
                      const RecordBytes* expected, std::int64_t* written_index) {
    IoStatus opened;
    const int file = open_existing_file(kAnyFileNumber, path, kRegisterOpenFlags, &opened);
    if (file < 0) return opened;
    FileCloser closer(file);
    const std::int64_t length = file_length(file);
    if (length < 0) return IoStatus::failure(EIO);
    // An append finds its place under the lock, so that two processes never take the same one.
    if (index == kAppendRecord) {
        index = length / kRecordBytes;
        put_i32(bytes.data() + kRecordNumberOffset, static_cast<std::int32_t>(index));
    }
    const std::int64_t offset = index * kRecordBytes;
    if (offset > length) return IoStatus::failure(EINVAL);
    RecordBytes old{};
    const std::int64_t old_count = std::min(kRecordBytes, length - offset);
    if (old_count > 0 && (!seek_file(file, offset) || read_bytes(file, old.data(), old_count) != old_count))
        return IoStatus::failure(EIO);
    // A write goes over the record it was meant for, or not at all.
    if (expected != nullptr && (old_count != kRecordBytes || old != *expected)) return changed_meanwhile();
    const IoStatus written = write_at(file, offset, bytes.data(), kRecordBytes);
    if (!written) {
        if (old_count > 0) (void)write_at(file, offset, old.data(), old_count);
        (void)truncate_file(file, length);
        (void)flush_file(file);
        return written;
    }
    if (const IoStatus closed = closer.close(); !closed) return closed;
    if (written_index != nullptr) *written_index = index;
    return {};
}

// The checks every write begins with, the lock held.
IoStatus begin_write(const std::string& path, std::int64_t index, const RegisterLock& lock) {
    if (index < kAppendRecord) return IoStatus::failure(EINVAL);
    if (!lock.held()) return lock.status();
    if (is_read_only(path)) return read_only_cause(path);
    return {};
}

}  // namespace

void inject_record_write_fault() { record_write_fault() = true; }

std::int64_t count_records(const std::string& path) {
    const std::int64_t size = file_size(path);
    return size > 0 ? size / kRecordBytes : 0;
}

IoStatus read_record_bytes(const std::string& path, std::int64_t index, RecordBytes& bytes) {
    if (index < 0) return IoStatus::failure(EINVAL);
    IoStatus opened;
    const int file = read_open_file(kAnyFileNumber, path, kRegisterOpenFlags, &opened);
    if (file < 0) return opened;
    FileCloser closer(file);
    if (!seek_file(file, index * kRecordBytes)) return IoStatus::failure(EINVAL);
    const std::int64_t got = read_bytes(file, bytes.data(), kRecordBytes);
    if (got < 0) return IoStatus::failure(EIO);
    if (got != kRecordBytes) return IoStatus::failure(ESPIPE);
    return {};
}

IoStatus read_record(const std::string& path, std::int64_t index, TransactionRecord& record) {
    RecordBytes bytes{};
    if (const IoStatus read = read_record_bytes(path, index, bytes); !read) return read;
    record = decode_record(bytes.data());
    return {};
}

IoStatus write_record(const std::string& path, std::int64_t index, const TransactionRecord& record) {
    if (index < 0) return IoStatus::failure(EINVAL);
    const RegisterLock lock(path);
    if (const IoStatus begun = begin_write(path, index, lock); !begun) return begun;
    return write_locked(path, index, encode_record(record), nullptr, nullptr);
}

IoStatus append_record(const std::string& path, const TransactionRecord& record, std::int64_t& index) {
    const RegisterLock lock(path);
    if (const IoStatus begun = begin_write(path, kAppendRecord, lock); !begun) return begun;
    return write_locked(path, kAppendRecord, encode_record(record), nullptr, &index);
}

IoStatus set_deleted_flag(const std::string& path, std::int64_t index, std::uint8_t value) {
    if (index < 0) return IoStatus::failure(EINVAL);
    const RegisterLock lock(path);
    if (const IoStatus begun = begin_write(path, index, lock); !begun) return begun;
    // Read and written back under the one lock: nothing can come in between. Only the flag's byte
    // changes, whatever the others hold.
    RecordBytes bytes{};
    if (const IoStatus read = read_record_bytes(path, index, bytes); !read) return read;
    bytes[kDeletedOffset] = value;
    return write_locked(path, index, bytes, nullptr, nullptr);
}

IoStatus write_record_locked(const RegisterLock& lock, const std::string& path, std::int64_t index,
                             const RecordBytes& bytes, const RecordBytes& expected) {
    if (index < 0) return IoStatus::failure(EINVAL);
    if (const IoStatus begun = begin_write(path, index, lock); !begun) return begun;
    return write_locked(path, index, bytes, &expected, nullptr);
}

IoStatus append_records_locked(const RegisterLock& lock, const std::string& path, std::string& records,
                               std::int64_t& first) {
    if (records.empty() || records.size() % kRecordSize != 0) return IoStatus::failure(EINVAL);
    if (const IoStatus begun = begin_write(path, kAppendRecord, lock); !begun) return begun;
    IoStatus opened;
    const int file = open_existing_file(kAnyFileNumber, path, kRegisterOpenFlags, &opened);
    if (file < 0) return opened;
    FileCloser closer(file);
    const std::int64_t length = file_length(file);
    if (length < 0 || length % kRecordBytes != 0) return IoStatus::failure(length < 0 ? EIO : EINVAL);
    first = length / kRecordBytes;
    auto* bytes = reinterpret_cast<std::uint8_t*>(records.data());
    for (std::size_t at = 0; at < records.size(); at += kRecordSize)
        put_i32(bytes + at + kRecordNumberOffset, static_cast<std::int32_t>(first + at / kRecordSize));
    const IoStatus written = write_at(file, length, bytes, static_cast<std::int64_t>(records.size()));
    if (!written) {
        (void)truncate_file(file, length);
        (void)flush_file(file);
        return written;
    }
    return closer.close();
}

IoStatus cut_records_locked(const RegisterLock& lock, const std::string& path, std::int64_t first,
                            std::string_view expected) {
    if (first < 0 || expected.empty() || expected.size() % kRecordSize != 0) return IoStatus::failure(EINVAL);
    if (const IoStatus begun = begin_write(path, first, lock); !begun) return begun;
    IoStatus opened;
    const int file = open_existing_file(kAnyFileNumber, path, kRegisterOpenFlags, &opened);
    if (file < 0) return opened;
    FileCloser closer(file);
    const auto count = static_cast<std::int64_t>(expected.size());
    if (file_length(file) != first * kRecordBytes + count) return changed_meanwhile();
    std::string found(expected.size(), '\0');
    if (!seek_file(file, first * kRecordBytes) || read_bytes(file, found.data(), count) != count)
        return IoStatus::failure(EIO);
    if (found != expected) return changed_meanwhile();
    if (const IoStatus cut = truncate_file(file, first * kRecordBytes); !cut) return cut;
    if (const IoStatus flushed = flush_file(file); !flushed) return flushed;
    return closer.close();
}

IoStatus copy_register(const std::string& source, const std::string& destination) {
    // The copy is of a whole file: no write of another program is half in it.
    const RegisterLock lock(source);
    if (!lock.held()) return lock.status();
    return copy_file(source, destination);
}

IoStatus read_whole_register(const std::string& path, std::string& bytes) {
    bytes.clear();
    return visit_records(path, [&bytes](std::int64_t, const std::uint8_t* record) {
        bytes.append(reinterpret_cast<const char*>(record), kRecordSize);
        return true;
    });
}

RegisterCheck check_register_file(const std::string& path, IoStatus* cause) {
    const std::int64_t size = file_size(path);
    if (size == -1) return RegisterCheck::kMissing;
    if (size < 0) return RegisterCheck::kFolder;
    if (!is_regular_file(path)) return RegisterCheck::kNotAFile;
    if (is_read_only(path)) return RegisterCheck::kReadOnly;
    if (size % kRecordBytes != 0) return RegisterCheck::kWrongLength;
    if (size == 0) return RegisterCheck::kAccepted;
    IoStatus opened;
    const int file = read_open_file(kAnyFileNumber, path, kRegisterOpenFlags, &opened);
    if (file < 0) {
        if (cause != nullptr) *cause = opened;
        return RegisterCheck::kUnreadable;
    }
    FileCloser closer(file);
    RecordBytes first{};
    if (read_bytes(file, first.data(), kRecordBytes) != kRecordBytes) {
        if (cause != nullptr) *cause = IoStatus::failure(EIO);
        return RegisterCheck::kUnreadable;
    }
    return is_flag(first[kDeletedOffset]) && is_flag(first[kVoidOffset]) ? RegisterCheck::kAccepted
                                                                         : RegisterCheck::kDamagedFirstRecord;
}

namespace {

IoStatus visit_slots(const std::string& path, std::int64_t start, std::int64_t end,
                     const RecordVisitor& visit, bool backward) {
    IoStatus opened;
    const int file = read_open_file(kAnyFileNumber, path, kRegisterOpenFlags, &opened);
    if (file < 0) return opened;
    FileCloser closer(file);
    start = std::max<std::int64_t>(0, start);
    const std::int64_t count =
        std::max<std::int64_t>(0, std::min(end, file_length(file) / kRecordBytes) - start);
    std::vector<std::uint8_t> block(
        static_cast<std::size_t>(std::min(count, kRecordsPerBlock) * kRecordBytes));
    const std::int64_t blocks = (count + kRecordsPerBlock - 1) / kRecordsPerBlock;
    for (std::int64_t b = 0; b < blocks; ++b) {
        const std::int64_t first = start + (backward ? blocks - 1 - b : b) * kRecordsPerBlock;
        const std::int64_t records = std::min(kRecordsPerBlock, start + count - first);
        if (!seek_file(file, first * kRecordBytes) ||
            read_bytes(file, block.data(), records * kRecordBytes) != records * kRecordBytes) {
            return IoStatus::failure(EIO);
        }
        for (std::int64_t i = 0; i < records; ++i) {
            const std::int64_t at = backward ? records - 1 - i : i;
            if (!visit(first + at, block.data() + at * kRecordBytes)) return {};
        }
    }
    return {};
}

}  // namespace

IoStatus visit_records(const std::string& path, const RecordVisitor& visit, bool backward) {
    return visit_slots(path, 0, std::numeric_limits<std::int64_t>::max(), visit, backward);
}

IoStatus create_new_register(const std::string& path, std::string_view opening_amount_text, std::uint8_t kind,
                             const RecordTexts& texts) {
    // A register that is there already is replaced under its lock, like every write.
    std::optional<RegisterLock> lock;
    if (file_size(path) >= 0) {
        lock.emplace(path);
        if (!lock->held()) return lock->status();
    }
    return write_whole_register(path, {opening_record(opening_amount_text, kind, texts)});
}

TransactionRecord opening_record(std::string_view opening_amount_text, std::uint8_t kind,
                                 const RecordTexts& texts) {
    TransactionRecord opening;
    opening.date = current_date();
    opening.second_date = opening.date;
    opening.type = texts.type;
    opening.number = texts.number;
    opening.payee = texts.payee;
    opening.description = texts.description;
    opening.amount = text_to_number(opening_amount_text);
    opening.kind = kind;
    return opening;
}

IoStatus create_sample_register(const std::string& path, const RecordTexts (&texts)[kSampleRecordCount]) {
    if (file_size(path) > 0) return {};
    static constexpr float kAmounts[kSampleRecordCount] = {1200.0f, 48.5f, 18.99f};
    static constexpr std::uint8_t kKinds[kSampleRecordCount] = {kDeposit, kWithdrawal, kWithdrawal};
    const DateValue now = current_date();
    std::vector<TransactionRecord> records(kSampleRecordCount);
    for (int i = 0; i < kSampleRecordCount; ++i) {
        TransactionRecord& record = records[static_cast<std::size_t>(i)];
        record.record_number = i;
        record.date = now;
        record.second_date = now;
        record.type = texts[i].type;
        record.number = texts[i].number;
        record.payee = texts[i].payee;
        record.description = texts[i].description;
        record.amount = kAmounts[i];
        record.kind = kKinds[i];
    }
    return write_whole_register(path, records);
}

std::int64_t CompactionCounts::percent_removed() const {
    const std::int64_t before = kept + removed;
    return before > 0 ? removed * 100 / before : 0;
}

IoStatus compact_register(const std::string& path, CompactionCounts& counts) {
    // Held until the compacted file is renamed into place: no append can come in between and be
    // lost with the old file.
    const RegisterLock lock(path);
    if (!lock.held()) return lock.status();
    AtomicReplace compacted(path);
    if (const IoStatus written = compact_into_locked(lock, path, compacted, counts, nullptr); !written)
        return written;
    return compacted.commit();
}

IoStatus compact_into_locked(const RegisterLock& lock, const std::string& path, AtomicReplace& compacted,
                             CompactionCounts& counts, std::vector<RecordPlace>* removed) {
    if (!lock.held()) return lock.status();
    const std::int64_t size = file_size(path);
    if (size == -1) return IoStatus::failure(ENOENT);
    if (size < 0) return IoStatus::failure(EISDIR);
    if (size % kRecordBytes != 0) return IoStatus::failure(EINVAL);
    if (!compacted.ok()) return compacted.status();

    // The live records, renumbered, go out a block at a time.
    counts = {};
    if (removed != nullptr) removed->clear();
    // Each fingerprint's records seen so far, for the removed records' places.
    std::unordered_map<std::uint64_t, std::int64_t> seen;
    std::vector<std::uint8_t> kept;
    kept.reserve(static_cast<std::size_t>(kRecordsPerBlock * kRecordBytes));
    const auto flush = [&] {
        const bool written = compacted.write(kept.data(), kept.size()).ok();
        kept.clear();
        return written;
    };
    const IoStatus read = visit_records(path, [&](std::int64_t, const std::uint8_t* record) {
        if (removed != nullptr) {
            const std::uint64_t fingerprint = record_fingerprint(record);
            const std::int64_t place = seen[fingerprint]++;
            if (record[kDeletedOffset] != kLive) removed->push_back({fingerprint, place});
        }
        if (record[kDeletedOffset] != kLive) {
            ++counts.removed;
            return true;
        }
        kept.insert(kept.end(), record, record + kRecordSize);
        put_i32(kept.data() + kept.size() - kRecordSize + kRecordNumberOffset,
                static_cast<std::int32_t>(counts.kept++));
        return kept.size() < kept.capacity() || flush();
    });
    // Every record must have been seen: a write that stopped the walk early, or a file that changed
    // its length meanwhile, leaves the register as it was.
    if (!read) return read;
    if (!flush() || !compacted.ok()) return compacted.status();
    if (counts.kept + counts.removed != size / kRecordBytes) return changed_meanwhile();
    return {};
}

void tidy_register_folder(const std::string& path) {
    const RegisterLock lock(path);
    if (lock.held()) remove_stale_temporaries(path);
}

}  // namespace quillet
