// The register list as the desktop shows it: a row for each live record of the register, in the
// list's order (the file's, or newest first), with each row's slot, its figures and running
// balance, and the index of the rows' payees. A row's nine texts are made from its record in the
// file when they are asked for (the list keeps none of them), so a million rows fill quickly.
//
// The list reads nothing on its own but the records it is asked to show: the register session
// fills it when it reads the register and tells it what each change did to the rows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/list/balance_book.h"
#include "core/list/payee_index.h"
#include "core/list/row_change.h"
#include "core/list/row_text.h"
#include "core/register/format.h"
#include "core/register/register_file.h"

namespace quillet {

class RegisterList {
  public:
    // Empties the list for the register at path, in the order, with room for the rows.
    void start(const std::string& path, int order, std::size_t rows);
    void clear();
    // The next row of a fill, in list order (here, so that a million of them are no calls).
    void add_read(std::int64_t slot, const std::uint8_t* record) {
        slots_.push_back(static_cast<std::int32_t>(slot));
        book_.insert(-1, record_figures(record, fill_months_));
    }
    // The fill is done: the figures are worked out.
    void finish_fill();
    // The room start reserved for the fill's rows (to be made ready while the file is read).
    std::vector<MemoryRange> reserved_memory() const {
        return {reserved_range(slots_), book_.reserved_memory()};
    }
    // The register goes on under another name (save-as): the rows are the same.
    void rename(const std::string& path) { path_ = path; }

    const std::string& path() const { return path_; }
    int order() const { return order_; }
    std::int64_t row_count() const { return static_cast<std::int64_t>(slots_.size()); }
    std::int64_t slot_of(std::int64_t row) const;
    // Every row's slot, in list order (for a pass over every row without a call a row).
    const std::vector<std::int32_t>& slots() const { return slots_; }
    // The row of the slot's record, or -1; the hint is tried first.
    std::int64_t row_of_slot(std::int64_t slot, std::int64_t hint = -1) const;
    const BalanceBook& balances() const { return book_; }
    // The slot of the latest transaction to the payee (blanks around it and case aside). The payee
    // index is made from the file the first time it is needed (or asked for): a fill makes none,
    // so that the list is painted first.
    std::optional<std::int64_t> latest_slot_of_payee(std::string_view payee) const;
    // With beside, every record of the file is given to it in the same reading (a second job that
    // reads the whole file, such as the session's fingerprints), whether the index is made or not.
    void make_payee_index(const RecordVisitor& beside = {}) const;
    bool has_payee_index() const { return payees_made_; }
    // The row's nine texts as the list shows them (row_text.h), from its record in the file. False
    // when the record cannot be read, is deleted or no longer has the fingerprint it was listed
    // with (another program changed it; without one, none is compared); the texts are then those of
    // what the file holds, if anything.
    bool row_text(std::int64_t row, std::optional<std::uint64_t> fingerprint, std::string& out) const;

    // Where a new transaction's row goes: at the top or at the end.
    std::int64_t row_for_new(bool at_top) const { return at_top ? 0 : row_count(); }
    // Where the row of a record at the slot goes: before the first row that comes after it in the
    // list's order.
    std::int64_t row_for_slot(std::int64_t slot) const;
    void insert(std::int64_t row, std::int64_t slot, const std::uint8_t* record);
    void replace(std::int64_t row, const std::uint8_t* before, const std::uint8_t* after);
    void remove(std::int64_t row, const std::uint8_t* record);
    // Rows for records appended from slot first on (whole records one after another), where the
    // list's order puts them; and the same rows taken away again.
    void insert_appended(std::int64_t first, std::string_view records);
    void remove_appended(std::int64_t first, std::string_view records);

    // Works the balances and this month's figures out again (the month comes from today).
    void recompute();
    std::size_t memory_bytes() const;

  private:
    std::string path_;
    int order_ = kListFileOrder;
    std::vector<std::int32_t> slots_;  // in list order, a row each
    BalanceBook book_;
    mutable PayeeIndex payees_;
    mutable bool payees_made_ = false;  // until then, changes leave the index to be made
    MonthsOfDates fill_months_;         // a fill's dates' months
};

// The payee a record is known by in the list and its index: its payee as the list shows it.
std::string shown_payee(const std::uint8_t* record);

}  // namespace quillet
