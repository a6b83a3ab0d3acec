// What the reconcile window works on: the transactions not yet reconciled up to the statement's
// day, each ticked or not, and the figures they make, in exact cents. Ticking is O(1), so the
// figures follow every tick at any size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/list/running_balance.h"
#include "core/runtime/dates.h"
#include "core/runtime/io_status.h"
#include "core/session/register_session.h"

namespace quillet {

struct SheetItem {
    std::int64_t slot = 0;
    DateValue date = kNoDate;
    std::int64_t cents = 0;  // a deposit positive, a withdrawal negative
    std::uint64_t fingerprint = 0;
};

class ReconcileSheet {
  public:
    DateValue statement_date = kNoDate;
    std::int64_t opening_cents = 0;
    std::int64_t ending_cents = 0;
    // Transactions before the first day of a statement whose opening balance stands for them: not
    // listed, and reconciled with the statement when it is finished.
    std::vector<std::int64_t> carried;

    const std::vector<SheetItem>& items() const { return items_; }
    std::size_t size() const { return items_.size(); }
    bool ticked(std::size_t item) const { return ticks_[item] != 0; }
    void tick(std::size_t item, bool ticked);
    void tick_all(bool ticked);
    std::size_t ticked_count() const { return ticked_count_; }
    std::size_t ticked_deposits() const { return ticked_deposits_; }
    // The sums of the ticked items, kept exact as ticks come and go (running_balance.h).
    Figure ticked_deposit_cents() const { return figure_of(ticked_deposit_cents_); }
    Figure ticked_withdrawal_cents() const { return figure_of(ticked_deposit_cents_ - ticked_cents_); }
    Figure ticked_cents() const { return figure_of(ticked_cents_); }
    Figure cleared_balance() const { return figure_of(WideCents{opening_cents} + ticked_cents_); }
    // What the statement's ending balance is beyond the cleared balance; Finish needs 0.
    Figure difference() const { return figure_of(WideCents{ending_cents} - opening_cents - ticked_cents_); }
    bool balanced() const { return difference() == Figure{}; }
    // The ticks as a list of whether each item is ticked.
    std::vector<bool> ticks() const { return {ticks_.begin(), ticks_.end()}; }
    // Ticks the items with these fingerprints, as many of each as were ticked (the window's ticks
    // kept through a reload).
    void tick_fingerprints(std::vector<std::uint64_t> ticked);
    std::vector<std::uint64_t> ticked_fingerprints() const;
    // What Finish reconciles: the items as ticked, and the carried transactions.
    std::vector<std::int64_t> finish_slots() const;
    std::vector<bool> finish_ticks() const;

    void add(const SheetItem& item, bool ticked);

  private:
    std::vector<SheetItem> items_;
    std::vector<std::uint8_t> ticks_;
    std::size_t ticked_count_ = 0;
    WideCents ticked_cents_ = 0;
    std::size_t ticked_deposits_ = 0;
    WideCents ticked_deposit_cents_ = 0;
};

// Why a statement cannot be reconciled as entered.
enum class StatementProblem {
    kNone,
    kBeforeLastStatement,  // its day is before the last finished statement's
    kNoDay,                // no statement day
};
StatementProblem statement_problem(RegisterSession& session, DateValue date);

// Where the statement's opening balance comes from: the last finished statement's ending balance;
// before the first, the last imported statement's own opening balance, or else the register's
// balance before that statement's first day; with neither, nothing (0).
struct OpeningBalance {
    enum class Source { kNone, kLastStatement, kStatementSays, kBalanceBefore };
    Source source = Source::kNone;
    std::int64_t cents = 0;          // kBalanceBefore's is worked out by build_sheet
    std::string file_name;           // the imported statement's
    DateValue first_date = kNoDate;  // its first day: the sheet lists from there
};
OpeningBalance opening_balance(RegisterSession& session, const std::vector<StoredImport>& imports);
// The statement the last import brought, to propose: its closing balance and day.
struct ProposedStatement {
    DateValue date = kNoDate;
    std::optional<std::int64_t> ending_cents;
};
ProposedStatement proposed_statement(const std::vector<StoredImport>& imports);

// The register's live transactions that are not void and not reconciled, dated up to the
// statement's day (from the opening's first day, when it has one), in file order, the cleared ones
// ticked. Fails with ESTALE when the file is no longer as the session listed it (another program
// changed it: read it again).
IoStatus build_sheet(RegisterSession& session, DateValue statement_date, std::int64_t ending_cents,
                     const OpeningBalance& opening, ReconcileSheet& sheet);

}  // namespace quillet
