#include "cli/write_commands.h"

#include <iostream>
#include <optional>

#include "cli/category_commands.h"
#include "cli/cli_text.h"
#include "cli/exit_codes.h"
#include "cli/register_access.h"
#include "core/import/conventions.h"
#include "core/register/record.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"
#include "core/session/add_transaction.h"
#include "core/session/change_categories.h"
#include "core/session/compaction.h"
#include "core/session/delete_register.h"
#include "core/session/rewrite_record.h"

namespace quillet::cli {

using namespace record_format;

namespace {

// A text for a record field: in the register's letters, at most the field's width.
std::optional<std::string> field_text(const std::string& utf8, const char* name, std::string& refusal) {
    const std::string text = utf8_to_windows1252(utf8);
    if (text.size() > kTextWidth) {
        refusal = std::string("--") + name + " is longer than " + std::to_string(kTextWidth) + " characters";
        return std::nullopt;
    }
    return text;
}

// The session's row for N, or the exit code when there is none.
std::optional<int> row_refused(const RegisterSession& session, std::int64_t row) {
    if (row >= 1 && row <= session.row_count()) return std::nullopt;
    return say_refused("--row " + std::to_string(row) + " is not a row of " + session.path() + " (it has " +
                           std::to_string(session.row_count()) + ")",
                       kRefused);
}

std::optional<int> reconciled_refused(RegisterSession& session, std::int64_t row, bool yes) {
    if (yes || session.row_state(row) != ClearState::kReconciled) return std::nullopt;
    return say_refused("row " + std::to_string(row + 1) +
                           " was reconciled with a bank statement; give --yes to change it all the same",
                       kRefused);
}

int done_or_failed(const SessionResult& result) { return result.done() ? kDone : say_session_failed(result); }

// A transaction in one line, as the list shows it: "2026/12/01 Check 101 Grocer -12.50".
std::string described(const TransactionRecord& record) {
    const std::int64_t cents = amount_cents(record.amount).value_or(0);
    std::string line = display_day(record.date);
    for (const std::string* text : {&record.type, &record.number, &record.payee}) {
        if (!text->empty()) line += ' ' + windows1252_to_utf8(*text);
    }
    return line + ' ' + cents_text(record.kind == kWithdrawal ? -cents : cents);
}

}  // namespace

int run_add(const AddOptions& options) {
    std::string refusal;
    const std::optional<DateValue> date = parse_day(options.date);
    const std::optional<std::int64_t> cents = parse_cents(options.amount);
    if (!date) refusal = day_refusal("--date", options.date);
    if (refusal.empty() && (!cents || *cents <= 0 || !register_keeps(*cents)))
        refusal =
            "--amount is a positive amount with at most two decimals that the register keeps to the cent";
    if (refusal.empty() && options.deposit == options.withdrawal)
        refusal = "give one of --deposit and --withdrawal";
    TransactionRecord record;
    const std::pair<const std::string*, std::string*> fields[] = {
        {&options.type, &record.type},
        {&options.number, &record.number},
        {&options.payee, &record.payee},
        {&options.description, &record.description}};
    const char* names[] = {"type", "number", "payee", "description"};
    for (std::size_t at = 0; at < 4 && refusal.empty(); ++at) {
        if (const std::optional<std::string> text = field_text(*fields[at].first, names[at], refusal))
            *fields[at].second = *text;
    }
    if (!refusal.empty()) return say_refused(refusal, kRefused);
    if (const std::optional<int> refused = register_refused(options.path, true)) return *refused;
    RegisterSession session;
    if (const std::optional<int> failed = open_register(session, options.path)) return *failed;
    record.date = *date;
    record.amount = register_amount(*cents);
    record.kind = options.deposit ? kDeposit : kWithdrawal;
    record.void_flag = options.is_void ? kVoid : kNotVoid;
    std::shared_ptr<Change> adding = std::make_shared<AddTransaction>(record, false);
    if (!options.category.empty() || !options.splits.empty()) {
        const CategoryBook& book = session.categories();
        if (session.store_state() == StoreState::kUnusable)
            return say_failed(session.store_path(), session.store_problem());
        CategoryLists lists = book.lists();
        const std::optional<CategoryLines> lines =
            lines_from_options(options.category, options.splits, *cents, lists, refusal);
        if (!lines) return say_refused(refusal, kRefused);
        adding = std::make_shared<WithCategories>(adding, std::vector<CategoryLines>{},
                                                  std::vector<CategoryLines>{*lines}, book.lists(), lists);
    }
    RowChange change;
    const SessionResult added = session.apply(adding, change);
    if (!added.done()) return say_session_failed(added);
    std::cout << "Added row " << session.row_count() << '\n';
    return kDone;
}

int run_void(const std::string& path, std::int64_t row, bool yes) {
    if (const std::optional<int> refused = register_refused(path, true)) return *refused;
    RegisterSession session;
    if (const std::optional<int> failed = open_register(session, path)) return *failed;
    if (const std::optional<int> refused = row_refused(session, row)) return *refused;
    if (const std::optional<int> refused = reconciled_refused(session, row - 1, yes)) return *refused;
    const std::int64_t slot = session.slot_of(row - 1);
    RecordBytes opened{};
    if (const IoStatus read = session.read(slot, opened); !read) return say_failed(path, read);
    TransactionRecord record = decode_record(opened.data());
    if (record.void_flag == kVoid)
        return say_refused("row " + std::to_string(row) + " is void already", kRefused);
    record.void_flag = kVoid;
    RowChange change;
    const int code = done_or_failed(session.apply(edit_transaction(slot, opened, record), change));
    if (code == kDone) std::cout << "Voided row " << row << ": " << described(record) << '\n';
    return code;
}

int run_delete(const std::string& path, std::int64_t row, bool yes) {
    if (const std::optional<int> refused = register_refused(path, true)) return *refused;
    RegisterSession session;
    if (const std::optional<int> failed = open_register(session, path)) return *failed;
    if (const std::optional<int> refused = row_refused(session, row)) return *refused;
    if (session.row_count() == 1 && !yes) {
        return say_refused("row " + std::to_string(row) +
                               " is the register's last transaction: deleting it deletes the register file. "
                               "Give --yes to go on",
                           kRefused);
    }
    if (const std::optional<int> refused = reconciled_refused(session, row - 1, yes)) return *refused;
    RecordBytes deleted{};
    if (const IoStatus read = session.read(session.slot_of(row - 1), deleted); !read)
        return say_failed(path, read);
    const bool last = session.row_count() == 1;
    RowChange change;
    const int code = done_or_failed(
        session.apply(delete_row(session.list(), row - 1, session.fingerprint_of(row - 1)), change));
    if (code == kDone) {
        std::cout << "Deleted row " << row << ": " << described(decode_record(deleted.data()))
                  << (last ? " (the register's last: its file is deleted)" : "") << '\n';
    }
    return code;
}

int run_compact(const std::string& path) {
    if (const std::optional<int> refused = register_refused(path, true)) return *refused;
    RegisterSession session;
    if (const std::optional<int> failed = open_register(session, path)) return *failed;
    const auto compaction = std::make_shared<Compaction>(true);
    RowChange change;
    const SessionResult compacted = session.apply(compaction, change);
    if (!compacted.done()) return say_session_failed(compacted);
    std::cout << "Kept " << compaction->counts().kept << " transactions, removed "
              << compaction->counts().removed << " deleted ones\n";
    return kDone;
}

}  // namespace quillet::cli
