// The session's whole-file writes: a register copied with its store (save-as, the exit's backup)
// and a new register made over an old one with its store. Each replaces two files, tied by an
// intent at the destination that keeps the files it replaces until both are in place (intent.h).
#include <memory>
#include <optional>

#include "core/register/register_lock.h"
#include "core/session/intent.h"
#include "core/session/register_session.h"

namespace quillet {

using namespace record_format;

namespace {

// Puts the new register file (and the new store, or none) in place of the destination's, with an
// intent when the store changes too.
IoStatus replace_both(const std::string& destination, AtomicReplace& register_file,
                      AtomicReplace* store_file) {
    const std::string store = store_path_of(destination);
    std::string store_target;
    if (!link_target(store, store_target)) store_target = store;
    const bool store_goes = store_file == nullptr && file_size(store_target) >= 0;
    if (store_file == nullptr && !store_goes) return register_file.commit();
    Intent intent;
    intent.number = new_change_number();
    const std::string* files[] = {&register_file.target_path(), &store_target};
    for (int which = 0; which < 2; ++which) {
        const std::string& file = *files[which];
        std::string kept;
        if (file_size(file) >= 0) {
            kept = kept_path_of(destination, which);
            if (const IoStatus made = keep_file(file, kept); !made) {
                (void)finish_intent(destination, intent);
                return made;
            }
        }
        intent.kept.push_back({file, kept});
    }
    if (const IoStatus written = write_intent(destination, intent); !written) {
        (void)finish_intent(destination, intent);
        return written;
    }
    IoStatus replaced = register_file.commit();
    if (replaced)
        replaced = store_file != nullptr ? store_file->commit() : delete_file(store_target, kDeleteReadOnly);
    if (replaced) replaced = finish_intent(destination, intent);
    if (!replaced) (void)roll_back(destination, intent);
    return replaced;
}

}  // namespace

SessionResult RegisterSession::copy_to(const std::string& destination, bool as_listed,
                                       IoStatus& store_problem) const {
    const std::string& source = state_.path;
    store_problem = {};
    // The copy is of a whole file: no write of another program is half in it.
    const RegisterLock lock(source);
    if (!lock.held()) return SessionResult::of(lock.status(), source);
    if (as_listed && file_stamp(source) != state_.stamp)
        return SessionResult::of(IoStatus::failure(ESTALE), source);
    if (const IoStatus settled = settle_register(destination); !settled)
        return SessionResult::of(settled, destination);
    std::optional<RegisterLock> destination_lock;
    if (file_size(destination) >= 0) {
        destination_lock.emplace(destination);
        if (!destination_lock->held()) return SessionResult::of(destination_lock->status(), destination);
    }
    AtomicReplace register_copy(destination);
    if (const IoStatus copied = copy_into(source, register_copy); !copied)
        return SessionResult::of(copied, destination);
    // The copy goes on with the store's links and marks; a store that cannot be copied is said, and
    // the copy has none (one that was there belonged to the file the copy replaces).
    std::unique_ptr<AtomicReplace> store_copy;
    const std::string source_store = store_path_of(source);
    if (names_anything(source_store)) {
        store_copy = std::make_unique<AtomicReplace>(store_path_of(destination));
        store_problem = copy_store_into(source_store, *store_copy);
        if (!store_problem) store_copy.reset();
    }
    if (const IoStatus replaced = replace_both(destination, register_copy, store_copy.get()); !replaced)
        return SessionResult::of(replaced, destination);
    return {};
}

SessionResult RegisterSession::back_up(const std::string& destination) const {
    IoStatus store_problem;
    if (const SessionResult copied = copy_to(destination, false, store_problem); !copied.done())
        return copied;
    return SessionResult::of_store(store_problem, store_path_of(destination));
}

SessionResult RegisterSession::save_as(const std::string& destination) {
    // The source must be as listed: the list goes on as the copy's, slot for slot. Saved under its
    // own name, there is nothing to copy, but the list must still be the file's.
    IoStatus store_problem;
    if (destination == state_.path) {
        const RegisterLock lock(state_.path);
        if (!lock.held()) return SessionResult::of(lock.status(), state_.path);
        if (file_stamp(state_.path) != state_.stamp)
            return SessionResult::of(IoStatus::failure(ESTALE), state_.path);
    } else if (const SessionResult copied = copy_to(destination, true, store_problem); !copied.done()) {
        return copied;
    }
    state_.path = destination;
    state_.list.rename(destination);
    state_.stamp = file_stamp(destination);
    // The changes made to the old file cannot be undone in this one.
    history_.start(destination, HistoryEnd::kOpened);
    if (!store_problem) {
        state_.store_state = StoreState::kUnusable;
        state_.store_problem = store_problem;
    }
    return {};
}

SessionResult RegisterSession::create(const std::string& path, const TransactionRecord& opening) {
    if (const IoStatus settled = settle_register(path); !settled) return SessionResult::of(settled, path);
    // A register that is there already is replaced under its lock, like every write.
    std::optional<RegisterLock> lock;
    if (file_size(path) >= 0) {
        lock.emplace(path);
        if (!lock->held()) return SessionResult::of(lock->status(), path);
    }
    TransactionRecord record = opening;
    record.record_number = 0;
    const RecordBytes bytes = encode_record(record);
    AtomicReplace replacement(path);
    IoStatus made = replacement.write(bytes.data(), bytes.size());
    // A store beside a file the new register replaces belonged to that file.
    if (made) made = replace_both(path, replacement, nullptr);
    if (!made) return SessionResult::of(made, path);
    history_.start(path, HistoryEnd::kCreated);
    return {};
}

}  // namespace quillet
