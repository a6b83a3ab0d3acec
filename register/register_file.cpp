#include "register/register_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/atomic_replace.h"
#include "runtime/file_access.h"
#include "runtime/number_text.h"

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

bool write_whole_register(const std::string& path, const std::vector<TransactionRecord>& records) {
    std::string bytes;
    bytes.reserve(records.size() * kRecordSize);
    for (const TransactionRecord& record : records) {
        const RecordBytes encoded = encode_record(record);
        bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    }
    return replace_file_contents(path, bytes);
}

// Writes the bytes at index in place and syncs them to the disk: the user's record is safe once
// the write reports success.
bool write_record_bytes(const std::string& path, std::int64_t index, const RecordBytes& bytes) {
    if (index < 0 || is_read_only(path)) return false;
    const int file = open_existing_file(kAnyFileNumber, path, kRegisterOpenFlags);
    if (file < 0) return false;
    FileCloser closer(file);
    if (index * kRecordBytes > file_length(file)) return false;
    const bool written = seek_file(file, index * kRecordBytes) &&
                         write_bytes(file, bytes.data(), kRecordBytes) && flush_file(file);
    return closer.close() && written;
}

}  // namespace

std::int64_t count_records(const std::string& path) {
    const std::int64_t size = file_size(path);
    return size > 0 ? size / kRecordBytes : 0;
}

bool read_record(const std::string& path, std::int64_t index, TransactionRecord& record) {
    if (index < 0) return false;
    const int file = read_open_file(kAnyFileNumber, path, kRegisterOpenFlags);
    if (file < 0) return false;
    FileCloser closer(file);
    RecordBytes bytes{};
    if (!seek_file(file, index * kRecordBytes) ||
        read_bytes(file, bytes.data(), kRecordBytes) != kRecordBytes) {
        return false;
    }
    record = decode_record(bytes.data());
    return true;
}

bool write_record(const std::string& path, std::int64_t index, const TransactionRecord& record) {
    return write_record_bytes(path, index, encode_record(record));
}

bool set_deleted_flag(const std::string& path, std::int64_t index, std::uint8_t value) {
    TransactionRecord record;
    if (!read_record(path, index, record)) return false;
    record.deleted = value;
    return write_record(path, index, record);
}

RegisterCheck check_register_file(const std::string& path) {
    const std::int64_t size = file_size(path);
    if (size < 0 || is_read_only(path)) return RegisterCheck::kMissingOrReadOnly;
    if (size % kRecordBytes != 0) return RegisterCheck::kWrongLength;
    if (size == 0) return RegisterCheck::kAccepted;
    const int file = read_open_file(kAnyFileNumber, path, kRegisterOpenFlags);
    if (file < 0) return RegisterCheck::kMissingOrReadOnly;
    FileCloser closer(file);
    RecordBytes first{};
    if (read_bytes(file, first.data(), kRecordBytes) != kRecordBytes)
        return RegisterCheck::kMissingOrReadOnly;
    return is_flag(first[kDeletedOffset]) && is_flag(first[kVoidOffset]) ? RegisterCheck::kAccepted
                                                                         : RegisterCheck::kDamagedFirstRecord;
}

bool visit_records(const std::string& path, const RecordVisitor& visit, bool backward) {
    const int file = read_open_file(kAnyFileNumber, path, kRegisterOpenFlags);
    if (file < 0) return false;
    FileCloser closer(file);
    const std::int64_t count = file_length(file) / kRecordBytes;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(kRecordsPerBlock * kRecordBytes));
    const std::int64_t blocks = (count + kRecordsPerBlock - 1) / kRecordsPerBlock;
    for (std::int64_t b = 0; b < blocks; ++b) {
        const std::int64_t first = (backward ? blocks - 1 - b : b) * kRecordsPerBlock;
        const std::int64_t records = std::min(kRecordsPerBlock, count - first);
        if (!seek_file(file, first * kRecordBytes) ||
            read_bytes(file, block.data(), records * kRecordBytes) != records * kRecordBytes) {
            return false;
        }
        for (std::int64_t i = 0; i < records; ++i) {
            const std::int64_t at = backward ? records - 1 - i : i;
            if (!visit(first + at, block.data() + at * kRecordBytes)) return true;
        }
    }
    return true;
}

bool create_new_register(const std::string& path, std::string_view opening_amount_text, std::uint8_t kind,
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
    return write_whole_register(path, {opening});
}

bool create_sample_register(const std::string& path, const RecordTexts (&texts)[kSampleRecordCount]) {
    if (file_size(path) > 0) return true;
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

std::optional<CompactionCounts> compact_register(const std::string& path) {
    const std::int64_t size = file_size(path);
    if (size < 0 || size % kRecordBytes != 0) return std::nullopt;
    AtomicReplace compacted(path);
    if (!compacted.ok()) return std::nullopt;

    // The live records, renumbered, go out a block at a time.
    CompactionCounts counts;
    std::vector<std::uint8_t> kept;
    kept.reserve(static_cast<std::size_t>(kRecordsPerBlock * kRecordBytes));
    const auto flush = [&] {
        const bool written = compacted.write(kept.data(), kept.size());
        kept.clear();
        return written;
    };
    const bool read = visit_records(path, [&](std::int64_t, const std::uint8_t* record) {
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
    if (!read || counts.kept + counts.removed != size / kRecordBytes || !flush() || !compacted.commit()) {
        return std::nullopt;
    }
    return counts;
}

}  // namespace quillet
