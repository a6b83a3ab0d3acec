// The writing half of the session's one change path: the register's part of a plan, then the
// store's, tied by an intent when the change is more than one step (intent.h).
#include <unistd.h>

#include <algorithm>

#include "core/register/register_file.h"
#include "core/session/intent.h"
#include "core/session/register_session.h"

namespace quillet {

using namespace record_format;

namespace {

// Whether the bytes lie in one page of the file. A kill stops a write between two pages, never
// inside one: a record that straddles a page boundary can be left part old, part new.
bool within_one_page(std::int64_t offset, std::size_t size) {
    static const std::int64_t page = std::max<long>(::sysconf(_SC_PAGESIZE), 4096);
    return offset / page == (offset + static_cast<std::int64_t>(size) - 1) / page;
}

// One step the file system makes at once needs no intent: a record written or appended within one
// page, one record cut, a file renamed, written whole or removed.
bool several_steps(const ChangePlan& plan, const std::string& path) {
    if (plan.writes.size() > 1 || plan.appended.size() > kRecordSize || plan.cut.size() > kRecordSize)
        return true;
    const auto record_at = [](std::int64_t slot) { return slot * static_cast<std::int64_t>(kRecordSize); };
    if (plan.writes.size() == 1 && !within_one_page(record_at(plan.writes.front().slot), kRecordSize))
        return true;
    // The lock is held: the register's length is where the record will go.
    return !plan.appended.empty() && !within_one_page(file_size(path), kRecordSize);
}

IoStatus write_register_part(ChangePlan& plan, const RegisterLock* lock, const std::string& path) {
    if (!plan.writes.empty() || !plan.appended.empty() || plan.cut_from >= 0) {
        if (lock == nullptr) return IoStatus::failure(EINVAL);
    }
    for (const RecordWrite& write : plan.writes) {
        if (const IoStatus written = write_record_locked(*lock, path, write.slot, write.after, write.before);
            !written)
            return written;
    }
    if (!plan.appended.empty()) {
        if (const IoStatus appended = append_records_locked(*lock, path, plan.appended, plan.first_appended);
            !appended)
            return appended;
    }
    if (plan.cut_from >= 0) {
        if (const IoStatus cut = cut_records_locked(*lock, path, plan.cut_from, plan.cut); !cut) return cut;
    }
    if (plan.replacement) {
        if (const IoStatus replaced = plan.replacement->commit(); !replaced) return replaced;
    }
    if (!plan.removed_file.empty()) {
        if (const IoStatus removed = delete_file(plan.removed_file, kDeleteReadOnly); !removed)
            return removed;
    }
    if (!plan.restored_file.empty()) return replace_file_contents(plan.restored_file, plan.restored);
    return {};
}

// The store's part in one transaction with the change's number. A store made for it goes again
// when it fails, so that a failure leaves no file behind; a read-only register gets none written.
SessionResult write_store_part(const ChangePlan& plan, const std::string& path, std::uint64_t number) {
    const std::string store_file = store_path_of(path);
    if (is_read_only(path)) return SessionResult::of_store(read_only_cause(path), store_file);
    const bool was_there = names_anything(store_file);
    CompanionStore store;
    IoStatus written = store.open(store_file, true);
    if (written) written = store.write_change(plan.store, number);
    store.close();
    if (!written && !was_there) (void)delete_file(store_file);
    return SessionResult::of_store(written, store_file);
}

// The intent of a plan: the bytes it writes over and the register file it replaces, kept.
IoStatus make_intent(const ChangePlan& plan, const std::string& path, bool store_part, Intent& intent) {
    intent.number = new_change_number();
    intent.has_store_part = store_part;
    intent.old_length = file_size(path);
    for (const RecordWrite& write : plan.writes) {
        intent.pieces.push_back({write.slot * static_cast<std::int64_t>(kRecordSize),
                                 std::string(write.before.begin(), write.before.end())});
    }
    if (plan.cut_from >= 0)
        intent.pieces.push_back({plan.cut_from * static_cast<std::int64_t>(kRecordSize), plan.cut});
    if (plan.replacement) {
        const std::string kept = kept_path_of(path, 0);
        if (const IoStatus made = keep_file(plan.replacement->target_path(), kept); !made) return made;
        intent.kept.push_back({plan.replacement->target_path(), kept});
        intent.old_length = -1;
    }
    return write_intent(path, intent);
}

}  // namespace

SessionResult RegisterSession::write(ChangePlan& plan, const RegisterLock* lock, const std::string& path) {
    const bool store_part =
        plan.store && (plan.store_made_when_missing || names_anything(store_path_of(path)));
    const bool register_part = plan.writes_register();
    std::optional<Intent> intent;
    if (register_part && (store_part || several_steps(plan, path))) {
        intent.emplace();
        if (const IoStatus made = make_intent(plan, path, store_part, *intent); !made) {
            (void)finish_intent(path, *intent);
            return SessionResult::of(made, path);
        }
    }
    if (const IoStatus registered = write_register_part(plan, lock, path); !registered) {
        if (intent) (void)roll_back(path, *intent);
        return SessionResult::of(registered, path);
    }
    if (store_part) {
        const SessionResult stored =
            write_store_part(plan, path, intent ? intent->number : new_change_number());
        if (!stored.done()) {
            if (intent) (void)roll_back(path, *intent);
            return stored;
        }
    }
    if (intent) {
        // With a store part the change is made already (the store holds its number); without one,
        // it is made once the intent is gone.
        if (const IoStatus finished = finish_intent(path, *intent); !finished && !intent->has_store_part) {
            (void)roll_back(path, *intent);
            return SessionResult::of(finished, path);
        }
    }
    return {};
}

}  // namespace quillet
