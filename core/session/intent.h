// The intent of a change: what a change of more than one step is about to write over, written and
// synced beside the register (its file name with ".qintent") before the change touches the
// register or its store, and removed once both are written. A kill at any moment then leaves
// nothing half done: the next opening of the register, and every change, settles an intent it
// finds first, under the register's lock.
//
// The change's number is the only tie between the files. The store's part of a change is written
// in one SQLite transaction that records the number (CompanionStore::write_change), after the
// register's part is written and synced. So an intent whose number the store holds names a change
// that was made: only what it kept aside goes. Any other intent names a change that was not made:
// the register gets back every byte the change wrote over, its old length (an interrupted append
// is cut, and only then), and every file the change replaced. SQLite takes back its own half
// transaction when the store is next opened.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/runtime/io_status.h"

namespace quillet {

struct Intent {
    std::uint64_t number = 0;
    bool has_store_part = false;   // made once the store holds the number; else never made
    std::int64_t old_length = -1;  // the register's length before the change; -1: leave it
    struct Piece {
        std::int64_t offset = 0;
        std::string bytes;  // what the register held there before the change
    };
    std::vector<Piece> pieces;
    // A file the change replaces whole, kept under another name until the change is made; no
    // kept name: the file was not there, and goes when the change is taken back.
    struct Kept {
        std::string file;
        std::string kept;
    };
    std::vector<Kept> kept;
};

// Where the intent of a change to the register at the path is written: beside the file the path
// names.
std::string intent_path_of(const std::string& register_path);
// Where a file an intent keeps aside goes: beside the intent, one name for each of its files.
std::string kept_path_of(const std::string& register_path, int which);
// A number no other change has.
std::uint64_t new_change_number();

// Writes the intent in one step and syncs it.
IoStatus write_intent(const std::string& register_path, const Intent& intent);
// ENOENT when there is none; EBADMSG when it is not an intent of this program.
IoStatus read_intent(const std::string& register_path, Intent& intent);
// Keeps the file (a second name for it where the file system allows, else a copy) under kept.
IoStatus keep_file(const std::string& file, const std::string& kept);

// The change was made: what it kept aside goes, then the intent.
IoStatus finish_intent(const std::string& register_path, const Intent& intent);
// The change was not made: kept files go back over their files (or the files the change made go),
// the pieces are written back, the register gets its old length; then the intent goes. The caller
// holds the register's lock.
IoStatus roll_back(const std::string& register_path, const Intent& intent);

// Settles what a killed change left: none (nothing to do, one look at the folder), made, or not
// made, as above. Takes the register's lock while it does.
IoStatus settle_register(const std::string& register_path);

}  // namespace quillet
