// The SQLite pieces the companion store is written with: a failure's cause as the program words
// causes, a prepared statement that finalizes itself, and a write transaction rolled back unless
// committed. Only the store's own files include this.
#pragma once

#include <sqlite3.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/runtime/io_status.h"

namespace quillet::store_detail {

// The cause of an SQLite failure as the program words causes.
inline IoStatus cause_of(int code, sqlite3* db) {
    switch (code & 0xFF) {
        case SQLITE_OK:
        case SQLITE_DONE:
        case SQLITE_ROW: return {};
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
        case SQLITE_FORMAT:
        case SQLITE_SCHEMA: return IoStatus::failure(EBADMSG);
        case SQLITE_BUSY:
        case SQLITE_LOCKED: return IoStatus::failure(EWOULDBLOCK);
        case SQLITE_FULL: return IoStatus::failure(ENOSPC);
        case SQLITE_NOMEM: return IoStatus::failure(ENOMEM);
        case SQLITE_READONLY:
        case SQLITE_PERM: return IoStatus::failure(EACCES);
        default: {
            const int system = db != nullptr ? sqlite3_system_errno(db) : 0;
            return IoStatus::failure(system != 0 ? system : EIO);
        }
    }
}

// A prepared statement, finalized when it goes.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        code_ = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    IoStatus status() const { return cause_of(code_, db_); }
    bool ok() const { return code_ == SQLITE_OK; }
    int code() const { return code_; }
    // A value that cannot be bound fails the statement's next step.
    void bind(int at, std::int64_t value) { note(sqlite3_bind_int64(statement_, at, value)); }
    void bind(int at, std::string_view text) {
        note(sqlite3_bind_text(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
    }
    // Bytes kept as they are (a register's texts in its code page): a blob, never read as UTF-8.
    void bind_bytes(int at, std::string_view bytes) {
        note(sqlite3_bind_blob(statement_, at, bytes.data(), static_cast<int>(bytes.size()),
                               SQLITE_TRANSIENT));
    }
    void bind(int at, const std::optional<std::int64_t>& value) {
        if (value) {
            bind(at, *value);
        } else {
            note(sqlite3_bind_null(statement_, at));
        }
    }
    // True for a row; false at the end or on failure (status() then tells).
    bool step() {
        if (code_ != SQLITE_OK && code_ != SQLITE_ROW && code_ != SQLITE_DONE) return false;
        code_ = sqlite3_step(statement_);
        return code_ == SQLITE_ROW;
    }
    // Runs a statement that gives no rows, ready to run again with other values.
    IoStatus run() {
        step();
        const IoStatus result = code_ == SQLITE_DONE ? IoStatus() : status();
        sqlite3_reset(statement_);
        if (result) code_ = SQLITE_OK;
        return result;
    }
    void reset() {
        sqlite3_reset(statement_);
        code_ = SQLITE_OK;
    }
    // Success at the end of the rows.
    IoStatus finished() const { return code_ == SQLITE_DONE || code_ == SQLITE_OK ? IoStatus() : status(); }
    std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
    bool is_null(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    std::string bytes(int column) const {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, column));
        return bytes == nullptr
                   ? std::string()
                   : std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
    }
    std::string text(int column) const {
        const auto* bytes = sqlite3_column_text(statement_, column);
        return bytes == nullptr
                   ? std::string()
                   : std::string(reinterpret_cast<const char*>(bytes),
                                 static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
    }

  private:
    void note(int code) {
        if (code != SQLITE_OK && code_ == SQLITE_OK) code_ = code;
    }
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
    int code_ = SQLITE_OK;
};

// A write transaction, rolled back unless committed. Inside another one it is a savepoint of it,
// so that several writes of the store make one transaction that commits or fails as a whole.
class Transaction {
  public:
    explicit Transaction(sqlite3* db) : db_(db), nested_(sqlite3_get_autocommit(db) == 0) {
        code_ = sqlite3_exec(db, nested_ ? "SAVEPOINT part" : "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    }
    ~Transaction() {
        if (code_ != SQLITE_OK || committed_) return;
        sqlite3_exec(db_, nested_ ? "ROLLBACK TO part; RELEASE part" : "ROLLBACK", nullptr, nullptr, nullptr);
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    IoStatus status() const { return cause_of(code_, db_); }
    IoStatus commit() {
        const int code = sqlite3_exec(db_, nested_ ? "RELEASE part" : "COMMIT", nullptr, nullptr, nullptr);
        committed_ = code == SQLITE_OK;
        return cause_of(code, db_);
    }

  private:
    sqlite3* db_;
    bool nested_;
    int code_ = SQLITE_OK;
    bool committed_ = false;
};

// Fingerprints are unsigned; SQLite keeps signed 64-bit integers, bit for bit.
inline std::int64_t stored(std::uint64_t fingerprint) { return static_cast<std::int64_t>(fingerprint); }
inline std::uint64_t fingerprint_of(std::int64_t value) { return static_cast<std::uint64_t>(value); }

}  // namespace quillet::store_detail
